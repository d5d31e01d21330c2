#include "page_fixture.h"

using uitest::PageTest;
using uitest::PaintCounter;

namespace {

class SlabPageTest : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        // Rows whose strengths round halfway, one that rounds to nothing, and a safety class without a factor.
        for (const char *row : {"(20, 'K30,5', 30.5)", "(21, 'K31,5', 31.5)", "(22, 'K0,4', 0.4)"})
            modMain::cnParam.Execute(QStringLiteral("INSERT INTO txtBetonKvalitet (RkFlg, kvalitet, "
                                                    "Styrke) VALUES ") +
                                     QString::fromUtf8(row));
        modMain::cnParam.Execute(QStringLiteral("INSERT INTO txtSikkerhedsKlasse (RkFlg, Klasse, gamma) "
                                                "VALUES (9, 'Ukendt', NULL)"));
    }

    std::vector<QWidget *> concreteGroup() const {
        return {m->cmbDaekSikkerhedsklasse,
                m->lblDaekSikkerhedsklasse,
                m->cmbDaekKvalitet,
                m->txtDaekTraekstyrkeKar,
                m->cmbMKlasse,
                m->txtDaeklag};
    }
    std::vector<QLineEdit *> valueBoxes() const {
        return {m->txtDaekTrykstyrke, m->txtDaekTraekstyrke, m->txtDaekEo, m->txtDaekEn, m->txtDaekGo, m->txtDaekGn};
    }
    void expectGroup(bool shown) {
        for (QWidget *c : concreteGroup())
            EXPECT_EQ(ui::Visible(c), shown) << c->objectName().toStdString();
    }
    void expectLocked(bool locked) {
        for (QLineEdit *b : valueBoxes())
            EXPECT_EQ(b->isReadOnly(), locked) << b->objectName().toStdString();
    }
    void expectCleared() {
        for (QLineEdit *b : {m->txtDaekTrykstyrke, m->txtDaekTraekstyrke, m->txtDaekTraekstyrkeKar})
            EXPECT_EQ(b->text(), "0,00") << b->objectName().toStdString();
        for (QLineEdit *b : {m->txtDaekTau, m->txtDaekEo, m->txtDaekEn, m->txtDaekGo, m->txtDaekGn, m->txtDaekTykkelse})
            EXPECT_EQ(b->text(), "0") << b->objectName().toStdString();
    }
    // The slab page in its concrete state with a safety class and a quality chosen.
    void concreteSlab(const QString &klasse, const QString &kvalitet) {
        choose(m->cmbDaekType, "Beton");
        choose(m->cmbDaekSikkerhedsklasse, klasse);
        choose(m->cmbDaekKvalitet, kvalitet);
        messages->shown.clear();
    }
};

TEST_F(SlabPageTest, TypedBetonShowsTheConcreteFieldsLocksTheValuesAndClearsThemWithoutAQuality) {
    store("inddata", QString::fromUtf8("Miljøklasse"), "Moderat");
    showPage(Page::Slab);
    m->OpdaterDaekType(); // the empty type: the page in its plain state
    expectGroup(false);
    m->sketchRuns = 0;

    m->cmbDaekType->setFocus();
    uitest::processEvents();
    uitest::keyClicks(m->cmbDaekType, "beton");
    uitest::keyClick(m->cmbDaekType, Qt::Key_Return);

    EXPECT_EQ(ui::ListText(m->cmbDaekType), "Beton");
    expectGroup(true);
    expectLocked(true);
    EXPECT_FALSE(m->txtDaekTykkelse->isReadOnly());
    // Moderat has a crack width, so its field shows.
    EXPECT_EQ(m->txtDaeklag->text(), "25");
    EXPECT_EQ(m->txtRevnevidde->text(), "0,3");
    expectCleared();
    EXPECT_EQ(m->sketchRuns, 1);
    EXPECT_EQ(focused(), m->cmbDaekSikkerhedsklasse);
    EXPECT_TRUE(messages->shown.empty());

    // A class without a crack width hides the field; the focus goes back to the slab type.
    choose(m->cmbMKlasse, "Passiv");
    EXPECT_FALSE(ui::Visible(m->lblRevneviddeEnhed));
    EXPECT_EQ(focused(), m->cmbDaekType);
}

TEST_F(SlabPageTest, QualityAndSafetyClassGiveTheDesignValuesInRegionalForm) {
    showPage(Page::Slab);
    choose(m->cmbDaekType, "Beton");
    choose(m->cmbDaekSikkerhedsklasse, "Normal");
    EXPECT_EQ(focused(), m->cmbDaekKvalitet); // no quality yet
    m->sketchRuns = 0;
    choose(m->cmbDaekKvalitet, "C25/30");

    // Strengths in two decimals, tau unrounded, moduli whole.
    EXPECT_EQ(m->txtDaekTrykstyrke->text(), "15,15");
    EXPECT_EQ(m->txtDaekTau->text(), "727,272727272727");
    EXPECT_EQ(m->txtDaekTraekstyrkeKar->text(), "1,58");
    EXPECT_EQ(m->txtDaekGn->text(), "2525");
    EXPECT_EQ(focused(), m->txtDaekTykkelse);
    // Once for the choice, once more when the list is left: the quality list refreshes on every leaving.
    EXPECT_EQ(m->sketchRuns, 2);
    // The sketch run committed the page: the calculation reads what the boxes show.
    EXPECT_EQ(stored("inddata", "TrykstyrkeRgm"), engine::Variant(15.15));
    EXPECT_EQ(stored("inddata", "GN"), engine::Variant(2525.0));
    EXPECT_EQ(stored("inddata", "kvalitettext"), engine::Variant("C25/30"));

    // Another safety class recomputes; a quality of 31.5 counts as 32, one of 30.5 as 30.
    choose(m->cmbDaekSikkerhedsklasse, QString::fromUtf8("Høj"));
    EXPECT_EQ(m->txtDaekTrykstyrke->text(), "13,77");
    choose(m->cmbDaekKvalitet, "K31,5");
    EXPECT_EQ(m->txtDaekEo->text(), "25387");
    choose(m->cmbDaekKvalitet, "K30,5");
    EXPECT_EQ(m->txtDaekEo->text(), "24907");
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(SlabPageTest, AQualityWithoutSafetyClassOrStrengthWarnsAndLeavesTheBoxes) {
    showPage(Page::Slab);
    choose(m->cmbDaekType, "Beton");
    m->txtDaekEo->setText("123");
    m->sketchRuns = 0;
    choose(m->cmbDaekKvalitet, "C25/30");
    EXPECT_EQ(shownTexts(), std::vector<QString>{QStringLiteral("Sikkerhedsklasse skal vælges !")});
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::None);
    EXPECT_EQ(m->txtDaekEo->text(), "123");
    EXPECT_EQ(focused(), m->txtDaekTykkelse);
    EXPECT_EQ(m->sketchRuns, 1);

    messages->shown.clear();
    // A class whose factor is missing is an error, not a warning.
    choose(m->cmbDaekSikkerhedsklasse, "Ukendt");
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_TRUE(messages->shown[0].text.contains("Function: frmMain, Log nr. 441"));

    messages->shown.clear();
    choose(m->cmbDaekSikkerhedsklasse, "Normal");
    choose(m->cmbDaekKvalitet, "K0,4");
    EXPECT_EQ(shownTexts(), std::vector<QString>{QStringLiteral("Fejl ved søgning af styrke !")});
    EXPECT_EQ(m->txtDaekEo->text(), "23487"); // from the C25/30 that Normal computed
}

TEST_F(SlabPageTest, NoQualityClearsTheValuesAndTheThickness) {
    showPage(Page::Slab);
    concreteSlab("Normal", "C25/30");
    m->txtDaekTykkelse->setText("150");
    ui::SetListText(m->cmbDaekKvalitet, QString());
    m->OpdaterBetonKvalitet();
    expectCleared();
    EXPECT_EQ(focused(), m->cmbDaekKvalitet);

    // A new safety class without a quality does the same.
    m->txtDaekTykkelse->setText("150");
    choose(m->cmbDaekSikkerhedsklasse, "Lav");
    expectCleared();
    EXPECT_EQ(focused(), m->cmbDaekKvalitet);
}

TEST_F(SlabPageTest, WhileAnotherRefreshRunsTheValuesChangeButNotTheFocusTheFrameOrTheSketch) {
    showPage(Page::Slab);
    concreteSlab("Normal", "C16/20");
    m->cmbDaekType->setFocus();
    uitest::processEvents();
    PaintCounter frame(m->frmDaek);
    m->sketchRuns = 0;
    m->opdaterer() = 1;
    ui::SetListText(m->cmbDaekKvalitet, "C25/30");
    m->OpdaterBetonKvalitet();
    EXPECT_EQ(m->txtDaekTrykstyrke->text(), "15,15");
    EXPECT_EQ(focused(), m->cmbDaekType);
    EXPECT_EQ(frame.paints, 0);
    EXPECT_EQ(m->sketchRuns, 0);
    m->opdaterer() = 0;
}

TEST_F(SlabPageTest, FromBetonToATableTypeTheTableFillsTheLockedPage) {
    showPage(Page::Slab);
    concreteSlab("Normal", "C25/30");
    uitest::processEvents();
    PaintCounter frame(m->frmDaek);
    ui::SetListText(m->cmbDaekType, "OSB/3, 22 mm");
    m->OpdaterDaekType();
    EXPECT_GT(frame.paints, 0);
    expectGroup(false);
    EXPECT_FALSE(ui::Visible(m->lblRevnevidde));
    // Zero, and shown in its pattern by the sketch run's commit.
    EXPECT_EQ(m->txtDaekTraekstyrkeKar->text(), "0,00");
    EXPECT_EQ(m->txtDaekTau->text(), "0");
    EXPECT_EQ(stored("inddata", "tau"), engine::Variant(0.0));
    EXPECT_EQ(ui::ListText(m->cmbDaekKvalitet), "");
    EXPECT_EQ(m->txtDaekTrykstyrke->text(), "3,98");
    EXPECT_EQ(m->txtDaekTykkelse->text(), "22");
    expectLocked(true);
    EXPECT_TRUE(m->txtDaekTykkelse->isReadOnly());
    EXPECT_EQ(focused(), m->cmbDaekType);
    // The safety class and the environmental class stay for a later concrete slab.
    EXPECT_EQ(ui::ListText(m->cmbDaekSikkerhedsklasse), "Normal");

    // No slab type empties and locks the page.
    ui::SetListText(m->cmbDaekType, QString());
    m->OpdaterDaekType();
    expectCleared();
    expectLocked(true);
    EXPECT_TRUE(m->txtDaekTykkelse->isReadOnly());
    EXPECT_EQ(focused(), m->cmbDaekType);
}

TEST_F(SlabPageTest, UserDefinedOpensTheValueBoxesOnceAndKeepsWhatIsTyped) {
    showPage(Page::Slab);
    choose(m->cmbDaekType, "OSB/3, 22 mm");
    uitest::processEvents();
    PaintCounter frame(m->frmDaek);
    ui::SetListText(m->cmbDaekType, "Brugerdefineret");
    m->OpdaterDaekType();
    EXPECT_EQ(frame.paints, 0); // the concrete group did not change
    expectLocked(false);
    EXPECT_FALSE(m->txtDaekTykkelse->isReadOnly());
    EXPECT_EQ(ui::ListText(m->cmbDaekKvalitet), "Brugerdefineret");
    expectCleared();
    EXPECT_EQ(focused(), m->txtDaekTrykstyrke);

    m->txtDaekEo->setText("4000");
    m->txtDaekTykkelse->setText("30");
    m->OpdaterDaekType();
    EXPECT_EQ(m->txtDaekEo->text(), "4000");
    EXPECT_EQ(m->txtDaekTykkelse->text(), "30");

    // Concrete after user-defined starts without a quality, so without values.
    choose(m->cmbDaekType, "Beton");
    EXPECT_EQ(ui::ListText(m->cmbDaekKvalitet), "");
    expectCleared();
    expectLocked(true);
}

TEST_F(SlabPageTest, BetonAgainRecomputesWithoutChangingTheGroup) {
    showPage(Page::Slab);
    concreteSlab("Normal", "C25/30");
    m->txtDaekTykkelse->setText("120");
    m->txtDaekEo->setText("1");
    uitest::processEvents();
    PaintCounter frame(m->frmDaek);
    m->OpdaterDaekType();
    EXPECT_EQ(frame.paints, 0);
    EXPECT_EQ(m->txtDaekEo->text(), "23487");
    EXPECT_EQ(m->txtDaekTykkelse->text(), "120");
    EXPECT_FALSE(m->txtDaekTykkelse->isReadOnly());
    expectGroup(true);
}

TEST_F(SlabPageTest, AnEmptiedEnvironmentalClassZeroesCoverAndCrackWidth) {
    showPage(Page::Slab);
    choose(m->cmbDaekType, "Beton");
    choose(m->cmbMKlasse, "Aggressiv");
    EXPECT_EQ(m->txtDaeklag->text(), "35");
    EXPECT_TRUE(ui::Visible(m->txtRevnevidde));
    m->cmbDaekKvalitet->setFocus();
    ui::SetListText(m->cmbMKlasse, QString());
    m->OpdaterMiljoeklasse();
    EXPECT_EQ(m->txtDaeklag->text(), "0");
    EXPECT_EQ(m->txtRevnevidde->text(), "0");
    EXPECT_FALSE(ui::Visible(m->txtRevnevidde));
    EXPECT_EQ(focused(), m->cmbDaekType);
}

TEST_F(SlabPageTest, FormaterDaekShowsTheStoredValuesInTheirPatterns) {
    store("inddata", "TrykstyrkeRgm", 12.345);
    store("inddata", "Revnevidde", 0.25);
    showPage(Page::Slab);
    m->txtDaekTrykstyrke->setText("99"); // not yet stored: the record's value wins
    m->txtDaekEo->setText("");
    m->txtTerraenBallast->setText("");
    m->FormaterDaek();
    EXPECT_EQ(m->txtDaekTrykstyrke->text(), "12,35");
    EXPECT_EQ(m->txtDaekEo->text(), "0");
    EXPECT_EQ(m->txtRevnevidde->text(), "0,3");
    EXPECT_EQ(m->txtTerraenBallast->text(), "0");

    // An empty field behind a box that holds text cannot be formatted.
    m->dataInddata->Fields("TraekstyrkeKar").setValue(engine::Variant::Null());
    m->txtDaekTraekstyrkeKar->setText("1");
    EXPECT_EQ(uitest::raised([&] { m->FormaterDaek(); }), engine::err::InvalidUseOfNull);
    EXPECT_EQ(m->LogNr, 407);
}

TEST_F(SlabPageTest, AnErrorInsideARefreshIsReportedAndLeavesRedrawsOn) {
    store("inddata", "sikkerhedsklassetext", "Ukendt");
    store("inddata", "kvalitettext", "C25/30");
    showPage(Page::Slab);
    choose(m->cmbDaekType, "Beton");
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::Critical);
    EXPECT_TRUE(messages->shown[0].text.contains("Function: frmMain, Log nr. 441"));
    EXPECT_TRUE(messages->shown[0].text.contains(QString::fromUtf8("Fejlnr.: 94")));
    EXPECT_EQ(m->opdaterer(), 0);
    // The page still redraws the sketch after the next choice.
    m->sketchRuns = 0;
    choose(m->cmbDaekSikkerhedsklasse, "Normal");
    EXPECT_EQ(m->sketchRuns, 1);
}

} // namespace
