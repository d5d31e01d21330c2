#include "data/widgets/indstillinger.h"

#include "data/change_check.h"
#include "data/modmain.h"
#include "kit/command_button.h"
#include "ui/modal_forms.h"

#include "../table_helpers.h"
#include "ui/input_events.h"
#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

using engine::Variant;

namespace {

class IndstillingerTest : public tablehelpers::InddataTest {
protected:
    std::unique_ptr<Indstillinger> dlg;

    void SetUp() override {
        InddataTest::SetUp();
        modMain::ClearInddata();
        modMain::InitInddata();
        tablehelpers::setFirst(modMain::cnInddata, "Firma", "Navn", QStringLiteral("Byg ApS"));
        tablehelpers::setFirst(modMain::cnInddata, "projekt", "tekst", QStringLiteral("Hal 2"));
        ChangeCheck::SaveInddataValues();
    }
    void TearDown() override {
        dlg.reset();
        InddataTest::TearDown();
    }
    static std::vector<Variant> stored(const char *table, const char *field) {
        return tablehelpers::column(modMain::cnInddata, QLatin1String(table), QString::fromUtf8(field));
    }
    static std::vector<Variant> one(const QString &text) { return {Variant(text)}; }
    void open() {
        dlg.reset(static_cast<Indstillinger *>(ui::MakeIndstillinger(nullptr).release()));
        dlg->show();
        dlg->activateWindow();
        ASSERT_TRUE(uitest::waitForWindowActive(dlg.get()));
    }
};

// The project record is input, the company record is not; Escape stores nothing.
TEST_F(IndstillingerTest, OkStoresBothRecordsAndOnlyTheProjectCountsAsAChange) {
    open();
    EXPECT_EQ(dlg->cmbMetode->count(), 1);
    EXPECT_EQ(dlg->cmbMetode->currentText(), "Dansk");
    dlg->txtKontakt->setText(QStringLiteral("Ole"));
    uitest::mouseClick(dlg->btnOK);
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(stored("Firma", "Kontakt"), one("Ole"));
    EXPECT_FALSE(ChangeCheck::InddataChanged());
    open();
    dlg->txtTekst->setText(QStringLiteral("Andet"));
    uitest::keyClick(dlg->txtTekst, Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(stored("projekt", "tekst"), one("Hal 2"));
    EXPECT_FALSE(ChangeCheck::InddataChanged());
    open();
    dlg->txtBeregner->setText(QStringLiteral("KL"));
    uitest::mouseClick(dlg->btnOK);
    EXPECT_EQ(stored("projekt", "beregner"), one("KL"));
    EXPECT_TRUE(ChangeCheck::InddataChanged());
    EXPECT_TRUE(messages->shown.empty());
}

// A text longer than its column is refused in the engine's words for it: reported with the step, and the dialog
// stays open.
TEST_F(IndstillingerTest, RefusedUpdatesAndAMissingTableAreReportedWithTheirStep) {
    open();
    dlg->txtTekst->setText(QString(300, QLatin1Char('x')));
    dlg->btnOK_Click();
    EXPECT_EQ(messages->shown.at(0).icon, platform::Icon::Critical);
    EXPECT_EQ(messages->shown.at(0).text.split(QChar(13)).value(2),
              "Fejlnr.: 3163, The field is too small to accept the amount of data you attempted to add.  Try "
              "inserting or pasting less data.");
    EXPECT_EQ(reportedStep(), "Function: frmIndstillinger, Log nr. 5");
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(stored("projekt", "tekst"), one("Hal 2"));

    // Corrected, the project record is stored; a company text too long is refused at the next step.
    dlg->txtTekst->setText(QStringLiteral("Hal 3"));
    dlg->txtFax->setText(QString(256, QLatin1Char('9')));
    dlg->btnOK_Click();
    EXPECT_EQ(reportedStep(), "Function: frmIndstillinger, Log nr. 6");
    EXPECT_EQ(stored("projekt", "tekst"), one("Hal 3"));
    EXPECT_TRUE(dlg->isVisible());
    dlg->btnAnnuler_Click();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(stored("Firma", "Fax"), one(QString()));

    tablehelpers::alterInddata(folder, QStringLiteral("DROP TABLE Firma"));
    open();
    EXPECT_EQ(reportedStep(), "Function: frmIndstillinger, Log nr. 10");
    dlg->btnAnnuler_Click();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(IndstillingerTest, FocusSelectsTheWholeTextTheFocusOnOpeningToo) {
    open();
    uitest::wait(20);
    EXPECT_EQ(dlg->LogNr, 29);
    uitest::keyClicks(dlg->txtNavn, QStringLiteral("Z"));
    EXPECT_EQ(dlg->txtNavn->text(), "Z");
    uitest::mouseClick(dlg->txtTekst);
    uitest::wait(20);
    EXPECT_EQ(dlg->txtTekst->selectedText(), "Hal 2");
    uitest::mouseClick(dlg->txtNavn);
    uitest::wait(20);
    EXPECT_EQ(dlg->txtNavn->selectedText(), "Z");
    EXPECT_EQ(dlg->LogNr, 29);
}

} // namespace
