// A data source between boxes and one record at a time.

#include "main_window_fixture.h"

using engine::Variant;

namespace {

class DataSourceTest : public ::testing::Test {
protected:
    testsupport::DatabaseFolder folder;
    QWidget host;
    QLineEdit *size = new QLineEdit(&host);
    QLineEdit *factor = new QLineEdit(&host);
    QComboBox *form = new QComboBox(&host);
    ui::DataSource data{QStringLiteral("dataLast"), &host};

    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark));
        modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
        modMain::ClearInddata();
        modMain::InitInddata();
        form->setEditable(true);
        form->addItems({"Rektangel", "Kvadrat"});
        data.Bind(size, "Størrelse");
        data.Bind(factor, "PartialK");
        data.Bind(form, "LastForm");
        data.setRecordset(open());
    }
    void TearDown() override {
        modMain::cnInddata.Close();
        QLocale::setDefault(QLocale::c());
    }
    static engine::Recordset open() {
        engine::Recordset rs;
        rs.Open(QStringLiteral("inddatalast"), modMain::cnInddata, engine::adOpenDynamic, engine::adLockOptimistic,
                engine::adCmdTable);
        return rs;
    }
    static Variant storedOf(int record, const QString &field) {
        engine::Recordset rs = open();
        rs.Move(record);
        return rs.Fields(field).Value();
    }
};

TEST_F(DataSourceTest, AnEditIsPendingUntilAMoveWritesItAndAnEmptiedNumberIsNull) {
    EXPECT_EQ(factor->text(), "1");
    EXPECT_EQ(data.EditMode(), engine::adEditNone);
    size->setText("12,5");
    form->setEditText("Kvadrat");
    EXPECT_EQ(data.EditMode(), engine::adEditInProgress);
    EXPECT_EQ(data.Fields("Størrelse").Value(), Variant(0.0));
    EXPECT_EQ(storedOf(0, "Størrelse"), Variant(0.0));
    data.Move(0);
    EXPECT_EQ(data.EditMode(), engine::adEditNone);
    EXPECT_EQ(storedOf(0, "Størrelse"), Variant(12.5));
    EXPECT_EQ(storedOf(0, "LastForm"), Variant("Kvadrat"));
    EXPECT_EQ(form->currentIndex(), 1);

    size->setText("3");
    factor->setText("");
    data.MoveNext();
    EXPECT_EQ(storedOf(0, "Størrelse"), Variant(3.0));
    EXPECT_TRUE(storedOf(0, "PartialK").isNull());
    EXPECT_EQ(size->text(), "0");
    data.MovePrevious();
    EXPECT_EQ(size->text(), "3");
    EXPECT_EQ(factor->text(), "");
    // A field written by the program shows after Update.
    data.Fields("LastForm").setValue(QStringLiteral("Rektangel"));
    data.Update();
    EXPECT_EQ(form->currentText(), "Rektangel");
}

TEST_F(DataSourceTest, TextThatIsNoNumberRaisesAndLeavesTheRecordAlone) {
    size->setText("4");
    // A point is no decimal mark in Danish: "1.5" is no number there.
    for (const char *text : {"abc", "1.5"}) {
        factor->setText(text);
        EXPECT_EQ(uitest::raised([&] { data.Move(0); }), engine::err::TypeMismatch) << text;
        EXPECT_EQ(storedOf(0, "Størrelse"), Variant(0.0));
        EXPECT_EQ(factor->text(), text);
        EXPECT_EQ(data.EditMode(), engine::adEditInProgress);
    }
    factor->setText("1,5");
    data.Move(0);
    EXPECT_EQ(storedOf(0, "PartialK"), Variant(1.5));
}

} // namespace
