#include "ui/frm_main.h"

#include "data/change_check.h"
#include "data/connections.h"
#include "data/error_report.h"
#include "kit/command_button.h"
#include "kit/controls.h"
#include "kit/data_source.h"
#include "kit/event_procedure.h"
#include "kit/focus.h"
#include "platform/message_box.h"
#include "platform/numbers.h"
#include "ui/modal_forms.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>

namespace {

const QString kForm = QStringLiteral("frmMain");
const QString kIngenLast = QStringLiteral("<ingen last>");
const QString kIngenIsolering = QStringLiteral("<ingen isolering>");

// Opens one parameter table read-only in RkFlg order and adds each row's key to a pick list.
void FillFromTable(engine::Recordset &rs, const QString &sql, const engine::Connection &cn, QComboBox *list,
                   const QString &keyColumn) {
    rs.Open(sql, cn, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdUnspecified);
    while (!rs.Eof()) {
        list->addItem(platform::CStr(rs.Fields(keyColumn).Value()));
        rs.MoveNext();
    }
}

} // namespace

frmMain::frmMain(QWidget *parent) : QMainWindow(parent) {
    BuildLayout();
    BuildSketch();
    BindPages();
    WirePickLists();
    WireWizard();
    WireNumericFields();
    Form_Load();
}

frmMain::~frmMain() { *alive_ = false; }

void frmMain::ReportError(std::int32_t errNumber, const QString &description, std::int32_t logNr,
                          const QString &functionName) {
    data::ReportError(errNumber, description, logNr, functionName);
}

void frmMain::Form_Load() {
    ui::RunEventProcedure(LogNr, kForm, [this] {
        LogNr = 907;
        Opdaterer = 0;
        LogNr = 908;
        cmbLastType->clear();
        cmbLastType->addItems({kIngenLast, QStringLiteral("Hjultryk"), QStringLiteral("Punktlast"),
                               QStringLiteral("Fladelast"), QStringLiteral("Linielast"), QStringLiteral("Lastpar")});
        LogNr = 910;
        cmbLastForm->clear();
        cmbLastForm->addItems({QStringLiteral("Rektangel"), QStringLiteral("Kvadrat"), QStringLiteral("Cirkel"),
                               QStringLiteral("Linielast")});
        LogNr = 911;
        cmbLastPlacering->clear();
        cmbLastPlacering->addItems({QStringLiteral("Kant"), QStringLiteral("Fuge"), QStringLiteral("Midt")});

        LogNr = 912;
        cmbDaekType->clear();
        cmbDaekType->addItem(QStringLiteral("Beton"));
        LogNr = 913;
        FillFromTable(rsDaekType, QStringLiteral("SELECT * FROM txtDaekType ORDER BY RkFlg;"), modMain::cnParam,
                      cmbDaekType, QStringLiteral("daekType"));
        LogNr = 915;
        cmbDaekType->addItem(QStringLiteral("Brugerdefineret"));

        LogNr = 916;
        cmbDaekSikkerhedsklasse->clear();
        LogNr = 917;
        FillFromTable(rsSikkerhedsklasse, QStringLiteral("SELECT * FROM txtSikkerhedsKlasse ORDER BY RkFlg;"),
                      modMain::cnParam, cmbDaekSikkerhedsklasse, QStringLiteral("Klasse"));
        LogNr = 919;
        cmbDaekKvalitet->clear();
        LogNr = 920;
        FillFromTable(rsBetonKvalitet, QStringLiteral("SELECT * FROM txtBetonKvalitet ORDER BY RkFlg;"),
                      modMain::cnParam, cmbDaekKvalitet, QStringLiteral("kvalitet"));
        LogNr = 922;
        cmbMKlasse->clear();
        LogNr = 923;
        FillFromTable(rsDaekLag, QStringLiteral("SELECT * FROM txtDaekLag ORDER BY RkFlg;"), modMain::cnParam,
                      cmbMKlasse, QStringLiteral("Miljøklasse"));

        LogNr = 925;
        cmbIsoleringType->clear();
        cmbIsoleringType->addItem(kIngenIsolering);
        LogNr = 926;
        FillFromTable(rsIsoleringType, QStringLiteral("SELECT * FROM txtIsolering ORDER BY RkFlg;"), modMain::cnIsol,
                      cmbIsoleringType, QStringLiteral("Type"));
        LogNr = 929;
        cmbMellemlagType->clear();
        cmbMellemlagType->addItem(QStringLiteral("Intet"));
        LogNr = 930;
        FillFromTable(rsMellemlag, QStringLiteral("SELECT * FROM txtMellemlag ORDER BY RkFlg;"), modMain::cnParam,
                      cmbMellemlagType, QStringLiteral("Type"));
        LogNr = 933;
        cmbTerraenType->clear();
        LogNr = 934;
        FillFromTable(rsTerraen, QStringLiteral("SELECT * FROM txtTerræn ORDER BY RkFlg;"), modMain::cnParam,
                      cmbTerraenType, QStringLiteral("Type"));
        LogNr = 936;
        cmbTerraenType->addItem(QStringLiteral("Brugerdefineret"));

        LogNr = 937;
        lblVersion->setText(QStringLiteral("Version %1.%2%3")
                                .arg(FUNDATOR_VERSION_MAJOR)
                                .arg(FUNDATOR_VERSION_MINOR)
                                .arg(FUNDATOR_VERSION_PATCH));
        LogNr = 938;
    });
}

void frmMain::Form_Activate() {
    ui::RunEventProcedure(LogNr, kForm, [this] {
        LogNr = 870;
        engine::Recordset inddata = ui::OpenForBinding(QStringLiteral("inddata"), modMain::cnInddata);
        LogNr = 871;
        dataInddata->setRecordset(inddata);
        LogNr = 872;
        engine::Recordset isolering = ui::OpenForBinding(QStringLiteral("InddataIsolering"), modMain::cnInddata);
        LogNr = 873;
        dataIsolering->setRecordset(isolering);
        LogNr = 874;
        engine::Recordset last = ui::OpenForBinding(QStringLiteral("InddataLast"), modMain::cnInddata);
        LogNr = 875;
        last.MoveFirst();
        LogNr = 876;
        dataLast->setRecordset(last);

        LogNr = 877;
        rsInddata = dataInddata;
        rsIsolering = dataIsolering;
        LogNr = 879;
        dataLast->MoveFirst();
        LogNr = 880;
        ShowLoadType();
        LogNr = 881;
        rsInddata->MoveFirst();
        rsIsolering->MoveFirst();
        LogNr = 882;
        ShowLayerType();
        LogNr = 883;
        TegnSkitse(true);

        LogNr = 884;
        if (ui::Visible(frmLast))
            VisLast(*dataLast);
        LogNr = 885;
        if (ui::Visible(frmDaek))
            OpdaterDaekType();
        LogNr = 886;
        if (ui::Visible(frmIsolering))
            OpdaterIsolering();
        LogNr = 887;
        if (ui::Visible(frmMellemlag))
            OpdaterMellemlag();
        LogNr = 888;
        if (ui::Visible(frmTerraen))
            OpdaterTerraen();
    });
}

bool frmMain::Form_QueryUnload() {
    bool Cancel = false;
    ui::RunEventProcedure(LogNr, kForm, [this, &Cancel] {
        LogNr = 941;
        platform::Answer answer = platform::Answer::Yes;
        if (ChangeCheck::InddataChanged()) {
            LogNr = 942;
            answer = platform::MsgBox(QStringLiteral("Data er ikke gemt. Fortsæt ?"), platform::Buttons::YesNo);
        }
        if (answer == platform::Answer::No)
            Cancel = true;
    });
    return Cancel;
}

void frmMain::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    if (!activatedOnce_ && !event->spontaneous()) {
        activatedOnce_ = true;
        Form_Activate();
    }
}

void frmMain::closeEvent(QCloseEvent *event) {
    // An edit still in a box counts as a change, as it does for "&Afslut"; an edit that cannot be stored
    // keeps the window open, as it does there, rather than being dropped without the question.
    const bool committed = ui::RunEventProcedure(LogNr, kForm, [this] {
        LogNr = 941;
        CommitVisiblePage();
    });
    if (!committed || Form_QueryUnload()) {
        event->ignore();
        return;
    }
    event->accept();
    emit unloaded();
}

void frmMain::ShowModal(QDialog &dialog) {
    {
        ui::focus::ModalLoop loop;
        dialog.exec();
    }
    Form_Activate();
}

void frmMain::CommitVisiblePage() {
    // A commit shows the fields' bare values in the bound boxes; the page gets its display form back, as after its
    // own commits.
    const auto commit = [](ui::DataSource *data) {
        const bool pending = data->HasRecordset() && data->EditMode() == engine::adEditInProgress;
        if (pending)
            data->Move(0);
        return pending;
    };
    if (ui::Visible(frmLast) && commit(dataLast))
        FormaterLast(dataLast->Recordset());
    if (ui::Visible(frmIsolering) && commit(dataIsolering))
        FormaterIsolering();
    if ((ui::Visible(frmDaek) || ui::Visible(frmMellemlag) || ui::Visible(frmTerraen)) && commit(dataInddata))
        FormaterDaek();
}

void frmMain::LeaveStartPicture() {
    imgOpstart->hide();
    lblFrmBund->show();
    Skitse->show();
    ShowPage(1);
    ui::focus::MoveTo(cmbLastType);
    btnNaeste->show();
    btnForrige->show();
    btnBeregning->show();
}

void frmMain::Command1_Click(int Index) {
    ui::RunEventProcedure(LogNr, kForm, [this, Index] {
        LogNr = 828;
        if (ui::Visible(imgOpstart) && Index < 6) {
            LogNr = 829;
            LeaveStartPicture();
        }
        LogNr = 836;
        CommitVisiblePage();
        switch (Index) {
        case 0:
            LogNr = 840;
            if (ChangeCheck::InddataChanged()) {
                LogNr = 841;
                if (platform::MsgBox(QStringLiteral("Indtastede data er ikke gemt. Fortsæt ?"),
                                     platform::Buttons::YesNo) == platform::Answer::No)
                    return;
            }
            NewInput();
            break;
        case 2: {
            LogNr = 858;
            std::unique_ptr<QDialog> fil = ui::MakeFil(this);
            LogNr = 859;
            ShowModal(*fil);
            break;
        }
        case 4: {
            LogNr = 860;
            std::unique_ptr<QDialog> indstillinger = ui::MakeIndstillinger(this);
            LogNr = 861;
            ShowModal(*indstillinger);
            break;
        }
        case 5:
            LogNr = 862;
            CommonDialog1.HelpFile = QCoreApplication::applicationDirPath() + QStringLiteral("/FundatorHelp.HLP");
            LogNr = 863;
            CommonDialog1.HelpCommand = platform::cdl::HelpContents;
            LogNr = 864;
            CommonDialog1.ShowHelp();
            break;
        case 6:
            LogNr = 865;
            close();
            break;
        default:
            break;
        }
    });
}
