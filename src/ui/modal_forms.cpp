#include "ui/modal_forms.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace ui {

namespace {

// A window that only closes again, until the dialog itself is part of the program.
std::unique_ptr<QDialog> Placeholder(QWidget *parent, const QString &name, const QString &caption) {
    auto dialog = std::make_unique<QDialog>(parent);
    dialog->setObjectName(name);
    dialog->setWindowTitle(caption);
    auto *layout = new QVBoxLayout(dialog.get());
    layout->addWidget(new QLabel(caption, dialog.get()));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog.get());
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog.get(), &QDialog::reject);
    layout->addWidget(buttons);
    return dialog;
}

} // namespace

std::unique_ptr<QDialog> MakeFil(QWidget *parent) {
    return Placeholder(parent, QStringLiteral("frmFil"), QStringLiteral("Fil"));
}

std::unique_ptr<QDialog> MakeIndstillinger(QWidget *parent) {
    return Placeholder(parent, QStringLiteral("frmIndstillinger"), QStringLiteral("Stamoplysninger"));
}

} // namespace ui
