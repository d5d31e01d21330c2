#include "data/widgets/indstillinger.h"

#include "data/change_check.h"
#include "data/connections.h"
#include "data/modmain.h"
#include "platform/message_box.h"
#include "support/databases.h"
#include "ui/command_button.h"
#include "ui/modal_forms.h"

#include "../table_helpers.h"
#include "ui/input_events.h"
#include <QApplication>
#include <QLineEdit>
#include <gtest/gtest.h>

using engine::Variant;
using tablehelpers::column;
using tablehelpers::setFirst;

namespace {

class IndstillingerTest : public ::testing::Test {
protected:
    testsupport::DatabaseFolder folder;
    std::shared_ptr<platform::RecordingMessages> messages = std::make_shared<platform::RecordingMessages>();
    std::unique_ptr<Indstillinger> dlg;

    void SetUp() override {
        platform::setMessageService(messages);
        modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
        modMain::ClearInddata();
        modMain::InitInddata();
        set("Firma", "Navn", QStringLiteral("Byg ApS"));
        set("projekt", "tekst", QStringLiteral("Hal 2"));
        ChangeCheck::SaveInddataValues();
    }
    void TearDown() override {
        dlg.reset();
        modMain::cnInddata.Close();
    }

    void set(const char *table, const char *field, const Variant &v) {
        setFirst(modMain::cnInddata, QLatin1String(table), QString::fromUtf8(field), v);
    }
    std::vector<Variant> stored(const char *table, const char *field) const {
        return column(modMain::cnInddata, QLatin1String(table), QString::fromUtf8(field));
    }
    void open() {
        dlg.reset(static_cast<Indstillinger *>(ui::MakeIndstillinger(nullptr).release()));
        dlg->show();
        dlg->activateWindow();
        ASSERT_TRUE(uitest::waitForWindowActive(dlg.get()));
    }
    // Typed into a box, as the user types.
    void type(QLineEdit *box, const QString &text) {
        box->setFocus();
        uitest::processEvents();
        box->selectAll();
        uitest::keyClicks(box, text);
    }
    QStringList reported() const {
        EXPECT_EQ(messages->shown.size(), 1u);
        return messages->shown.empty() ? QStringList() : messages->shown[0].text.split(QChar(13));
    }
};

TEST_F(IndstillingerTest, OkWithoutEditsClosesAndChangesNothing) {
    open();
    uitest::mouseClick(dlg->btnOK);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(stored("Firma", "Navn"), std::vector<Variant>{QStringLiteral("Byg ApS")});
    EXPECT_FALSE(ChangeCheck::InddataChanged());
    EXPECT_TRUE(messages->shown.empty());
}

// The project record is input, the company record is not.
TEST_F(IndstillingerTest, OkStoresBothRecordsAndOnlyTheProjectCountsAsAChange) {
    open();
    type(dlg->txtKontakt, QStringLiteral("Ole"));
    uitest::mouseClick(dlg->btnOK);
    EXPECT_EQ(stored("Firma", "Kontakt"), std::vector<Variant>{QStringLiteral("Ole")});
    EXPECT_FALSE(ChangeCheck::InddataChanged());

    open();
    type(dlg->txtBeregner, QStringLiteral("KL"));
    uitest::mouseClick(dlg->btnOK);
    EXPECT_EQ(stored("projekt", "beregner"), std::vector<Variant>{QStringLiteral("KL")});
    EXPECT_EQ(stored("projekt", "tekst"), std::vector<Variant>{QStringLiteral("Hal 2")});
    EXPECT_TRUE(ChangeCheck::InddataChanged());
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(IndstillingerTest, AnnullerCloseBoxAndEscapeStoreNothing) {
    open();
    type(dlg->txtNavn, QStringLiteral("Andet"));
    type(dlg->txtTekst, QStringLiteral("Andet"));
    uitest::mouseClick(dlg->btnAnnuler);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Rejected);

    open();
    type(dlg->txtNavn, QStringLiteral("Andet"));
    dlg->close();
    open();
    type(dlg->txtTekst, QStringLiteral("Andet"));
    uitest::keyClick(dlg->txtTekst, Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());

    EXPECT_EQ(stored("Firma", "Navn"), std::vector<Variant>{QStringLiteral("Byg ApS")});
    EXPECT_EQ(stored("projekt", "tekst"), std::vector<Variant>{QStringLiteral("Hal 2")});
    EXPECT_FALSE(ChangeCheck::InddataChanged());
    EXPECT_TRUE(messages->shown.empty());
}

// A text longer than its column is refused: reported with the step, and the dialog stays open.
TEST_F(IndstillingerTest, RefusedUpdateIsReportedAndTheDialogStaysOpen) {
    open();
    dlg->txtTekst->setText(QString(300, QLatin1Char('x')));
    dlg->btnOK_Click();
    const QStringList lines = reported();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[1], "Function: frmIndstillinger, Log nr. 5");
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::Critical);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(stored("projekt", "tekst"), std::vector<Variant>{QStringLiteral("Hal 2")});

    // Corrected, the project record is stored; a company text too long is refused at the next step.
    messages->shown.clear();
    dlg->txtTekst->setText(QStringLiteral("Hal 3"));
    dlg->txtFax->setText(QString(256, QLatin1Char('9')));
    dlg->btnOK_Click();
    EXPECT_EQ(reported().value(1), "Function: frmIndstillinger, Log nr. 6");
    EXPECT_EQ(stored("projekt", "tekst"), std::vector<Variant>{QStringLiteral("Hal 3")});
    EXPECT_TRUE(dlg->isVisible());

    messages->shown.clear();
    dlg->btnAnnuler_Click();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(stored("Firma", "Fax"), std::vector<Variant>{QString()});
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(IndstillingerTest, MissingCompanyTableIsReportedAtLoadAndTheDialogStillCloses) {
    tablehelpers::alterInddata(folder, QStringLiteral("DROP TABLE Firma"));
    open();
    EXPECT_EQ(reported().value(1), "Function: frmIndstillinger, Log nr. 10");
    messages->shown.clear();
    dlg->btnAnnuler_Click();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(IndstillingerTest, CompanyWithoutRecordShowsEmptyBoxesAndGetsNone) {
    modMain::cnInddata.Execute(QStringLiteral("DELETE * FROM Firma"));
    open();
    EXPECT_EQ(dlg->txtNavn->text(), QString());
    uitest::mouseClick(dlg->btnOK);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(stored("Firma", "Navn").empty());
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(IndstillingerTest, FocusSelectsTheWholeText) {
    set("Firma", "Adresse", QStringLiteral("Vej 1"));
    open();
    uitest::mouseClick(dlg->txtTekst);
    uitest::wait(20);
    EXPECT_EQ(dlg->txtTekst->selectedText(), "Hal 2");
    EXPECT_EQ(dlg->LogNr, 32);
    uitest::mouseClick(dlg->txtNavn);
    uitest::wait(20);
    EXPECT_EQ(dlg->txtNavn->selectedText(), "Byg ApS");
    EXPECT_EQ(dlg->LogNr, 29);
    uitest::keyClick(dlg->txtNavn, Qt::Key_Tab);
    uitest::wait(20);
    ASSERT_EQ(QApplication::focusWidget(), dlg->txtAdresse);
    EXPECT_EQ(dlg->txtAdresse->selectedText(), "Vej 1");
    EXPECT_EQ(dlg->LogNr, 21);
}

} // namespace
