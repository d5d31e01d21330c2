// The cross-section sketch on the main window: when it is drawn, where its captions go, and its errors.

#include "main_window_fixture.h"

#include "data/error_report.h"
#include "engine/errors.h"
#include "ui/sketch_canvas.h"

#include <QTest>
#include <cmath>

using engine::Variant;

namespace {

constexpr double kTwipsPerPixel = 15;

class SketchWindowTest : public uitest::MainWindowTest {
protected:
    // A concrete slab of 100 mm on one layer of 100 mm, 150 mm of gravel over sand, one wheel load.
    void storeFloor() {
        for (const auto &[field, value] :
             std::initializer_list<std::pair<const char *, Variant>>{{"daekType", "Beton"},
                                                                     {"kvalitettext", "C25"},
                                                                     {"dæktykkelse", 100},
                                                                     {"terræn", "Sand"},
                                                                     {"terrænballast", 20000},
                                                                     {"mellemlag", "Grus"},
                                                                     {"mellemlagkorr", 1.3},
                                                                     {"mellemlaglambda", 0},
                                                                     {"mellemlagtykkelse", 150}})
            store("inddata", QString::fromUtf8(field), value);
        for (const auto &[field, value] :
             std::initializer_list<std::pair<const char *, Variant>>{{"IsoleringType", "EPS 150"},
                                                                     {"IsoleringTykkelse", 100},
                                                                     {"Eo", 5000},
                                                                     {"En", 3000},
                                                                     {"LambdaVåd", 0.045},
                                                                     {"LambdaTør", 0.04}})
            store("inddataisolering", QString::fromUtf8(field), value);
        storeLoad(0, "Hjultryk", 40);
    }
    void storeLoad(int record, const char *type, double size) {
        store("inddatalast", "Lasttype", QString::fromUtf8(type), record);
        store("inddatalast", "Størrelse", size, record);
    }

    const std::vector<sketch::Segment> &segments() const { return w->SkitseFlade->Segments(); }
    double W() const { return w->SkitseFlade->width() * kTwipsPerPixel; }

    // The arrows' shafts, which start at the top edge, as x positions in twips.
    std::vector<double> arrowShafts() const {
        std::vector<double> xs;
        for (const sketch::Segment &g : segments())
            if (g.x1 == g.x2 && g.y1 == 0)
                xs.push_back(g.x1);
        return xs;
    }

    QString errorReport(std::int32_t logNr, std::int32_t errNumber) const {
        return data::ErrorReportText(QStringLiteral("Der opstod et problem under eksekvering af Fundator!"),
                                     QStringLiteral("frmMain"), logNr, errNumber, engine::runtimeErrorText(errNumber));
    }
};

int pixels(double twips) { return int(std::lround(twips / kTwipsPerPixel)); }

TEST_F(SketchWindowTest, TheActivationDrawsTheFloorWithItsCaptionsAndStoresNothing) {
    storeFloor();
    show();
    EXPECT_FALSE(segments().empty());
    QLabel *slab = w->sktDaektype;
    EXPECT_EQ(slab->text(), " C25 ");
    EXPECT_EQ(slab->parentWidget(), w->SkitseFlade);
    EXPECT_EQ(slab->x(), pixels(std::floor(W() / 8)));
    // Centred on the slab's band, 800 to 1600 twips.
    EXPECT_EQ(slab->y(), pixels(1200 - std::lround(slab->height() * kTwipsPerPixel) / 2));
    EXPECT_EQ(w->sktLastnr[1]->text(), "Last 1");
    EXPECT_EQ(w->sktLaststr[1]->text(), "40,00 kN");
    EXPECT_EQ(w->sktLaststr1[1]->x(), w->sktLaststr[1]->x() + w->sktLaststr[1]->width());
    EXPECT_EQ(w->sktIbund->text(), " EPS 150 ");
    EXPECT_TRUE(w->sktItop->isHidden());
    EXPECT_EQ(w->sktEbund[0]->text(), "E(korttid): 5000 kN/m");
    // The modulus line ends at the right edge: value, raised 2, value, raised 2.
    EXPECT_EQ(w->sktEbund[5]->x() + w->sktEbund[5]->width(), w->SkitseFlade->width());
    EXPECT_EQ(w->sktEbund[2]->x() + w->sktEbund[2]->width(), w->sktEbund[5]->x());
    EXPECT_EQ(w->sktEbund[5]->y(), w->sktEbund[0]->y());
    EXPECT_LT(w->sktEbund[5]->height(), w->sktEbund[0]->height());
    EXPECT_TRUE(w->sktEbund[3]->isHidden());
    EXPECT_EQ(w->sktUV[0]->text(), "Uværdi: 0,25 W/m");
    EXPECT_FALSE(w->sktBallast[0]->isHidden());

    EXPECT_EQ(stored("inddata", "isolballasto"), Variant(0.0));
    EXPECT_EQ(stored("inddata", "Uværdi"), Variant(0.0));
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(SketchWindowTest, AnUnforcedRunRedrawsOnlyWhenTheDrawnInputChanged) {
    storeFloor();
    show();
    w->sktDaektype->setText("untouched");

    // A load's shape is not drawn; the values are stored all the same.
    store("inddatalast", "LastForm", QStringLiteral("Cirkel"));
    w->TegnSkitse(false);
    EXPECT_EQ(w->sktDaektype->text(), "untouched");
    EXPECT_NEAR(stored("inddata", "isolballasto").toDouble(), 50000, 50000 * 1e-12);

    // The terrain's ballast changes the resulting subgrade modulus, which is drawn.
    store("inddata", "terrænballast", 30000);
    w->TegnSkitse(false);
    EXPECT_EQ(w->sktDaektype->text(), " C25 ");
    EXPECT_EQ(w->sktBallast[0]->text(), "Res. ballasttal: 21910 kN/m");
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(SketchWindowTest, ADoubleClickOnTheSketchDrawsItAfresh) {
    storeFloor();
    show();
    w->Skitse->show();
    w->Skitse->raise();
    w->sktDaektype->setText("untouched");
    w->calls.clear();
    QTest::mouseDClick(w->SkitseFlade, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(w->calls, std::vector<QString>({"TegnSkitse(True)", "FormaterDaek", "FormaterIsolering"}));
    EXPECT_EQ(w->sktDaektype->text(), " C25 ");
    EXPECT_EQ(stored("inddata", "isolballasto"), Variant(0.0));
}

TEST_F(SketchWindowTest, OnlyTheFirstFourLoadsAreDrawnEachInAQuarter) {
    storeFloor();
    for (int i = 0; i < 5; ++i)
        storeLoad(i, "Punktlast", 10 + i);
    show();
    const int seg = int(W()) / 4;
    EXPECT_EQ(arrowShafts(), std::vector<double>({seg / 2 + 60.0, seg + seg / 2 + 60.0, 2 * seg + seg / 2 + 60.0,
                                                  3 * seg + seg / 2 + 60.0}));
    EXPECT_EQ(w->sktLastnr[4]->text(), "Last 4");
    EXPECT_EQ(w->sktLastnr[4]->x(), pixels(3 * seg + seg / 8));
}

TEST_F(SketchWindowTest, AnErrorInTheFoundationValuesIsReportedAndDrawsNothing) {
    storeFloor();
    store("inddataisolering", "LambdaTør", 0); // the dry layer's resistance divides by it
    show();
    EXPECT_EQ(shownTexts(), std::vector<QString>({errorReport(202, engine::err::DivisionByZero)}));
    EXPECT_EQ(messages->shown[0].icon, platform::Icon::Critical);
    EXPECT_TRUE(segments().empty());
    EXPECT_TRUE(w->sktDaektype->isHidden());

    // The run closed its recordsets: the next one reads the corrected input and draws.
    messages->shown.clear();
    store("inddataisolering", "LambdaTør", 0.04);
    w->TegnSkitse(false);
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_FALSE(segments().empty());
    EXPECT_EQ(w->sktDaektype->text(), " C25 ");
}

// The pages are committed before the sketch run sets its own trap; the double-click reports the failure.
TEST_F(SketchWindowTest, AFailedCommitIsReportedByTheDoubleClickAndNothingIsRedrawn) {
    storeFloor();
    show();
    w->sktDaektype->setText("untouched");
    w->txtIsoleringTykkelse->setText("abc");
    w->Skitse_DblClick();
    EXPECT_EQ(shownTexts(), std::vector<QString>({errorReport(156, engine::err::TypeMismatch)}));
    EXPECT_EQ(w->sktDaektype->text(), "untouched");
    EXPECT_EQ(stored("inddataisolering", "IsoleringTykkelse"), Variant(100.0));
}

} // namespace
