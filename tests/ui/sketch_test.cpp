// The cross-section sketch on the main window: an error in its values.

#include "page_script.h"
#include "ui/sketch_canvas.h"

namespace {

class SketchWindowTest : public uitest::ScriptTest {
protected:
    const std::vector<sketch::Segment> &segments() const { return w->SkitseFlade->Segments(); }
};

TEST_F(SketchWindowTest, AnErrorInTheFoundationValuesIsReportedAndDrawsNothing) {
    // A floor whose insulation layer's dry resistance divides by its conductivity.
    run({"store inddata.daekType=Beton | store inddata.kvalitettext=C25 | store inddata.dæktykkelse=100 | "
         "store inddata.terræn=Sand | store inddata.terrænballast=20000 | store inddata.mellemlag=Grus | "
         "store inddata.mellemlagkorr=1.3 | store inddata.mellemlagtykkelse=150 | store inddatalast.Lasttype=Hjultryk "
         "| "
         "store inddataisolering.IsoleringType=EPS 150 | store inddataisolering.IsoleringTykkelse=100 | "
         "store inddataisolering.Eo=5000 | store inddataisolering.En=3000 | store inddataisolering.LambdaVåd=0.045 | "
         "store inddataisolering.LambdaTør=0"});
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
