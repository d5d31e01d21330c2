// Moving between the three input pages and between the load and layer records; each move waits for the
// check of what is being left.

#include "kit/command_button.h"
#include "kit/controls.h"
#include "kit/data_source.h"
#include "kit/event_procedure.h"
#include "kit/focus.h"
#include "platform/numbers.h"
#include "ui/frm_main.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>

namespace {

const QString kForm = QStringLiteral("frmMain");

// A stored type, or the pick list's word for none when it is empty or Null.
QString TypeOrNone(const engine::Variant &v, const QString &none) {
    const QString text = v.isNull() ? QString() : platform::CStr(v);
    return text.isEmpty() ? none : text;
}

// One record back (Index 0) or on, from the first to the last and from the last to the first; statement
// numbers from first to first + 3.
void MoveCyclic(ui::DataSource &rs, int Index, std::int32_t &LogNr, std::int32_t first) {
    if (Index == 0) {
        LogNr = first;
        rs.MovePrevious();
        if (rs.Bof()) {
            LogNr = first + 1;
            rs.MoveLast();
        }
    } else {
        LogNr = first + 2;
        rs.MoveNext();
        if (rs.Eof()) {
            LogNr = first + 3;
            rs.MoveFirst();
        }
    }
}

// rsIsolering is set by the first activation; before it there is no layer record to move.
ui::DataSource &Bound(ui::DataSource *rs) {
    if (!rs)
        engine::raise(91, QStringLiteral("Object variable or With block variable not set"));
    return *rs;
}

} // namespace

void frmMain::WireWizard() {
    connect(btnBeregning, &QPushButton::clicked, this, [this] { btnBeregning_Click(); });
    connect(btnForrige, &QPushButton::clicked, this, [this] { btnForrige_Click(); });
    connect(btnNaeste, &QPushButton::clicked, this, [this] { btnNaeste_Click(); });
    for (int i = 0; i < 2; ++i) {
        connect(btnMoveLast[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] { btnMoveLast_Click(i); });
        connect(btnMoveIsolering[static_cast<size_t>(i)], &QPushButton::clicked, this,
                [this, i] { btnMoveIsolering_Click(i); });
    }
}

void frmMain::ShowPage(int page) {
    const std::initializer_list<QGroupBox *> pages[] = {{frmLast}, {frmDaek}, {frmIsolering, frmMellemlag, frmTerraen}};
    for (int p = 1; p <= 3; ++p)
        if (p != page)
            for (QGroupBox *frame : pages[p - 1])
                frame->hide();
    for (QGroupBox *frame : pages[page - 1])
        frame->show();
    btnForrige->setEnabled(page != 1);
    btnNaeste->setEnabled(page != 3);
    btnBeregning->setEnabled(true);
}

void frmMain::ShowLoadType() {
    ui::SetListText(cmbLastType,
                    TypeOrNone(dataLast->Fields(QStringLiteral("Lasttype")).Value(), QStringLiteral("<ingen last>")));
}

void frmMain::ShowLayerType() {
    ui::SetListText(cmbIsoleringType, TypeOrNone(Bound(rsIsolering).Fields(QStringLiteral("IsoleringType")).Value(),
                                                 QStringLiteral("<ingen isolering>")));
}

void frmMain::btnNaeste_Click() {
    ui::RunEventProcedure(LogNr, kForm, [this] {
        LogNr = 740;
        if (ui::Visible(frmDaek)) {
            LogNr = 741;
            if (!CheckDaek())
                return;
            LogNr = 742;
            if (dataInddata->EditMode() == engine::adEditInProgress)
                dataInddata->Move(0);
            LogNr = 743;
            ShowPage(3);
            ui::focus::MoveTo(btnForrige);
            LogNr = 744;
            OpdaterMellemlag();
            OpdaterTerraen();
            LogNr = 745;
            FormaterDaek();
            FormaterIsolering();
            ui::focus::MoveTo(cmbIsoleringType);
        } else {
            LogNr = 746;
            if (!CheckLast())
                return;
            LogNr = 747;
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            LogNr = 748;
            dataLast->Move(0);
            LogNr = 749;
            ShowPage(2);
            LogNr = 750;
            OpdaterDaekType();
            FormaterDaek();
            ui::focus::MoveTo(cmbDaekType);
        }
    });
}

void frmMain::btnForrige_Click() {
    ui::RunEventProcedure(LogNr, kForm, [this] {
        LogNr = 725;
        if (ui::Visible(frmDaek)) {
            LogNr = 726;
            if (!CheckDaek())
                return;
            LogNr = 727;
            dataInddata->Update();
            LogNr = 728;
            ShowPage(1);
            ui::focus::MoveTo(btnNaeste);
            LogNr = 729;
            // dataLast still stands at the load that the page showed when it was left.
            VisLast(*dataLast);
            FormaterLast(dataLast->Recordset());
            ui::focus::MoveTo(cmbLastType);
        } else {
            LogNr = 730;
            if (!CheckIsolering())
                return;
            LogNr = 731;
            if (!CheckMellemlagTerraen())
                return;
            LogNr = 732;
            dataIsolering->Update();
            dataInddata->Update();
            ShowPage(2);
            LogNr = 733;
            OpdaterDaekType();
            FormaterDaek();
            ui::focus::MoveTo(cmbDaekType);
        }
    });
}

void frmMain::btnMoveLast_Click(int Index) {
    ui::RunEventProcedure(LogNr, kForm, [this, Index] {
        LogNr = 810;
        if (!CheckLast())
            return;
        // The move writes the pending edit of the load that is left.
        MoveCyclic(*dataLast, Index, LogNr, 811);
        LogNr = 815;
        ShowLoadType();
        FormaterLast(dataLast->Recordset());
        LogNr = 816;
        VisLast(*dataLast);
    });
}

void frmMain::btnMoveIsolering_Click(int Index) {
    ui::RunEventProcedure(LogNr, kForm, [this, Index] {
        LogNr = 820;
        if (!CheckIsolering())
            return;
        MoveCyclic(Bound(rsIsolering), Index, LogNr, 821);
        LogNr = 825;
        ShowLayerType();
        FormaterIsolering();
    });
}
