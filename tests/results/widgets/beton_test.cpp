// The results window of a concrete slab: what it shows, which report it chooses, and how loading fails.

#include "results/results_fixture.h"
#include "results/widgets/beton.h"
#include "results/widgets/results_windows.h"
#include "ui/controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using engine::Variant;

namespace {

class BetonTest : public resultstest::ResultsFixture {
protected:
    void addResult(Fields fields) {
        // clang-format off
        addRow("ResultatBeton", {
            {"KarakteristiskMaxPos", 12.345}, {"KarakteristiskMaxNeg", -3.456}, {"RetningsmMaxPos", 17.5},
            {"RetningsmMaxNeg", -4.994}, {"Deformation", 0.5}, {"Uværdi", 0.1234}, {"RetningsmKapUarm", 20},
            {"IsoFaktisk", 12.34}, {"IsoTilladt", 45.05}, {"IsoFaktisk2", 8.04}, {"IsoTilladt2", 30},
            {"Oplysning1", "Brud ! Tryk på isolering er for stort"}, {"Oplysning2", "Anden"}, {"Oplysning3", ""},
            {"Oplysning4", ""}, {"Oplysning5", "Femte"}});
        // clang-format on
        set("ResultatBeton", fields);
    }

    static std::unique_ptr<results::Beton> load() {
        auto window = std::make_unique<results::Beton>();
        window->Form_Load();
        return window;
    }

    static QString text(const QWidget &w, const QString &box) {
        const auto *b = w.findChild<QLineEdit *>(box);
        EXPECT_NE(b, nullptr) << box.toStdString();
        return b ? b->text() : QString();
    }
};

TEST_F(BetonTest, FillsTheResultBoxesWithTheirPatternsInTheRegionalSettings) {
    addResult({});
    addAllArmering();
    const auto w = load();
    EXPECT_TRUE(messages->shown.empty());
    // clang-format off
    const std::pair<const char *, const char *> boxes[] = {
        {"KarMaxPos", "12,35"}, {"KarMaxNeg", "-3,46"}, {"RegMaxPos", "17,50"}, {"RegMaxNeg", "-4,99"},
        {"Deform", "0,50"}, {"UValue", "0,12"}, {"RegKapUarm", "20,00"}, {"FakIso", "12,3"}, {"TilIso", "45,1"},
        {"FakIso2", "8,0"}, {"TilIso2", "30,0"}};
    // clang-format on
    for (const auto &[box, expected] : boxes)
        EXPECT_EQ(text(*w, box), expected);

    QLocale::setDefault(QLocale::c());
    const auto point = load();
    EXPECT_EQ(text(*point, "KarMaxNeg"), "-3.46");
    EXPECT_EQ(text(*point, "FakIso"), "12.3");
}

TEST_F(BetonTest, FillsTheRemarkLinesFromTheTopInBold) {
    addResult({});
    addAllArmering();
    const auto w = load();
    EXPECT_EQ(w->Oplysning[1]->text(), "Brud ! Tryk på isolering er for stort");
    EXPECT_EQ(w->Oplysning[2]->text(), "Anden");
    EXPECT_EQ(w->Oplysning[3]->text(), "");
    EXPECT_EQ(w->Oplysning[5]->text(), "Femte");
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(w->Oplysning[k]->objectName(), QStringLiteral("Oplysning_%1").arg(k));
        EXPECT_TRUE(w->Oplysning[k]->font().bold());
        if (k > 1) {
            EXPECT_GT(w->Oplysning[k]->y(), w->Oplysning[k - 1]->y());
        }
    }
}

TEST_F(BetonTest, FillsTheReinforcementGridsByDiameterSideAndSteelType) {
    addResult({});
    // A row of diameter 14 would be picked if the grid ever asked for it.
    addArmering(14, 1, false, 9999, 9999);
    addAllArmering();
    sql("UPDATE ResultatArmering SET [As] = 161.57 WHERE Diameter = 10 AND StaalType = 1 AND Overside = False");
    sql("UPDATE ResultatArmering SET [As] = 0, a = 0 WHERE Diameter = 12 AND StaalType = 2 AND Overside = True");
    const auto w = load();
    ASSERT_TRUE(messages->shown.empty());
    const int diameters[] = {6, 8, 10, 12, 16};
    for (size_t i = 0; i < 5; ++i) {
        const int d = diameters[i];
        auto expect = [&](const std::array<QLineEdit *, 5> &column, int s, bool top, bool area) {
            const int tail = s * 10 + (top ? 1 : 0);
            QString want = QString::number(area ? d * 100 + tail : d * 1000 + tail);
            if (d == 10 && s == 1 && !top && area)
                want = "162";
            if (d == 12 && s == 2 && top)
                want = ""; // no layout of that diameter
            EXPECT_EQ(column[i]->text(), want) << column[i]->objectName().toStdString();
        };
        expect(w->UMA, 1, false, true);
        expect(w->UAC, 1, false, false);
        expect(w->UAATS, 2, false, true);
        expect(w->UACTS, 2, false, false);
        expect(w->OAA, 1, true, true);
        expect(w->OAC, 1, true, false);
        expect(w->OAATS, 2, true, true);
        expect(w->OACTS, 2, true, false);
    }
    EXPECT_EQ(w->UMA[0]->objectName(), "UMA_0");
    EXPECT_EQ(w->OACTS[4]->objectName(), "OACTS_4");
}

TEST_F(BetonTest, NoSecondLayerHidesTheLowerRowAndChoosesTheOneLayerReport) {
    addResult({{"IsoTilladt2", 0}, {"IsoFaktisk2", 0}});
    addAllArmering();
    auto w = load();
    EXPECT_EQ(w->RapportNavn, "Beton1.rpt");
    EXPECT_FALSE(ui::Visible(w->lblIsolering2));
    EXPECT_FALSE(ui::Visible(w->FakIso2));
    EXPECT_FALSE(ui::Visible(w->TilIso2));
    EXPECT_TRUE(ui::Visible(w->FakIso));

    for (const Variant &lower : {Variant(30.0), Variant(0.01), Variant::Null()}) {
        set("ResultatBeton", {{"IsoTilladt2", lower}});
        w = load();
        EXPECT_EQ(w->RapportNavn, "Beton.rpt");
        EXPECT_TRUE(ui::Visible(w->lblIsolering2));
        EXPECT_TRUE(ui::Visible(w->FakIso2));
        EXPECT_TRUE(ui::Visible(w->TilIso2));
    }
    EXPECT_EQ(w->TilIso2->text(), "") << "a missing value shows as an empty box";
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(BetonTest, AnEmptyResultTableIsReportedAndLeavesTheBoxesEmpty) {
    addAllArmering();
    const auto w = load();
    ASSERT_EQ(messages->shown.size(), 1u);
    const auto &m = messages->shown[0];
    EXPECT_TRUE(m.text.contains(QStringLiteral("\rFunction: frmBeton, Log nr. 4\rFejlnr.: 3021, ")));
    EXPECT_EQ(m.icon, platform::Icon::Critical);
    EXPECT_EQ(text(*w, "KarMaxPos"), "");
    EXPECT_EQ(w->RapportNavn, "");
}

TEST_F(BetonTest, AFailedStepSkipsTheRestOfTheLoading) {
    addResult({{"Oplysning3", Variant::Null()}});
    addAllArmering();
    auto w = load();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_TRUE(messages->shown[0].text.contains(QStringLiteral("Function: frmBeton, Log nr. 7\rFejlnr.: 94, ")));
    EXPECT_EQ(w->RapportNavn, "Beton.rpt");
    EXPECT_EQ(w->Oplysning[2]->text(), "Anden");
    EXPECT_EQ(w->UMA[0]->text(), "");

    messages->shown.clear();
    set("ResultatBeton", {{"Oplysning3", ""}});
    sql("DELETE FROM ResultatArmering WHERE Diameter = 12 AND StaalType = 2 AND Overside = True");
    w = load();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_TRUE(messages->shown[0].text.contains(QStringLiteral("Function: frmBeton, Log nr. 13\rFejlnr.: 3021, ")));
    EXPECT_EQ(w->OAA[4]->text(), "1611");
    EXPECT_EQ(w->OAATS[2]->text(), "1021");
    EXPECT_EQ(w->OAATS[3]->text(), "");
    EXPECT_EQ(w->OACTS[2]->text(), "10021");
    EXPECT_EQ(w->OAATS[4]->text(), "");
}

TEST_F(BetonTest, ShowsItsFramesHeadsAndUnitsAsDesigned) {
    addResult({});
    addAllArmering();
    const auto dialog = results::MakeBeton(nullptr);
    const auto *w = dynamic_cast<results::Beton *>(dialog.get());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->objectName(), "Beton");
    EXPECT_EQ(w->windowTitle(), "Beton");
    EXPECT_EQ(w->Command1[0]->text(), "&OK");
    EXPECT_EQ(w->Command1[1]->text(), "&Udskriv");
    EXPECT_LT(w->Command1[0]->y(), w->Command1[1]->y());
    EXPECT_EQ(w->lblIsolering2->text(), "   -    nederste lag");

    // Left column from the top, the grids on the right, the buttons below them.
    const QWidget *momenter = w->KarMaxPos->parentWidget(), *under = w->UMA[0]->parentWidget(),
                  *over = w->OAA[0]->parentWidget();
    const QWidget *left[] = {momenter, w->FakIso->parentWidget(), w->Deform->parentWidget(), w->UValue->parentWidget(),
                             w->Oplysning[1]->parentWidget()};
    for (size_t i = 1; i < 5; ++i)
        EXPECT_GE(left[i]->y(), left[i - 1]->y() + left[i - 1]->height());
    EXPECT_EQ(qobject_cast<const QGroupBox *>(under)->title(), "Undersidearmering");
    EXPECT_EQ(qobject_cast<const QGroupBox *>(over)->title(), "Oversidearmering");
    EXPECT_GT(under->x(), momenter->x() + momenter->width());
    EXPECT_GE(over->y(), under->y() + under->height());
    EXPECT_GT(w->Command1[0]->y(), over->y() + over->height());

    QStringList labels;
    for (const QLabel *l : under->findChildren<QLabel *>())
        labels << l->text();
    for (const char *caption : {"D", "mm", "6", "8", "10", "12", "16", "Kamstål Ks 410 S", "Kamstål Ks 550 S",
                                "Ny tentor K 550 TS", "mm  /m", "C-C mm"})
        EXPECT_TRUE(labels.contains(QString::fromUtf8(caption))) << caption;
    EXPECT_FALSE(labels.contains("14"));
}

// A unit's exponent is a small "2" raised just after its base, inside the blank the unit leaves for it.
TEST_F(BetonTest, DrawsTheExponentsOfTheUnitsRaisedAfterTheirBase) {
    addResult({});
    addAllArmering();
    const auto w = load();
    const struct {
        const char *unit;
        const char *base;
    } units[] = {{"lblTrykEnhed1", "kN/m"},
                 {"lblTrykEnhed2", "kN/m"},
                 {"lblUValueEnhed", "W/m"},
                 {"lblUMAEnhed", "mm"},
                 {"lblOAATSEnhed", "mm"}};
    for (const auto &u : units) {
        const auto *label = w->findChild<QLabel *>(QString::fromUtf8(u.unit));
        const auto *exponent = w->findChild<QLabel *>(QString::fromUtf8(u.unit) + "Eksponent");
        ASSERT_TRUE(label && exponent) << u.unit;
        EXPECT_EQ(exponent->text(), "2");
        EXPECT_LT(exponent->font().pixelSize(), label->font().pixelSize()) << u.unit;
        EXPECT_LT(exponent->y(), label->y()) << u.unit;
        const int after = label->x() + QFontMetrics(label->font()).horizontalAdvance(QString::fromUtf8(u.base));
        EXPECT_EQ(exponent->x(), after) << u.unit;
    }
    EXPECT_EQ(w->findChild<QLabel *>("lblUValueEnhed")->text(), "W/m  K");
    EXPECT_EQ(w->findChild<QLabel *>("lblTrykEnhed1")->text(), "kN/m");
    EXPECT_EQ(w->findChild<QLabel *>("lblMomentEnhed1")->text(), "kNm/m");
    EXPECT_EQ(w->findChild<QLabel *>("lblMomentEnhed1Eksponent"), nullptr);
}

} // namespace
