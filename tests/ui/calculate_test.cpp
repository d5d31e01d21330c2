#include "calc/analysis_state.h"
#include "calc/design_input.h"
#include "main_window_fixture.h"
#include "ui/command_button.h"
#include "ui/controls.h"

#include <QApplication>
#include <QDialog>

using engine::Variant;

namespace {

class CalculateTest : public uitest::MainWindowTest {
protected:
    // The captions of the results windows opened, each closed again as soon as it shows.
    std::vector<QString> resultsWindows;

    void SetUp() override {
        MainWindowTest::SetUp();
        showLoadPage();
        designinput::writeConcreteInput();
        w->Form_Activate();
        w->calls.clear();
        messages->shown.clear();
    }

    // Watches for the next modal window until it shows.
    void closeResultsWindowWhenShown() {
        auto *watch = new QTimer(w.get());
        watch->setInterval(1);
        QObject::connect(watch, &QTimer::timeout, [this, watch] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                watch->stop();
                watch->deleteLater();
                resultsWindows.push_back(modal->windowTitle());
                modal->close();
            }
        });
        watch->start();
    }

    long rows(const QString &table) const {
        engine::Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM ") + table, modMain::cnInddata, engine::adOpenStatic,
                engine::adLockReadOnly);
        long n = 0;
        for (; !rs.Eof(); rs.MoveNext())
            ++n;
        return n;
    }
    QStringList lines(size_t message) const { return messages->shown.at(message).text.split(QChar(13)); }
};

TEST_F(CalculateTest, AConcreteSlabOpensBetonAndTheActivationAfterBindsLoadOneAndLayerOne) {
    w->dataLast->MoveNext();
    w->dataIsolering->MoveNext();
    closeResultsWindowWhenShown();
    uitest::mouseClick(w->btnBeregning);
    EXPECT_EQ(resultsWindows, std::vector<QString>({"Beton"}));
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(rows("ResultatBeton"), 1);
    EXPECT_EQ(rows("ResultatBrugdef"), 0);
    EXPECT_GT(rows("ResultatArmering"), 0);
    EXPECT_EQ(w->txtLastNr->text(), "1");
    EXPECT_EQ(w->txtIsoleringNr->text(), "1");
    EXPECT_EQ(w->count("TegnSkitse(True)"), 1);
    // The pages are bound to fresh, open recordsets and take edits again.
    ASSERT_TRUE(w->dataInddata->HasRecordset());
    ASSERT_TRUE(w->dataIsolering->HasRecordset());
    w->txtLastStorrelse->setText("41");
    w->GemInddata();
    EXPECT_EQ(stored("inddatalast", QString::fromUtf8("Størrelse")), Variant(41.0));
}

TEST_F(CalculateTest, EveryOtherSlabTypeOpensBrugerdefineret) {
    for (const char *type : {"Brugerdefineret", "Spånplade P5, 22 mm"}) {
        designinput::setInddata({{"daekType", type}, {"kvalitettext", "Brugerdefineret"}});
        w->Form_Activate();
        w->activateWindow();
        ASSERT_TRUE(uitest::waitForWindowActive(w.get()));
        closeResultsWindowWhenShown();
        uitest::keyClick(w.get(), Qt::Key_B, Qt::AltModifier);
        EXPECT_EQ(rows("ResultatBrugdef"), 1) << type;
        EXPECT_EQ(rows("ResultatBeton"), 0) << type;
    }
    EXPECT_EQ(resultsWindows, std::vector<QString>({"Beregningsresultater", "Beregningsresultater"}));
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(CalculateTest, InputWithoutALoadIsShownAndCanBeCorrectedOnThePageForASecondPress) {
    designinput::setLoad(1, {{"Lasttype", ""}});
    modMain::cnInddata.Execute(QStringLiteral("INSERT INTO ResultatBeton DEFAULT VALUES"));
    w->Form_Activate();
    w->dataLast->MoveNext();
    uitest::keyClick(w.get(), Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(shownTexts(), std::vector<QString>({"Der skal angives mindst en last"}));
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::None);
    EXPECT_TRUE(resultsWindows.empty());
    EXPECT_EQ(w->txtLastNr->text(), "1");
    EXPECT_EQ(QApplication::focusWidget(), w->cmbLastType);
    // Nothing was calculated; the bindings stay open for the correction.
    EXPECT_EQ(rows("ResultatBeton"), 1);
    ASSERT_TRUE(w->dataInddata->HasRecordset());
    ASSERT_TRUE(w->dataIsolering->HasRecordset());

    // The correction as the load page makes it: the choice goes into the bound hidden box.
    ui::SetListText(w->cmbLastType, "Punktlast");
    w->txtLastType->setText("Punktlast");
    closeResultsWindowWhenShown();
    uitest::mouseClick(w->btnBeregning);
    EXPECT_EQ(resultsWindows, std::vector<QString>({"Beton"}));
    EXPECT_EQ(messages->shown.size(), 1u);
}

TEST_F(CalculateTest, TheAccessKeyRunsTheLostFocusOfTheListFirstAndARefusalStopsIt) {
    w->cmbLastType->setFocus();
    w->cmbLastType->setEditText("xyz");
    uitest::keyClick(w.get(), Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(shownTexts(), std::vector<QString>({"Der skal vælges et emne fra listen"}));
    EXPECT_TRUE(resultsWindows.empty());

    // A list completes its text first; the calculation sees the completed input.
    messages->shown.clear();
    w->cmbLastType->setEditText("punkt");
    closeResultsWindowWhenShown();
    uitest::keyClick(w.get(), Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(w->cmbLastType->currentText(), "Punktlast");
    EXPECT_EQ(resultsWindows, std::vector<QString>({"Beton"}));
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(CalculateTest, AFailingAnalysisStopsWithItsOwnMessageAndKeepsWhatItWrote) {
    modMain::cnInddata.Execute(QStringLiteral("INSERT INTO ResultatBeton DEFAULT VALUES"));
    modMain::cnInddata.Execute(QStringLiteral("DROP TABLE ResultatBrugdef"));
    w->txtLastStorrelse->setText("45");
    closeResultsWindowWhenShown();
    w->btnBeregning_Click();
    uitest::processEvents();
    EXPECT_TRUE(resultsWindows.empty());
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(lines(0)[0], "Der opstod et problem under eksekvering af beregningsrutine1!");
    EXPECT_EQ(lines(0)[1], "Function: init, Log nr. 4");
    // Written before the error, and committed: another connection sees it.
    engine::Connection other = folder.open(QStringLiteral("inddata.mdb"));
    engine::Recordset rs;
    rs.Open(QStringLiteral("ResultatBeton"), other, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
    EXPECT_TRUE(rs.Eof());
    rs.Close();
    rs.Open(QStringLiteral("inddatalast"), other, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
    EXPECT_EQ(rs.Fields(QString::fromUtf8("Størrelse")).Value(), Variant(45.0));
    rs.Close();
    other.Close();
    // The bindings are untouched.
    EXPECT_TRUE(w->dataInddata->HasRecordset());
    EXPECT_TRUE(w->dataInddata->Recordset().IsOpen());
}

TEST_F(CalculateTest, AFailingDesignStopsWithoutAResultsWindow) {
    designinput::setInddata({{"TraekstyrkeKar", Variant::Null()}});
    w->Form_Activate();
    closeResultsWindowWhenShown();
    w->btnBeregning_Click();
    uitest::processEvents();
    EXPECT_TRUE(resultsWindows.empty());
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(lines(0)[0], "Der opstod et problem under eksekvering af beregningsrutine2!");
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::Critical);
    // The analysis passes ran to their end.
    EXPECT_EQ(rows("ResultatBeton"), 1);
    EXPECT_TRUE(w->dataInddata->Recordset().IsOpen());
}

TEST_F(CalculateTest, ARunTimeErrorOfTheCommandItselfIsReportedWithItsStatementNumber) {
    w->dataIsolering->Recordset().Close();
    w->btnBeregning_Click();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(lines(0)[0], "Der opstod et problem under eksekvering af Fundator!");
    // The commit of the layer page, the check's first step.
    EXPECT_EQ(lines(0)[1], "Function: frmMain, Log nr. 156");
    EXPECT_EQ(lines(0)[2], "Fejlnr.: 3704, Operation is not allowed when the object is closed.");
}

} // namespace
