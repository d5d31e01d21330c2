#include "ui/modal_forms.h"

#include "data/widgets/fil.h"
#include "data/widgets/indstillinger.h"
#include "kit/command_button.h"
#include "ui/frm_main.h"

namespace ui {

std::unique_ptr<QDialog> MakeFil(QWidget *parent) {
    // The form stayed loaded for the whole run, so its file dialog remembers the file last chosen.
    static platform::CommonDialog commonDialog;
    auto *main = qobject_cast<frmMain *>(parent);
    return std::make_unique<Fil>(parent, commonDialog, main ? main->Command1[2] : nullptr);
}

std::unique_ptr<QDialog> MakeIndstillinger(QWidget *parent) { return std::make_unique<Indstillinger>(parent); }

} // namespace ui
