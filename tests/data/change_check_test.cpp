#include "data/change_check.h"
#include "data/connections.h"
#include "data/modmain.h"
#include "platform/message_box.h"
#include "support/databases.h"
#include "table_helpers.h"

#include <gtest/gtest.h>

using engine::Variant;
using tablehelpers::setFirst;

namespace {

class ChangeCheckTest : public ::testing::Test {
protected:
    testsupport::DatabaseFolder folder;
    std::shared_ptr<platform::RecordingMessages> messages = std::make_shared<platform::RecordingMessages>();

    void SetUp() override {
        platform::setMessageService(messages);
        modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
        modMain::ClearInddata();
        modMain::InitInddata();
        ChangeCheck::SaveInddataValues();
    }
    void TearDown() override { modMain::cnInddata.Close(); }
    void set(const char *table, const char *field, const Variant &v) {
        setFirst(modMain::cnInddata, QLatin1String(table), QString::fromUtf8(field), v);
    }
    // The one report shown, as its four lines.
    QStringList reported() const {
        EXPECT_EQ(messages->shown.size(), 1u);
        if (messages->shown.empty())
            return {};
        EXPECT_EQ(messages->shown[0].icon, platform::Icon::Critical);
        return messages->shown[0].text.split(QChar(13));
    }
};

TEST_F(ChangeCheckTest, NothingWrittenIsNoChange) {
    EXPECT_FALSE(ChangeCheck::InddataChanged());
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(ChangeCheckTest, OneCharacterOrOnlyItsCaseIsAChange) {
    set("projekt", "tekst", QStringLiteral("Hal 2"));
    EXPECT_TRUE(ChangeCheck::InddataChanged());
    set("inddata", "daekType", QStringLiteral("Beton"));
    ChangeCheck::SaveInddataValues();
    set("inddata", "daekType", QStringLiteral("beton"));
    EXPECT_TRUE(ChangeCheck::InddataChanged());
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(ChangeCheckTest, ChangedAndChangedBackIsNoChange) {
    set("inddatalast", "Størrelse", 12.5);
    set("inddatalast", "Størrelse", 0);
    EXPECT_FALSE(ChangeCheck::InddataChanged());
}

// Numbers compare as the runtime writes them, to 15 significant digits.
TEST_F(ChangeCheckTest, NumbersCompareToFifteenDigits) {
    set("inddata", "Uværdi", 0.3);
    ChangeCheck::SaveInddataValues();
    set("inddata", "Uværdi", 0.1 + 0.2);
    EXPECT_FALSE(ChangeCheck::InddataChanged());
    set("inddata", "Uværdi", 0.30000000000001);
    EXPECT_TRUE(ChangeCheck::InddataChanged());
}

TEST_F(ChangeCheckTest, CompanyDataAreNotPartOfTheInput) {
    set("Firma", "Navn", QStringLiteral("Byg ApS"));
    EXPECT_FALSE(ChangeCheck::InddataChanged());
}

// A project file may leave a column Null: that must neither raise nor hide later changes.
TEST_F(ChangeCheckTest, NullIsComparedAsAValue) {
    set("inddataisolering", "IsoleringType", Variant::Null());
    EXPECT_TRUE(ChangeCheck::InddataChanged());
    ChangeCheck::SaveInddataValues();
    EXPECT_FALSE(ChangeCheck::InddataChanged());
    set("projekt", "dato", QStringLiteral("1. maj"));
    EXPECT_TRUE(ChangeCheck::InddataChanged());
    set("projekt", "dato", QString());
    set("inddataisolering", "IsoleringType", QString());
    EXPECT_TRUE(ChangeCheck::InddataChanged());
    EXPECT_TRUE(messages->shown.empty());
}

// A project file may hold a table without records: that is input like any other, not an error.
TEST_F(ChangeCheckTest, AnEmptyTableIsASnapshotOfNoRecords) {
    tablehelpers::alterInddata(folder, QStringLiteral("DELETE FROM projekt"));
    ChangeCheck::SaveInddataValues();
    EXPECT_FALSE(ChangeCheck::InddataChanged());
    set("inddata", "daekType", QStringLiteral("Beton"));
    EXPECT_TRUE(ChangeCheck::InddataChanged());
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(ChangeCheckTest, AMissingTableIsReportedAndCountsAsAChange) {
    tablehelpers::alterInddata(folder, QStringLiteral("DROP TABLE inddataisolering"));
    EXPECT_TRUE(ChangeCheck::InddataChanged());
    const QStringList lines = reported();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("Der opstod et problem under eksekvering af Fundator!"));
    EXPECT_EQ(lines[1], QStringLiteral("Function: InddataChanged, Log nr. 10"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Fejlnr.: -2147217865, "))) << lines[2].toStdString();
    EXPECT_EQ(lines[3], QStringLiteral("Gem venligst sessionsdata og kontakt Polystra"));
}

TEST_F(ChangeCheckTest, ARecordGoneIsReportedAndCountsAsAChange) {
    tablehelpers::alterInddata(folder, QStringLiteral("DELETE FROM inddatalast WHERE lastid = 10"));
    EXPECT_TRUE(ChangeCheck::InddataChanged());
    const QStringList lines = reported();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[1], QStringLiteral("Function: InddataChanged, Log nr. 8"));
}

TEST_F(ChangeCheckTest, AFailedSnapshotKeepsTheTablesItReached) {
    set("inddata", "daekType", QStringLiteral("Beton"));
    tablehelpers::alterInddata(folder, QStringLiteral("ALTER TABLE inddataisolering RENAME TO gemt"));
    ChangeCheck::SaveInddataValues();
    const QStringList lines = reported();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[1], QStringLiteral("Function: SaveInddataValues, Log nr. 13"));
    tablehelpers::alterInddata(folder, QStringLiteral("ALTER TABLE gemt RENAME TO inddataisolering"));
    EXPECT_FALSE(ChangeCheck::InddataChanged());
}

} // namespace
