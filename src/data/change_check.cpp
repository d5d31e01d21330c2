#include "data/change_check.h"

#include "data/connections.h"
#include "data/error_report.h"
#include "engine/engine.h"
#include "platform/numbers.h"

#include <QStringList>
#include <array>
#include <vector>

namespace ChangeCheck {

std::int32_t LogNr = 0;

namespace {

using engine::Variant;

struct TableSnapshot {
    QStringList fields;                       // in the table's field order
    std::vector<std::vector<Variant>> values; // [record][field]
    std::int16_t fieldCount = 0;
    std::int16_t recordCount = 0;
};

struct Table {
    const char16_t *name;
    TableSnapshot snapshot;
};

std::array<Table, 4> tables = {{{u"inddata", {}}, {u"inddatalast", {}}, {u"inddataisolering", {}}, {u"projekt", {}}}};

QString nameOf(const Table &t) { return QString::fromUtf16(t.name); }

// The runtime raises overflow when a count no longer fits its 16-bit variable.
std::int16_t count16(long n) {
    if (n < INT16_MIN || n > INT16_MAX)
        engine::raise(engine::err::Overflow);
    return static_cast<std::int16_t>(n);
}

// Statement numbers of one table's snapshot: open, count, names, size, values, close. The table's
// previous snapshot stays until the new one is complete. An empty table (a project file may hold a block
// without records) is a snapshot of no records, not an error: there is no last or first record to move to.
void snapshotTable(Table &t, const std::array<std::int32_t, 6> &nr) {
    TableSnapshot s;
    engine::Recordset rs;
    LogNr = nr[0];
    rs.Open(nameOf(t), modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
    LogNr = nr[1];
    const bool empty = rs.Bof() && rs.Eof();
    if (!empty) {
        rs.MoveLast();
        s.recordCount = count16(rs.RecordCount());
    }
    LogNr = nr[2];
    if (!empty)
        rs.MoveFirst();
    for (int i = 0; i < rs.FieldCount(); ++i) {
        s.fieldCount = count16(s.fieldCount + 1);
        s.fields.append(rs.Fields(i).Name());
    }
    LogNr = nr[3];
    s.values.assign(s.recordCount, std::vector<Variant>(s.fieldCount));
    LogNr = nr[4];
    for (auto &record : s.values) {
        for (int f = 0; f < s.fieldCount; ++f)
            record[f] = rs.Fields(s.fields[f]).Value();
        rs.MoveNext();
    }
    LogNr = nr[5];
    rs.Close();
    t.snapshot = std::move(s);
}

// Values differ when their texts differ (the runtime's text: a number to 15 digits); a Null has no text
// and equals only another Null.
bool differs(const Variant &now, const Variant &then) {
    if (now.isNull() || then.isNull())
        return now.isNull() != then.isNull();
    return platform::CStr(now) != platform::CStr(then);
}

// True at the first field of a snapshot record that reads differently. Statement numbers: open, first,
// compare, close.
bool tableChanged(const Table &t, std::int32_t firstNr) {
    const TableSnapshot &s = t.snapshot;
    engine::Recordset rs;
    LogNr = firstNr;
    rs.Open(nameOf(t), modMain::cnInddata, engine::adOpenDynamic, engine::adLockPessimistic, engine::adCmdTable);
    LogNr = firstNr + 1;
    if (s.recordCount > 0) // a table that held no records has nothing to compare, and may still be empty
        rs.MoveFirst();
    LogNr = firstNr + 2;
    for (const auto &record : s.values) {
        for (int f = 0; f < s.fieldCount; ++f) {
            if (differs(rs.Fields(s.fields[f]).Value(), record[f])) {
                LogNr = 18;
                rs.Close();
                return true;
            }
        }
        rs.MoveNext();
    }
    LogNr = firstNr + 3;
    rs.Close();
    return false;
}

} // namespace

void SaveInddataValues() {
    try {
        snapshotTable(tables[0], {2, 3, 4, 5, 6, 7});
        snapshotTable(tables[1], {8, 9, 10, 10, 11, 12});
        snapshotTable(tables[2], {13, 14, 15, 15, 16, 17});
        snapshotTable(tables[3], {18, 19, 20, 20, 21, 22});
    } catch (const engine::RuntimeError &e) {
        data::ReportError(e, LogNr, QStringLiteral("SaveInddataValues"));
    }
}

bool InddataChanged() {
    try {
        LogNr = 1;
        for (std::size_t i = 0; i < tables.size(); ++i) {
            if (tableChanged(tables[i], 2 + 4 * static_cast<std::int32_t>(i)))
                return true;
        }
        LogNr = 18;
        return false;
    } catch (const engine::RuntimeError &e) {
        data::ReportError(e, LogNr, QStringLiteral("InddataChanged"));
        return true;
    }
}

} // namespace ChangeCheck
