#include "results/print_prepare.h"

#include "data/connections.h"
#include "engine/engine.h"
#include "platform/message_box.h"

#include <QChar>

namespace PrintPrepare {

std::int32_t LogNr = 0;

namespace {

using engine::Recordset;
using engine::Variant;

Recordset openTable(const char *name, int cursorType, int lockType) {
    Recordset rs;
    rs.Open(QString::fromUtf8(name), modMain::cnInddata, cursorType, lockType, engine::adCmdTable);
    return rs;
}

// The layer fields of the current row of inddataisolering into the print fields ending in suffix.
void writeLayer(const Recordset &isolering, Recordset &udskrift, const QString &suffix) {
    auto field = [&](const char *name) { return udskrift.Fields(QString::fromUtf8(name) + suffix); };
    auto value = [&](const char *name) { return isolering.Fields(QString::fromUtf8(name)).Value(); };
    field("Lagnr") = value("lagnr");
    const Variant type = value("IsoleringType");
    // A type without any value is not the empty text: it goes over as it is, moduli and all.
    if (type.isString() && type.string().isEmpty()) {
        field("IsoleringType") = QStringLiteral("<ikke defineret>");
        field("Eo") = 0;
        field("En") = 0;
    } else {
        field("IsoleringType") = type;
        field("Eo") = value("Eo");
        field("En") = value("En");
    }
    for (const char *name : {"IsoleringTykkelse", "Zigmao", "Zigman", "LambdaTør", "LambdaVåd"})
        field(name) = value(name);
}

void writeReinforcement(Recordset &armering, Recordset &udskrift) {
    static constexpr int kDiameters[] = {6, 8, 10, 12, 16};
    struct Row {
        const char *side;  // in the filter
        const char *place; // in the field name
        int steelType;
    };
    static constexpr Row kRows[] = {
        {"true", "Over", 1}, {"true", "Over", 2}, {"false", "Under", 1}, {"false", "Under", 2}};
    for (const int d : kDiameters)
        for (const Row &row : kRows) {
            armering.setFilter(QStringLiteral("Overside = %1 and Staaltype = %2 and Diameter = %3")
                                   .arg(QLatin1String(row.side))
                                   .arg(row.steelType)
                                   .arg(d));
            const QString name = QString::number(d) + QLatin1String(row.place) + QString::number(row.steelType);
            udskrift.Fields(name + QStringLiteral("as")) = armering.Fields(QStringLiteral("As")).Value();
            udskrift.Fields(name + QStringLiteral("a")) = armering.Fields(QStringLiteral("a")).Value();
        }
}

void fill() {
    LogNr = 2;
    Recordset isolering = openTable("inddataisolering", engine::adOpenStatic, engine::adLockReadOnly);
    LogNr = 3;
    Recordset armering = openTable("ResultatArmering", engine::adOpenStatic, engine::adLockReadOnly);
    LogNr = 4;
    Recordset udskrift = openTable("Udskrift", engine::adOpenKeyset, engine::adLockPessimistic);
    try {
        LogNr = 5;
        udskrift.MoveFirst();
        LogNr = 7;
        isolering.MoveFirst();
        LogNr = 8;
        writeLayer(isolering, udskrift, QStringLiteral("1"));
        LogNr = 9;
        isolering.MoveNext();
        LogNr = 10;
        writeLayer(isolering, udskrift, QStringLiteral("2"));
        LogNr = 11;
        Recordset inddata = openTable("Inddata", engine::adOpenStatic, engine::adLockReadOnly);
        LogNr = 21;
        inddata.MoveFirst();
        const Variant daekType = inddata.Fields(QStringLiteral("daekType")).Value();
        if (daekType.isString() && daekType.string() == QLatin1String("Beton")) {
            LogNr = 22;
            writeReinforcement(armering, udskrift);
        }
        LogNr = 23;
        udskrift.Update();
    } catch (...) {
        // Nothing of a failed call may reach the row.
        udskrift.CancelUpdate();
        throw;
    }
}

} // namespace

void PrintFormat() {
    LogNr = 1;
    try {
        fill();
    } catch (const engine::RuntimeError &e) {
        const QChar cr(13);
        platform::MsgBox(QStringLiteral("Fejl opstået ved udskrift af beregning.") + cr +
                         QStringLiteral("Funktion: PrintFormat, Lognr.: ") + QString::number(LogNr) + cr +
                         QStringLiteral("Fejl: ") + QString::number(e.number()) + QStringLiteral(", ") +
                         e.description());
    }
}

} // namespace PrintPrepare
