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
    EXPECT_EQ(rows("ResultatBeton") * 10 + rows("ResultatBrugdef"), 10);
    EXPECT_GT(rows("ResultatArmering"), 0);
    // The pages are bound to fresh, open recordsets and take edits again.
    run({"txtLastNr txtIsoleringNr=1 | set txtLastStorrelse=41 | do GemInddata | db inddatalast.Størrelse=41"});
    designinput::setInddata({{"daekType", "Spånplade P5, 22 mm"}, {"kvalitettext", "Brugerdefineret"}});
    rebind();
    closeResultsWindowWhenShown();
    w->btnBeregning_Click();
    EXPECT_EQ(rows("ResultatBrugdef") * 10 + rows("ResultatBeton"), 10);
    EXPECT_EQ(resultsWindows, std::vector<QString>({"Beton", "Beregningsresultater"}));
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(CalculateTest, InputWithoutALoadIsShownOnTheLoadPageAndNothingIsCalculated) {
    designinput::setLoad(1, {{"Lasttype", ""}});
    rebind();
    w->dataLast->MoveNext();
    run({"alt B | msg=Der skal angives mindst en last | txtLastNr=1 | focus=cmbLastType"});
    EXPECT_TRUE(resultsWindows.empty());
    EXPECT_EQ(rows("ResultatBeton"), 0);
}

// A failing analysis or design stops with its own message; what it wrote before is committed.
TEST_F(CalculateTest, AFailingAnalysisOrDesignStopsWithItsOwnMessage) {
    modMain::cnInddata.Execute("DROP TABLE ResultatBrugdef");
    w->txtLastStorrelse->setText("45");
    w->btnBeregning_Click();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(lines().mid(0, 2), QStringList({"Der opstod et problem under eksekvering af beregningsrutine1!",
                                              "Function: init, Log nr. 4"}));
    engine::Connection other = folder.open("inddata.mdb");
    engine::Recordset rs;
    rs.Open("inddatalast", other, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
    EXPECT_EQ(rs.Fields("Størrelse").Value(), Variant(45.0));
    rs.Close();
    other.Close();
    EXPECT_TRUE(w->dataInddata->Recordset().IsOpen());

    modMain::cnInddata.Execute("CREATE TABLE ResultatBrugdef (x INTEGER)");
    designinput::setInddata({{"TraekstyrkeKar", Variant::Null()}});
    rebind();
    w->btnBeregning_Click();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(lines()[0], "Der opstod et problem under eksekvering af beregningsrutine2!");
    EXPECT_EQ(rows("ResultatBeton"), 1); // the analysis ran to its end
    EXPECT_TRUE(resultsWindows.empty());
}

} // namespace
