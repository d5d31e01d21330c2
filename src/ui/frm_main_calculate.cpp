// The calculate command: the stored input, checked whole, through both analysis passes and the design, and
// the results window of the slab's kind.

#include "calc/analysis_state.h"
#include "calc/calculate.h"
#include "kit/data_source.h"
#include "kit/event_procedure.h"
#include "results/widgets/results_windows.h"
#include "ui/frm_main.h"

#include <QDialog>

bool frmMain::Beregning() {
    LogNr = 480;
    rsInddata = dataInddata;
    rsIsolering = dataIsolering;
    // On a failed check it has shown the page, record and field, and the bound recordsets stay open for the
    // correction. The commit of the pages goes into the calculation's one write.
    return calc::Calculate(LogNr, [this] { return CheckInddata() ? 0 : 1; }) == 0;
}

void frmMain::btnBeregning_Click() {
    ui::RunEventProcedure(LogNr, QStringLiteral("frmMain"), [this] {
        if (!Beregning())
            return;
        LogNr = 485;
        std::unique_ptr<QDialog> resultater =
            Module1::ErBeton ? results::MakeBeton(this) : results::MakeBrugerdefineret(this);
        LogNr = 486;
        // Closed before the window opens, not after: the activation that follows its closing binds fresh
        // recordsets to the pages, and those stay open.
        rsInddata->Recordset().Close();
        rsIsolering->Recordset().Close();
        LogNr = 487;
        ShowModal(*resultater);
        LogNr = 488;
    });
}
