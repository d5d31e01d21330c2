#pragma once
// Reading and altering the input tables behind the program's back, for the data tests.

#include "data/connections.h"
#include "engine/engine.h"
#include "platform/message_box.h"
#include "support/databases.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace tablehelpers {

// Runs SQL straight on a database file, as another program would (schema changes included).
inline void sqlOnFile(const QString &file, const QString &sql) {
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    char *msg = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &msg);
    const std::string text = msg ? msg : "";
    sqlite3_free(msg);
    sqlite3_close_v2(db);
    ASSERT_EQ(rc, SQLITE_OK) << text;
}

// Runs SQL on the folder's inddata.mdb and reopens modMain::cnInddata, which then sees the new schema.
inline void alterInddata(const testsupport::DatabaseFolder &folder, const QString &sql) {
    modMain::cnInddata.Close();
    sqlOnFile(folder.file(QStringLiteral("inddata.mdb")), sql);
    modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
}

// One field of every record in table order.
inline std::vector<engine::Variant> column(const engine::Connection &cn, const QString &table, const QString &field) {
    engine::Recordset rs;
    rs.Open(table, cn, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
    std::vector<engine::Variant> values;
    for (; !rs.Eof(); rs.MoveNext())
        values.push_back(rs.Fields(field).Value());
    rs.Close();
    return values;
}

inline std::vector<engine::Variant> numbers(std::initializer_list<int> xs) {
    return std::vector<engine::Variant>(xs.begin(), xs.end());
}

// Sets one field of the first record.
inline void setFirst(const engine::Connection &cn, const QString &table, const QString &field,
                     const engine::Variant &value) {
    engine::Recordset rs;
    rs.Open(table, cn, engine::adOpenKeyset, engine::adLockPessimistic, engine::adCmdTable);
    rs.Fields(field).setValue(value);
    rs.Update();
    rs.Close();
}

// A fresh inddata.mdb as modMain::cnInddata, with the messages shown recorded.
class InddataTest : public ::testing::Test {
protected:
    testsupport::DatabaseFolder folder;
    std::shared_ptr<platform::RecordingMessages> messages = std::make_shared<platform::RecordingMessages>();
    void SetUp() override {
        platform::setMessageService(messages);
        modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
    }
    void TearDown() override { modMain::cnInddata.Close(); }
    // The second line of the one report shown, which names the step; the report is then taken off.
    QString reportedStep() {
        EXPECT_EQ(messages->shown.size(), 1u);
        const QString step = messages->shown.empty() ? QString() : messages->shown[0].text.split(QChar(13)).value(1);
        messages->shown.clear();
        return step;
    }
};

} // namespace tablehelpers
