// Committing the pending edits of the three pages.

#include "data/connections.h"
#include "kit/data_source.h"
#include "ui/frm_main.h"

#include <QLineEdit>

void frmMain::GemInddata() {
    LogNr = 155;
    engine::Field revnevidde = dataInddata->Fields(QStringLiteral("revnevidde"));
    revnevidde.setValue(ui::DataSource::ValueFromText(revnevidde, txtRevnevidde->text()));
    if (dataInddata->EditMode() == engine::adEditInProgress) {
        dataInddata->Move(0);
        FormaterDaek();
    }
    LogNr = 156;
    dataIsolering->Move(0);
    FormaterIsolering();
    LogNr = 157;
    if (dataLast->EditMode() == engine::adEditInProgress) {
        dataLast->Move(0);
        engine::Recordset rs;
        rs.Open(QStringLiteral("inddatalast"), modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly,
                engine::adCmdTable);
        rs.setFilter(QStringLiteral("LastID=") + txtLastNr->text());
        FormaterLast(rs);
        rs.Close();
    }
}
