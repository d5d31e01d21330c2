#include "page_fixture.h"

using uitest::PageTest;
using uitest::PaintCounter;

namespace {

class LoadPageTest : public PageTest {
protected:
    // A load type typed into its list and accepted with Enter.
    void typeLoad(const QString &typed) {
        // Leaving a shape list sends the focus on to the width box; the second try stays.
        for (int i = 0; i < 2 && focused() != m->cmbLastType; ++i) {
            m->cmbLastType->setFocus();
            uitest::processEvents();
        }
        ASSERT_EQ(focused(), m->cmbLastType);
        m->cmbLastType->lineEdit()->selectAll();
        uitest::keyClicks(m->cmbLastType, typed);
        uitest::keyClick(m->cmbLastType, Qt::Key_Return);
    }
    bool shown(QWidget *w) const { return ui::Visible(w); }
};

TEST_F(LoadPageTest, FromALoadPairToAPointLoadTheSpacingGoesAndALineShapeIsEmptiedAtOnce) {
    store("inddatalast", "Lasttype", "Lastpar");
    store("inddatalast", "LastForm", "Linielast");
    store("inddatalast", "Afstand", 2.5);
    showPage(Page::Loads);
    m->VisLast(*m->dataLast);
    EXPECT_TRUE(shown(m->txtAfstandLastpar));
    EXPECT_EQ(ui::ListText(m->cmbLastForm), "Linielast");
    EXPECT_EQ(focused(), m->txtAfstandLastpar);

    typeLoad("punkt");
    EXPECT_EQ(m->txtLastType->text(), "Punktlast");
    EXPECT_FALSE(shown(m->lblAfstandLastparEnhed));
    EXPECT_EQ(m->txtAfstandLastpar->text(), "0");
    EXPECT_EQ(ui::ListEntries(m->cmbLastForm), QStringList({"Rektangel", "Kvadrat", "Cirkel"}));
    EXPECT_EQ(ui::ListText(m->cmbLastForm), "");
    EXPECT_FALSE(shown(m->txtLastFormLaengde));
    EXPECT_EQ(focused(), m->cmbLastForm);
    // The emptied shape went into the record at once, with the page's other edits.
    EXPECT_EQ(stored("inddatalast", "LastForm"), engine::Variant(""));
    EXPECT_EQ(stored("inddatalast", "Afstand"), engine::Variant(0.0));
    EXPECT_EQ(m->lblLastStorrelseEnhed[0]->text(), "kN");
}

TEST_F(LoadPageTest, ALineLoadHasOnlyItsWidthAndTheFocusFollowsThePlacement) {
    for (const char *placement : {"Kant", "Midt", ""}) {
        SCOPED_TRACE(placement);
        store("inddatalast", "Lasttype", "");
        store("inddatalast", "Placering", placement);
        showPage(Page::Loads);
        m->txtLastFormLaengde->setText("300");
        typeLoad("lin");
        EXPECT_EQ(ui::ListEntries(m->cmbLastForm), QStringList({"Linielast"}));
        EXPECT_EQ(ui::ListText(m->cmbLastForm), "Linielast");
        EXPECT_TRUE(shown(m->txtLastFormBredde));
        EXPECT_EQ(m->lblLastFormBredde->text(), "bredde");
        EXPECT_FALSE(shown(m->txtLastFormLaengde));
        EXPECT_EQ(m->txtLastFormLaengde->text(), "0");
        EXPECT_EQ(m->lblLastStorrelseEnhed[0]->text(), "kN/m");
        EXPECT_EQ(m->lblLastStorrelseEnhed[1]->text(), " ");
        const QString p = QString::fromUtf8(placement);
        if (p == "Kant") {
            EXPECT_EQ(focused(), m->txtLastKantFugeAfstand);
            EXPECT_EQ(m->lblLastKantFugeAfstandEnhed->text(), "mm fra Kant");
        } else if (p == "Midt") {
            EXPECT_EQ(focused(), m->txtLastStorrelse);
            EXPECT_FALSE(shown(m->txtLastKantFugeAfstand));
        } else {
            EXPECT_EQ(focused(), m->txtLastFormBredde);
        }
        m.reset();
    }
}

TEST_F(LoadPageTest, AnAreaLoadHidesShapeDimensionsAndPlacementAndHasUnitKNPerSquareMetre) {
    store("inddatalast", "Lasttype", "Hjultryk");
    store("inddatalast", "LastForm", "Rektangel");
    store("inddatalast", "Placering", "Fuge");
    store("inddatalast", "bredde", 200);
    store("inddatalast", "Afstandfra", 400);
    showPage(Page::Loads);
    typeLoad("flade");
    for (QWidget *w : std::initializer_list<QWidget *>{m->cmbLastForm, m->lblLastForm, m->txtLastFormBredde,
                                                       m->txtLastFormLaengde, m->cmbLastPlacering,
                                                       m->txtLastKantFugeAfstand, m->lblLastKantFugeAfstandEnhed})
        EXPECT_FALSE(shown(w)) << w->objectName().toStdString();
    EXPECT_EQ(ui::ListText(m->cmbLastForm), "");
    EXPECT_EQ(ui::ListText(m->cmbLastPlacering), "");
    EXPECT_EQ(m->txtLastFormBredde->text(), "0");
    EXPECT_EQ(m->txtLastKantFugeAfstand->text(), "0");
    EXPECT_EQ(m->lblLastStorrelseEnhed[0]->text(), "kN/m");
    EXPECT_EQ(m->lblLastStorrelseEnhed[1]->text(), "2");
    EXPECT_EQ(focused(), m->txtLastStorrelse);

    // Back to a wheel load: the exponent is a blank again and follows the shorter unit.
    typeLoad("hjul");
    EXPECT_EQ(m->lblLastStorrelseEnhed[0]->text(), "kN");
    EXPECT_EQ(m->lblLastStorrelseEnhed[1]->text(), " ");
    EXPECT_EQ(m->lblLastStorrelseEnhed[1]->x(),
              m->lblLastStorrelseEnhed[0]->x() + m->lblLastStorrelseEnhed[0]->width());
    EXPECT_EQ(m->lblLastStorrelseEnhed[1]->y(), m->lblLastStorrelseEnhed[0]->y());
    EXPECT_TRUE(shown(m->cmbLastPlacering));
}

TEST_F(LoadPageTest, NoLoadHidesEveryValueFieldAndRedraws) {
    store("inddatalast", "Lasttype", "Punktlast");
    store("inddatalast", "LastForm", "Kvadrat");
    store("inddatalast", QString::fromUtf8("Størrelse"), 40);
    store("inddatalast", "PartialK", 1.5);
    showPage(Page::Loads);
    m->VisLast(*m->dataLast);
    m->sketchRuns = 0;
    typeLoad("<in");
    EXPECT_EQ(ui::ListText(m->cmbLastType), "<ingen last>");
    EXPECT_EQ(m->txtLastType->text(), "");
    for (QWidget *w : std::initializer_list<QWidget *>{
             m->txtAfstandLastpar, m->cmbLastForm, m->txtLastFormBredde, m->cmbLastPlacering, m->txtLastStorrelse,
             m->lblLastStorrelseEnhed[0], m->lblLastStorrelseEnhed[1], m->txtPartialK, m->lblPartialK})
        EXPECT_FALSE(shown(w)) << w->objectName().toStdString();
    EXPECT_TRUE(shown(m->txtLastNr));
    EXPECT_EQ(m->sketchRuns, 1);
    // The sketch run committed the emptied slot.
    EXPECT_EQ(stored("inddatalast", "Lasttype"), engine::Variant(""));
    EXPECT_EQ(stored("inddatalast", QString::fromUtf8("Størrelse")), engine::Variant(0.0));
    EXPECT_EQ(stored("inddatalast", "PartialK"), engine::Variant(1.0));
}

TEST_F(LoadPageTest, OnlyANullShapeIsWrittenBack) {
    store("inddatalast", "LastForm", engine::Variant::Null(), 1);
    showPage(Page::Loads);
    m->opdaterer() = 1; // no sketch run, which would commit the page
    ui::SetListText(m->cmbLastType, "Hjultryk");
    m->txtLastStorrelse->setText("5");
    m->VisLast(*m->dataLast); // load 1: its shape is the empty text
    EXPECT_EQ(stored("inddatalast", QString::fromUtf8("Størrelse")), engine::Variant(0.0));

    m->dataLast->MoveNext();
    ui::SetListText(m->cmbLastType, "Hjultryk");
    m->txtLastStorrelse->setText("7");
    m->VisLast(*m->dataLast); // load 2: no shape at all, repaired in the record with the page's edits
    EXPECT_EQ(stored("inddatalast", "LastForm", 1), engine::Variant(""));
    EXPECT_EQ(stored("inddatalast", QString::fromUtf8("Størrelse"), 1), engine::Variant(7.0));
    EXPECT_EQ(ui::ListText(m->cmbLastForm), "");
    m->opdaterer() = 0;
}

TEST_F(LoadPageTest, WhileAnotherRefreshRunsTheFocusMovesButNothingIsRedrawn) {
    showPage(Page::Loads);
    uitest::processEvents();
    PaintCounter frame(m->frmLast);
    ui::SetListText(m->cmbLastType, "Fladelast");
    m->opdaterer() = 1;
    m->VisLast(*m->dataLast);
    m->opdaterer() = 0;
    EXPECT_EQ(focused(), m->txtLastStorrelse);
    EXPECT_EQ(m->sketchRuns, 0);
    EXPECT_EQ(frame.paints, 0);

    m->cmbLastType->setFocus(); // the size box's own redraw comes first
    uitest::processEvents();
    m->sketchRuns = 0;
    frame.paints = 0;
    ui::SetListText(m->cmbLastType, "Punktlast");
    m->VisLast(*m->dataLast);
    EXPECT_EQ(m->sketchRuns, 1);
    EXPECT_GT(frame.paints, 0);
}

TEST_F(LoadPageTest, TheShapeDecidesTheDimensionFields) {
    store("inddatalast", "Lasttype", "Punktlast");
    showPage(Page::Loads);
    m->VisLast(*m->dataLast);
    m->txtLastFormLaengde->setText("250");
    choose(m->cmbLastForm, "Rektangel");
    EXPECT_TRUE(shown(m->txtLastFormBredde));
    EXPECT_TRUE(shown(m->txtLastFormLaengde));
    EXPECT_EQ(m->txtLastFormLaengde->text(), "250");
    EXPECT_EQ(focused(), m->txtLastFormBredde);

    choose(m->cmbLastForm, "Cirkel");
    EXPECT_EQ(m->lblLastFormBredde->text(), "diameter");
    EXPECT_FALSE(shown(m->txtLastFormLaengde));
    EXPECT_EQ(m->txtLastFormLaengde->text(), "0");

    choose(m->cmbLastForm, "Kvadrat");
    EXPECT_EQ(m->lblLastFormBredde->text(), "bredde");
    // An emptied shape hides both and leaves the width's caption alone.
    m->lblLastFormBredde->setText("diameter");
    ui::SetListText(m->cmbLastForm, "");
    m->txtLastFormBredde->setText("100");
    m->OpdaterLastForm();
    EXPECT_FALSE(shown(m->txtLastFormBredde));
    EXPECT_EQ(m->txtLastFormBredde->text(), "0");
    EXPECT_EQ(m->lblLastFormBredde->text(), "diameter");

    choose(m->cmbLastPlacering, "Fuge");
    EXPECT_EQ(m->lblLastKantFugeAfstandEnhed->text(), "mm fra Fuge");
    EXPECT_TRUE(shown(m->txtLastKantFugeAfstand));
    EXPECT_EQ(focused(), m->txtLastKantFugeAfstand);
}

TEST_F(LoadPageTest, FormaterLastShowsTheRecordInTwoDecimals) {
    store("inddatalast", QString::fromUtf8("Størrelse"), 12.5);
    store("inddatalast", "Afstand", 1.255);
    showPage(Page::Loads);
    m->txtLastStorrelse->setText("77"); // the record's value wins over the box's own
    m->txtPartialK->setText("");
    m->txtLastFormBredde->setText("");
    m->FormaterLast(m->dataLast->Recordset());
    EXPECT_EQ(m->txtLastStorrelse->text(), "12,50");
    EXPECT_EQ(m->txtPartialK->text(), "1,00");
    EXPECT_EQ(m->txtAfstandLastpar->text(), "1,26");
    EXPECT_EQ(m->txtLastFormBredde->text(), "0");
}

} // namespace
