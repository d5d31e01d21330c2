// The cross-section sketch on the main window: an error in its values.

#include "page_script.h"
#include "ui/sketch_canvas.h"

#include <cmath>

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
    store("inddatalast", "Størrelse", 40.0);
    w->TegnSkitse(false);
    run({"sktDaektype= C25 "});
    EXPECT_FALSE(segments().empty());

    // In pixels of 15 twips: captions an eighth in, centred on their band (slab 800-1600, the one layer drawn as
    // the lower one 1600-2400, gravel 2400-3600) or at fixed heights; the rest chained leftwards from the right.
    const QWidget *pic = w->SkitseFlade;
    const auto at = [pic](const char *name) { return pic->findChild<QLabel *>(name)->geometry(); };
    const auto px = [](int twips) { return int(std::lround(twips / 15.0)); };
    const auto centred = [&](const char *name, int top) { return px(top + 400 - at(name).height() * 15 / 2); };
    const int eighth = px(pic->width() * 15 / 8);
    for (const auto &[name, x, y] : std::initializer_list<std::tuple<const char *, int, int>>{
             {"sktLastnr_1", eighth, px(320)},
             {"sktLaststr_1", eighth, px(560)},
             {"sktDaektype", eighth, centred("sktDaektype", 800)},
             {"sktIbund", eighth, centred("sktIbund", 1600)},
             {"sktmlm", eighth, px(3000 - at("sktmlm").height() * 15 / 2)},
             {"sktTerr", eighth, px(3800)},
             {"sktBallast_0", -1, px(3800)},
             {"sktEbund_0", -1, centred("sktEbund_0", 1600)},
             {"sktUV_0", -1, pic->height() - at("sktUV_0").height() - px(200)}})
        EXPECT_EQ(QPoint(x < 0 ? at(name).x() : x, y), at(name).topLeft()) << name;
    for (const auto &[left, right] :
         std::initializer_list<std::pair<const char *, const char *>>{{"sktLaststr_1", "sktLaststr1_1"},
                                                                      {"sktEbund_0", "sktEbund_1"},
                                                                      {"sktEbund_1", "sktEbund_2"},
                                                                      {"sktEbund_2", "sktEbund_5"},
                                                                      {"sktEbund_5", nullptr},
                                                                      {"sktUV_0", "sktUV_1"},
                                                                      {"sktUV_1", "sktUV_2"},
                                                                      {"sktUV_2", nullptr},
                                                                      {"sktBallast_0", "sktBallast_1"},
                                                                      {"sktBallast_1", nullptr}}) {
        EXPECT_EQ(at(left).right() + 1, right ? at(right).x() : pic->width()) << left;
        EXPECT_TRUE(!right || at(left).y() == at(right).y()) << left;
    }
}

} // namespace
