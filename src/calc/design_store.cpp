// Writes the design results: completes the result row of the analysis, adds the twenty reinforcement rows of a
// concrete slab and the remark rows.

#include "calc/analysis_state.h"
#include "calc/design.h"
#include "data/connections.h"
#include "engine/engine.h"
#include "engine/transaction.h"

namespace Module2 {

using Module1::FunctionName;
using Module1::LogNr;

namespace {

engine::Recordset AabenTabel(const char *navn) {
    engine::Recordset rs;
    rs.Open(QString::fromUtf8(navn), modMain::cnInddata, engine::adOpenDynamic, engine::adLockPessimistic,
            engine::adCmdTable);
    return rs;
}

void TilfoejArmering(engine::Recordset &rs, int d, int s, bool overside, double areal, double afstand) {
    LogNr = overside ? 13 : 10;
    rs.AddNew();
    LogNr = overside ? 14 : 11;
    rs.Fields(QStringLiteral("Diameter")) = d;
    rs.Fields(QStringLiteral("StaalType")) = s;
    rs.Fields(QStringLiteral("Overside")) = overside;
    rs.Fields(QStringLiteral("As")) = areal;
    rs.Fields(QStringLiteral("a")) = afstand;
    LogNr = overside ? 15 : 12;
    rs.Update();
}

void SkrivIsolering(engine::Recordset &rs) {
    rs.Fields(QStringLiteral("IsoFaktisk")) = IsoFaktisk;
    rs.Fields(QStringLiteral("IsoTilladt")) = IsoTilladt;
    rs.Fields(QStringLiteral("IsoFaktisk2")) = IsoFaktisk2;
    rs.Fields(QStringLiteral("IsoTilladt2")) = IsoTilladt2;
}

void SkrivRaekker() {
    engine::Recordset rsResultat;
    if (Module1::ErBeton) {
        LogNr = 2;
        rsResultat = AabenTabel("ResultatBeton");
        LogNr = 3;
        engine::Recordset rsArmering = AabenTabel("ResultatArmering");
        LogNr = 5;
        rsResultat.MoveFirst();
        LogNr = 7;
        rsResultat.Fields(QStringLiteral("RetningsmKapUarm")) = Mkap;
        SkrivIsolering(rsResultat);
        LogNr = 8;
        rsResultat.Update();
        for (int s = 1; s <= kStaalTyper; ++s)
            for (int kIdx = 1; kIdx <= kDiametre; ++kIdx) {
                TilfoejArmering(rsArmering, kDiameter[kIdx], s, false, AsU[s][kIdx], aU[s][kIdx]);
                TilfoejArmering(rsArmering, kDiameter[kIdx], s, true, AsO[s][kIdx], aO[s][kIdx]);
            }
        LogNr = 16;
        rsArmering.Close();
    } else {
        LogNr = 20;
        rsResultat = AabenTabel("ResultatBrugdef");
        LogNr = 22;
        rsResultat.MoveFirst();
        LogNr = 24;
        SkrivIsolering(rsResultat);
        rsResultat.Fields(QStringLiteral("RetningsmSpaendTraekFak")) = SpaendTraek;
        rsResultat.Fields(QStringLiteral("RetningsmSpaendTrykFak")) = SpaendTryk;
        LogNr = 25;
        rsResultat.Update();
    }

    LogNr = 26;
    for (int i = 1; i <= 5; ++i) {
        rsResultat.Fields(QStringLiteral("Oplysning") + QString::number(i)) =
            i <= Module1::AntalOplysninger ? Module1::Oplysninger[i] : QString();
        rsResultat.Update();
    }
    LogNr = 27;
    rsResultat.Close();

    LogNr = 30;
    engine::Recordset rsOplysning = AabenTabel("ResultatOplysning");
    for (int i = 1; i <= Module1::AntalOplysninger && i <= Module1::kMaxOplysninger; ++i) {
        LogNr = 31;
        rsOplysning.AddNew();
        LogNr = 32;
        rsOplysning.Fields(QStringLiteral("Oplysning")) = Module1::Oplysninger[i];
        LogNr = 33;
        rsOplysning.Update();
    }
    LogNr = 34;
    rsOplysning.Close();
}

} // namespace

void StoreDB2() {
    FunctionName = QStringLiteral("StoreDB2");
    LogNr = 0;
    engine::AsOneWrite(modMain::cnInddata, SkrivRaekker);
}

} // namespace Module2
