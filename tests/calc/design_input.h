#pragma once
// A complete calculation input written into inddata.mdb, as the pages would leave it: a 150 mm concrete slab on
// one insulation layer, no intermediate layer, a sand terrain, and one point load in the middle.

#include "data/connections.h"
#include "data/modmain.h"
#include "engine/engine.h"

#include <initializer_list>
#include <utility>

namespace designinput {

using FieldList = std::initializer_list<std::pair<const char *, engine::Variant>>;

// Sets fields of the rows that the filter selects (all rows for an empty filter).
inline void setFields(const QString &table, const QString &filter, FieldList fields) {
    engine::Recordset rs;
    rs.Open(table, modMain::cnInddata, engine::adOpenKeyset, engine::adLockPessimistic, engine::adCmdTable);
    if (!filter.isEmpty())
        rs.setFilter(filter);
    for (; !rs.Eof(); rs.MoveNext()) {
        for (const auto &[name, value] : fields)
            rs.Fields(QString::fromUtf8(name)) = value;
        rs.Update();
    }
    rs.Close();
}

inline void setInddata(FieldList fields) { setFields(QStringLiteral("inddata"), QString(), fields); }
inline void setLayer(int lagnr, FieldList fields) {
    setFields(QStringLiteral("inddataisolering"), QStringLiteral("lagnr=%1").arg(lagnr), fields);
}
inline void setLoad(int lastid, FieldList fields) {
    setFields(QStringLiteral("inddatalast"), QStringLiteral("lastid=%1").arg(lastid), fields);
}

// The default input, then a concrete slab with its design values and foundation values as stored by a sketch run.
inline void writeConcreteInput() {
    modMain::ClearInddata();
    modMain::InitInddata();
    modMain::cnInddata.Execute(
        "UPDATE inddata SET daekType = 'Beton', sikkerhedsklassetext = 'Normal', kvalitettext = 'C25/30', "
        "TrykstyrkeRgm = 15.15, tau = 700.0, TraekstyrkeRgm = 1.09, TraekstyrkeKar = 1.8, Eo = 31000.0, En = 10300.0, "
        "Go = 12900.0, GN = 4300.0, dæktykkelse = 150.0, Miljøklasse = 'Passiv', dæklag = 20.0, Revnevidde = 0.3, "
        "mellemlag = 'Intet', mellemlagkorr = 1.0, terræn = 'Sand', terrænballast = 50000.0, isolballasto = 30000.0, "
        "isolballastn = 15000.0, resBallasto = 18750.0, resBallastn = 11538.461538461539, Uværdi = 0.15");
    modMain::cnInddata.Execute("UPDATE inddataisolering SET IsoleringType = 'EPS 150', IsoleringTykkelse = 200.0, "
                               "Zigmao = 60.0, Zigman = 45.0, LambdaTør = 0.035, LambdaVåd = 0.038, Eo = 6000.0, "
                               "En = 3000.0 WHERE lagnr = 1");
    modMain::cnInddata.Execute("UPDATE inddatalast SET Lasttype = 'Punktlast', LastForm = 'Kvadrat', bredde = 100.0, "
                               "længde = 100.0, Placering = 'Midt', Afstandfra = 3000.0, Størrelse = 40.0, "
                               "PartialK = 1.5 WHERE lastid = 1");
}

} // namespace designinput
