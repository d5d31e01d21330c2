// The calculation command on a complete input: its results window, its refusals and its errors.

#include "calc/design_input.h"
#include "page_script.h"

using engine::Variant;

namespace {

class CalculateTest : public uitest::ScriptTest {
protected:
    std::vector<QString> resultsWindows; // the captions, each window closed as soon as it shows

    void SetUp() override {
        ScriptTest::SetUp();
        showLoadPage();
        designinput::writeConcreteInput();
        rebind();
    }
    void rebind() {
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
        rs.Open("SELECT * FROM " + table, modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly);
        long n = 0;
        for (; !rs.Eof(); rs.MoveNext())
            ++n;
        return n;
    }
    QStringList lines() const { return messages->shown.at(0).text.split(QChar(13)); }
};

TEST_F(CalculateTest, AConcreteSlabOpensBetonOtherTypesBrugerdefineretAndTheActivationAfterBindsLoadAndLayerOne) {
    w->dataLast->MoveNext();
    w->dataIsolering->MoveNext();
    closeResultsWindowWhenShown();
    uitest::mouseClick(w->btnBeregning);
    EXPECT_EQ(resultsWindows, std::vector<QString>({"Beton"}));
    EXPECT_EQ(rows("ResultatBeton") * 10 + rows("ResultatBrugdef"), 10);
    EXPECT_GT(rows("ResultatArmering"), 0);
    EXPECT_EQ(w->count("TegnSkitse(True)"), 1);
    // The pages are bound to fresh, open recordsets and take edits again.
    run({"txtLastNr txtIsoleringNr=1 | set txtLastStorrelse=41 | do GemInddata | db inddatalast.Størrelse=41"});

    for (const char *type : {"Brugerdefineret", "Spånplade P5, 22 mm"}) {
        designinput::setInddata({{"daekType", type}, {"kvalitettext", "Brugerdefineret"}});
        rebind();
        w->activateWindow();
        ASSERT_TRUE(uitest::waitForWindowActive(w.get()));
        closeResultsWindowWhenShown();
        uitest::keyClick(w.get(), Qt::Key_B, Qt::AltModifier);
        EXPECT_EQ(rows("ResultatBrugdef") * 10 + rows("ResultatBeton"), 10) << type;
    }
    EXPECT_EQ(resultsWindows, std::vector<QString>({"Beton", "Beregningsresultater", "Beregningsresultater"}));
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(CalculateTest, InputWithoutALoadIsShownAndCanBeCorrectedOnThePageForASecondPress) {
    designinput::setLoad(1, {{"Lasttype", ""}});
    modMain::cnInddata.Execute("INSERT INTO ResultatBeton DEFAULT VALUES");
    rebind();
    w->dataLast->MoveNext();
    // Nothing is calculated; the bindings stay open for the correction.
    run({"alt B | msg=Der skal angives mindst en last | txtLastNr=1 | focus=cmbLastType"});
    EXPECT_TRUE(resultsWindows.empty());
    EXPECT_EQ(rows("ResultatBeton"), 1);
    ASSERT_TRUE(w->dataInddata->HasRecordset() && w->dataIsolering->HasRecordset());
    // The correction as the load page makes it: the choice goes into the bound hidden box.
    run({"set cmbLastType=Punktlast | set txtLastType=Punktlast"});
    closeResultsWindowWhenShown();
    uitest::mouseClick(w->btnBeregning);
    EXPECT_EQ(resultsWindows, std::vector<QString>({"Beton"}));
}

TEST_F(CalculateTest, TheAccessKeyRunsTheLostFocusOfTheListFirstAndARefusalStopsIt) {
    run({"edit cmbLastType=xyz | alt B | msg=Der skal vælges et emne fra listen"});
    EXPECT_TRUE(resultsWindows.empty());
    // A list completes its text first; the calculation sees the completed input.
    closeResultsWindowWhenShown();
    run({"edit cmbLastType=punkt | alt B | cmbLastType=Punktlast"});
    EXPECT_EQ(resultsWindows, std::vector<QString>({"Beton"}));
}

TEST_F(CalculateTest, AFailingAnalysisStopsWithItsOwnMessageAndKeepsWhatItWrote) {
    modMain::cnInddata.Execute("INSERT INTO ResultatBeton DEFAULT VALUES");
    modMain::cnInddata.Execute("DROP TABLE ResultatBrugdef");
    w->txtLastStorrelse->setText("45");
    closeResultsWindowWhenShown();
    w->btnBeregning_Click();
    uitest::processEvents();
    EXPECT_TRUE(resultsWindows.empty());
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(lines().mid(0, 2), QStringList({"Der opstod et problem under eksekvering af beregningsrutine1!",
                                              "Function: init, Log nr. 4"}));
    // Written before the error, and committed: another connection sees it.
    engine::Connection other = folder.open("inddata.mdb");
    engine::Recordset rs;
    rs.Open("ResultatBeton", other, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
    EXPECT_TRUE(rs.Eof());
    rs.Close();
    rs.Open("inddatalast", other, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
    EXPECT_EQ(rs.Fields("Størrelse").Value(), Variant(45.0));
    rs.Close();
    other.Close();
    EXPECT_TRUE(w->dataInddata->Recordset().IsOpen());
}

TEST_F(CalculateTest, AFailingDesignStopsWithoutAResultsWindowAfterTheAnalysisRanToItsEnd) {
    designinput::setInddata({{"TraekstyrkeKar", Variant::Null()}});
    rebind();
    closeResultsWindowWhenShown();
    w->btnBeregning_Click();
    uitest::processEvents();
    EXPECT_TRUE(resultsWindows.empty());
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(lines()[0], "Der opstod et problem under eksekvering af beregningsrutine2!");
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::Critical);
    EXPECT_EQ(rows("ResultatBeton"), 1);
    EXPECT_TRUE(w->dataInddata->Recordset().IsOpen());
}

TEST_F(CalculateTest, ARunTimeErrorOfTheCommandItselfIsReportedWithItsStatementNumber) {
    w->dataIsolering->Recordset().Close();
    w->btnBeregning_Click();
    ASSERT_EQ(messages->shown.size(), 1u);
    // The commit of the layer page, the check's first step.
    EXPECT_EQ(lines().mid(1, 2), QStringList({"Function: frmMain, Log nr. 156",
                                              "Fejlnr.: 3704, Operation is not allowed when the object is closed."}));
}

} // namespace
