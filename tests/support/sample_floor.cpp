#include "support/sample_floor.h"

#include "data/change_check.h"
#include "data/connections.h"
#include "data/modmain.h"

#include <clocale>

namespace testsupport {

void setFields(const char *table, const char *keyField, int key, FieldValues fields) {
    engine::Recordset rs;
    rs.Open(QLatin1String(table), modMain::cnInddata, engine::adOpenKeyset, engine::adLockPessimistic,
            engine::adCmdTable);
    while (keyField && rs.Fields(QLatin1String(keyField)).Value().toLong() != key)
        rs.MoveNext();
    for (const auto &[name, value] : fields)
        rs.Fields(QString::fromUtf8(name)) = value;
    rs.Update();
    rs.Close();
}

// clang-format off
void storeFullFloor() {
    setFields("inddata", nullptr, 0,
              {{"daekType", "Beton"}, {"kvalitettext", "C25"}, {"dæktykkelse", 120}, {"terræn", "Sand"},
               {"terrænballast", 40000}, {"mellemlag", "Singels"}, {"mellemlagkorr", 1.6}, {"mellemlaglambda", 2.0},
               {"mellemlagtykkelse", 200}});
    setFields("inddataisolering", "lagnr", 1,
              {{"IsoleringType", "EPS 150"}, {"IsoleringTykkelse", 100}, {"Eo", 6000}, {"En", 4000},
               {"LambdaVåd", 0.045}, {"LambdaTør", 0.036}});
    setFields("inddataisolering", "lagnr", 2,
              {{"IsoleringType", "EPS 250"}, {"IsoleringTykkelse", 150}, {"Eo", 9000}, {"En", 6500},
               {"LambdaVåd", 0.044}, {"LambdaTør", 0.035}});
    setFields("inddatalast", "lastid", 1, {{"Lasttype", "Hjultryk"}, {"Størrelse", 40.0}});
    setFields("inddatalast", "lastid", 2, {{"Lasttype", "Fladelast"}, {"Størrelse", 20.0}});
    setFields("inddatalast", "lastid", 3, {{"Lasttype", "Linielast"}, {"Størrelse", 10.0}});
    setFields("inddatalast", "lastid", 4, {{"Lasttype", "Lastpar"}, {"Størrelse", 30.0}});
}
// clang-format on

ProgramDatabases::ProgramDatabases() {
    modMain::cnInddata = folder_.open(QStringLiteral("inddata.mdb"));
    modMain::cnParam = folder_.open(QStringLiteral("param.mdb"));
    modMain::cnIsol = folder_.open(QStringLiteral("isol.mdb"));
}

ProgramDatabases::~ProgramDatabases() {
    modMain::cnInddata.Close();
    modMain::cnParam.Close();
    modMain::cnIsol.Close();
}

void startWithDefaultInput(bool fullFloor) {
    modMain::ClearInddata();
    modMain::InitInddata();
    if (fullFloor)
        storeFullFloor();
    ChangeCheck::SaveInddataValues();
}

QApplication &offscreenApplication() {
    static int argc = 1;
    static char name[] = "benchmark";
    static char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    return app;
}

} // namespace testsupport
