#include "data/widgets/fil.h"

#include "data/change_check.h"
#include "data/connections.h"
#include "data/error_report.h"
#include "data/modmain.h"
#include "data/save_load.h"
#include "kit/command_button.h"
#include "kit/focus.h"
#include "platform/message_box.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QVBoxLayout>

namespace {
const QString kForm = QStringLiteral("frmFil");
}

Fil::Fil(QWidget *parent, platform::CommonDialog &commonDialog, QWidget *returnFocus)
    : QDialog(parent), CommonDialog1(commonDialog), returnFocus_(returnFocus) {
    setObjectName(QStringLiteral("frmFil"));
    setWindowTitle(QStringLiteral("Fil"));
    setModal(true);

    auto *outer = new QVBoxLayout(this);
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    outer->addWidget(Frame1);
    auto *inner = new QVBoxLayout(Frame1);
    const char *captions[] = {"H&ent inddata indtastet i tidligere session.", "&Gem inddata til senere brug",
                              "Annulle&r"};
    for (int i = 0; i < 3; ++i) {
        auto *b = new ui::CommandButton(QString::fromUtf8(captions[i]), Frame1);
        b->setObjectName(QStringLiteral("Command1_%1").arg(i));
        b->setMinimumWidth(320);
        inner->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        Command1[static_cast<std::size_t>(i)] = b;
    }
}

Fil::~Fil() { Hourglass(false); }

void Fil::Hourglass(bool on) {
    if (on == hourglass_)
        return;
    hourglass_ = on;
    if (on)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void Fil::Close() {
    hide();
    ui::focus::MoveTo(returnFocus_);
}

void Fil::Load() {
    LogNr = 6;
    platform::Answer answer = platform::Answer::Yes;
    if (ChangeCheck::InddataChanged()) {
        LogNr = 7;
        answer = platform::MsgBox(QStringLiteral("Data er ikke gemt. Fortsæt ?"), platform::Buttons::YesNo);
    }
    LogNr = 8;
    if (answer != platform::Answer::Yes)
        return;
    LogNr = 9;
    CommonDialog1.DialogTitle = QStringLiteral("Hent inddata");
    CommonDialog1.ShowOpen();
    Hourglass(true);
    LogNr = 10;
    if (!SaveLoad::LoadInddata(modMain::cnInddata, CommonDialog1.FileName)) {
        LogNr = 11;
        platform::MsgBox(QStringLiteral("De valgte data kan ikke indlæses"));
        // Whatever the failed load left in the input tables gives way to the default input.
        LogNr = 12;
        modMain::ClearInddata();
        LogNr = 13;
        modMain::InitInddata();
    }
    Hourglass(false);
    LogNr = 14;
    ChangeCheck::SaveInddataValues();
    Close();
}

void Fil::Save() {
    LogNr = 20;
    CommonDialog1.DialogTitle = QStringLiteral("Gem inddata");
    CommonDialog1.ShowSave();
    LogNr = 21;
    const bool saved =
        SaveLoad::SaveInddata(modMain::cnInddata, CommonDialog1.FileName,
                              static_cast<std::int16_t>(SaveLoad::kInputTables.size()), SaveLoad::kInputTables);
    if (!saved)
        platform::MsgBox(QStringLiteral("Data kan ikke gemmes"));
    LogNr = 22;
    // Only input that reached a file counts as saved; after a failure, closing must still ask.
    if (saved)
        ChangeCheck::SaveInddataValues();
    Close();
}

void Fil::Command1_Click(int Index) {
    ui::focus::EventScope scope;
    try {
        LogNr = 1;
        CommonDialog1.CancelError = true;
        CommonDialog1.Flags =
            platform::cdl::OFNOverwritePrompt | platform::cdl::OFNHideReadOnly | platform::cdl::OFNLongNames;
        CommonDialog1.Filter = QStringLiteral("All Files (*.*)|*.*|Polystra files (*.epx)|*.epx");
        CommonDialog1.FilterIndex = 2;
        CommonDialog1.DefaultExt = QStringLiteral("epx");
        CommonDialog1.InitDir = QCoreApplication::applicationDirPath() + QStringLiteral("/data");
        LogNr = 5;
        switch (Index) {
        case 0:
            Load();
            break;
        case 1:
            Save();
            break;
        case 2:
            Close();
            break;
        default:
            break;
        }
    } catch (const engine::RuntimeError &e) {
        Hourglass(false);
        // A cancelled file dialog only ends the click.
        if (e.number() != platform::kCancelError)
            data::ReportError(e, LogNr, kForm);
    }
}
