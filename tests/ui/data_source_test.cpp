#include "data/connections.h"
#include "data/modmain.h"
#include "support/databases.h"
#include "ui/data_source.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <gtest/gtest.h>

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
        data.Bind(size, QString::fromUtf8("Størrelse"));
        data.Bind(factor, QStringLiteral("PartialK"));
        data.Bind(form, QStringLiteral("LastForm"));
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

TEST_F(DataSourceTest, ShowingARecordMarksNothingPendingAndAnEditIsWrittenOnMoveZero) {
    EXPECT_EQ(factor->text(), "1");
    EXPECT_EQ(data.EditMode(), engine::adEditNone);
    size->setText("12,5");
    form->setEditText("Kvadrat");
    EXPECT_EQ(data.EditMode(), engine::adEditInProgress);
    // Until the commit the record holds what was stored before.
    EXPECT_EQ(data.Fields(QString::fromUtf8("Størrelse")).Value(), Variant(0.0));
    EXPECT_EQ(storedOf(0, QString::fromUtf8("Størrelse")), Variant(0.0));
    data.Move(0);
    EXPECT_EQ(data.EditMode(), engine::adEditNone);
    EXPECT_EQ(storedOf(0, QString::fromUtf8("Størrelse")), Variant(12.5));
    EXPECT_EQ(storedOf(0, QStringLiteral("LastForm")), Variant("Kvadrat"));
    EXPECT_EQ(form->currentIndex(), 1);
}

TEST_F(DataSourceTest, MovingWritesTheRecordLeftAndShowsTheNextAndAnEmptiedNumberIsNull) {
    size->setText("3");
    factor->setText("");
    data.MoveNext();
    EXPECT_EQ(storedOf(0, QString::fromUtf8("Størrelse")), Variant(3.0));
    EXPECT_TRUE(storedOf(0, QStringLiteral("PartialK")).isNull());
    EXPECT_EQ(size->text(), "0");
    EXPECT_EQ(data.EditMode(), engine::adEditNone);
    data.MovePrevious();
    EXPECT_EQ(size->text(), "3");
    EXPECT_EQ(factor->text(), "");
}

TEST_F(DataSourceTest, TextThatIsNoNumberRaisesAndLeavesTheRecordAlone) {
    size->setText("4");
    factor->setText("abc");
    try {
        data.Move(0);
        FAIL() << "no error";
    } catch (const engine::RuntimeError &e) {
        EXPECT_EQ(e.number(), engine::err::TypeMismatch);
    }
    EXPECT_EQ(storedOf(0, QString::fromUtf8("Størrelse")), Variant(0.0));
    EXPECT_EQ(factor->text(), "abc");
    EXPECT_EQ(data.EditMode(), engine::adEditInProgress);
    // A point is no decimal mark in Danish: "1.5" is no number there.
    factor->setText("1.5");
    EXPECT_THROW(data.Move(0), engine::RuntimeError);
    factor->setText("1,5");
    data.Move(0);
    EXPECT_EQ(storedOf(0, QStringLiteral("PartialK")), Variant(1.5));
}

TEST_F(DataSourceTest, AFieldWrittenByTheProgramShowsAfterUpdate) {
    data.Fields(QStringLiteral("LastForm")).setValue(QStringLiteral("Rektangel"));
    EXPECT_EQ(data.EditMode(), engine::adEditInProgress);
    data.Update();
    EXPECT_EQ(form->currentText(), "Rektangel");
    EXPECT_EQ(data.EditMode(), engine::adEditNone);
}

} // namespace
