// The "&Inddata" command: every input record back to the default values, the load page shown.

#include "data/change_check.h"
#include "data/connections.h"
#include "data/modmain.h"
#include "engine/transaction.h"
#include "kit/controls.h"
#include "kit/data_source.h"
#include "kit/focus.h"
#include "ui/frm_main.h"

#include <QComboBox>
#include <QGroupBox>
#include <QSet>

#include "kit/command_button.h"

namespace {

// The keys and the number of records stay as they are.
const QSet<QString> kKeys = {QStringLiteral("InddataID"), QStringLiteral("lastid"), QStringLiteral("lagnr")};

void SetDefaults(ui::DataSource &rs, const modMain::FieldValues &values) {
    for (const auto &[name, value] : values)
        if (!kKeys.contains(name))
            rs.Fields(name).setValue(value);
}

} // namespace

void frmMain::NewInput() {
    LogNr = 842;
    rsInddata = dataInddata;
    rsIsolering = dataIsolering;
    const auto reset = [this] {
        LogNr = 843;
        ui::DataSource &last = *dataLast;
        last.MoveFirst();
        while (!last.Eof()) {
            LogNr = 8301;
            SetDefaults(last, modMain::LastDefaults(0));
            last.Update();
            last.MoveNext();
        }
        last.MoveFirst();

        LogNr = 844;
        rsInddata->MoveFirst();
        SetDefaults(*rsInddata, modMain::InddataDefaults());
        LogNr = 845;
        rsInddata->Update();

        LogNr = 846;
        rsIsolering->MoveFirst();
        while (!rsIsolering->Eof()) {
            LogNr = 8302;
            SetDefaults(*rsIsolering, modMain::IsoleringDefaults(0, 0));
            rsIsolering->Update();
            rsIsolering->MoveNext();
        }
        LogNr = 847;
        rsIsolering->MoveFirst();

        LogNr = 848;
        engine::Recordset projekt;
        projekt.Open(QStringLiteral("projekt"), modMain::cnInddata, engine::adOpenDynamic, engine::adLockPessimistic,
                     engine::adCmdTable);
        LogNr = 849;
        if (projekt.Bof() && projekt.Eof()) {
            LogNr = 8303;
            projekt.AddNew();
        }
        LogNr = 850;
        for (const auto &[name, value] : modMain::ProjektDefaults())
            projekt.Fields(name).setValue(value);
        projekt.Update();
        projekt.Close();
    };
    try {
        engine::AsOneWrite(modMain::cnInddata, reset);
    } catch (const engine::RuntimeError &) {
        // The pages show what is stored, not the defaults they took on the way (a store that failed kept none of
        // them); the report names the step that failed.
        const std::int32_t failedAt = LogNr;
        Form_Activate();
        LogNr = failedAt;
        throw;
    }

    LogNr = 851;
    ChangeCheck::SaveInddataValues();
    LogNr = 852;
    ui::SetListText(cmbLastType, QStringLiteral("<ingen last>"));
    ui::SetListText(cmbIsoleringType, QStringLiteral("<ingen isolering>"));
    LogNr = 853;
    VisLast(*dataLast);
    LogNr = 854;
    FormaterLast(dataLast->Recordset());
    LogNr = 855;
    TegnSkitse(true);
    LogNr = 856;
    if (!ui::Visible(frmLast))
        ShowPage(1);
    LogNr = 857;
    ui::focus::MoveTo(cmbLastType);
}
