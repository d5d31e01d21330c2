// The calculate command: the stored input, checked whole, through both analysis passes and the design, and
// the results window of the slab's kind.

#include "calc/analysis_state.h"
#include "calc/design.h"
#include "data/connections.h"
#include "engine/transaction.h"
#include "kit/data_source.h"
#include "kit/event_procedure.h"
#include "results/widgets/results_windows.h"
#include "ui/frm_main.h"

#include <QDialog>

bool frmMain::Beregning() {
    LogNr = 480;
    rsInddata = dataInddata;
    rsIsolering = dataIsolering;
    bool beregnet = false;
    // The commit of the pages and the result tables reach the disk as one write; whatever a failing step wrote
    // before its error stays written, as it would row by row.
    engine::AsOneWrite(modMain::cnInddata, [this, &beregnet] {
        LogNr = 481;
        // On a failure the check has shown the page, record and field, and the bound recordsets stay open for
        // the correction.
        if (!CheckInddata())
            return;
        LogNr = 482;
        if (Module1::Beregn1(true) != 0)
            return;
        LogNr = 483;
        if (Module1::Beregn1(false) != 0)
            return;
        LogNr = 484;
        if (Module2::Beregn2() != 0)
            return;
        beregnet = true;
    });
    return beregnet;
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
