// The cross-section sketch on the main window: when it is drawn, where its captions go, and its errors.

#include "page_script.h"
#include "ui/sketch_canvas.h"

namespace {

// A concrete slab of 100 mm on one layer of 100 mm, 150 mm of gravel over sand, one wheel load of 40 kN.
const QString kFloor =
    "store inddata.daekType=Beton | store inddata.kvalitettext=C25 | store inddata.dæktykkelse=100 | "
    "store inddata.terræn=Sand | store inddata.terrænballast=20000 | store inddata.mellemlag=Grus | "
    "store inddata.mellemlagkorr=1.3 | store inddata.mellemlaglambda=0 | store inddata.mellemlagtykkelse=150 | "
    "store inddataisolering.IsoleringType=EPS 150 | store inddataisolering.IsoleringTykkelse=100 | "
    "store inddataisolering.Eo=5000 | store inddataisolering.En=3000 | store inddataisolering.LambdaVåd=0.045 | "
    "store inddatalast.Lasttype=Hjultryk | store inddatalast.Størrelse=40 | store inddataisolering.LambdaTør=";

class SketchWindowTest : public uitest::ScriptTest {
protected:
    const std::vector<sketch::Segment> &segments() const { return w->SkitseFlade->Segments(); }
};

// The activation draws the floor with its captions and stores nothing; an unforced run redraws only on a change.
TEST_F(SketchWindowTest, TheActivationDrawsTheFloorAndAnUnforcedRunRedrawsOnlyWhenTheDrawnInputChanged) {
    run({kFloor + "0.04"});
    show();
    run({"sktDaektype= C25  | sktLastnr_1=Last 1 | sktLaststr_1=40,00 kN | sktIbund= EPS 150  | "
         "sktEbund_0=E(korttid): 5000 kN/m | sktUV_0=Uværdi: 0,25 W/m | db inddata.isolballasto=0 | "
         "set sktDaektype=untouched | store inddatalast.LastForm=Cirkel"});
    // A load's shape is not drawn; the values are stored all the same.
    w->TegnSkitse(false);
    EXPECT_NEAR(stored("inddata", "isolballasto").toDouble(), 50000, 50000 * 1e-12);
    run({"sktDaektype=untouched | store inddata.terrænballast=30000"});
    w->TegnSkitse(false);
    run({"sktDaektype= C25  | sktBallast_0=Res. ballasttal: 21910 kN/m"});
}

TEST_F(SketchWindowTest, AnErrorInTheFoundationValuesIsReportedAndDrawsNothing) {
    run({kFloor + "0"}); // the dry layer's resistance divides by it
    show();
    run({"msg~Fejlnr.: 11, Division by zero | hidden=sktDaektype"});
    EXPECT_TRUE(segments().empty());
    // The run closed its recordsets: the next one reads the corrected input and draws.
    store("inddataisolering", "LambdaTør", 0.04);
    w->TegnSkitse(false);
    run({"sktDaektype= C25 "});
    EXPECT_FALSE(segments().empty());
}

} // namespace
