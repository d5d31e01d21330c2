#include "sketch/sketch.h"

#include "engine/checked.h"
#include "platform/numbers.h"

#include <initializer_list>
#include <utility>

namespace sketch {

namespace ck = engine::checked;

namespace {

constexpr double kLoadLine = 800; // the line under the arrows, and the top of the build-up
constexpr float kArrow = 800, kShortArrow = 650;
constexpr double kUnitsPerMm = 8;
constexpr float kNumberTop = 320, kSizeTop = 560;
constexpr double kCaptionGap = 200;
constexpr float kSlabHatch = 50, kTerrainHatch = 100;

const QString kSpace = QStringLiteral(" ");

// Draws one drawing; W and H are read from the picture each time they are needed.
class Drawer {
public:
    Drawer(const FoundationResult &r, Surface &picture, Captions &captions, std::int32_t &LogNr)
        : r_(r), picture_(picture), captions_(captions), LogNr(LogNr) {}

    void Clear();
    void DrawLoads();
    double DrawBuildUp();
    void DrawTerrainAndValues(double y);

private:
    std::int32_t W() const { return ck::CLng(picture_.ScaleWidth()); }

    void arrows(const QString &type, std::int32_t x0, std::int32_t seg);
    std::pair<QString, QString> sizeCaption(const QString &type, double size) const;
    void bandCaption(Skt label, const QString &text, double top, double h);
    double layerBand(Skt caption, Skt moduli, const Layer &layer, double y, std::int32_t logNr);
    // Lays the labels out leftwards from the picture's right edge, the first at the edge.
    void chainFromRight(Skt label, std::initializer_list<int> indices);
    void placeRow(Skt label, std::initializer_list<int> indices, double top);

    const FoundationResult &r_;
    Surface &picture_;
    Captions &captions_;
    std::int32_t &LogNr;
};

void Drawer::Clear() {
    LogNr = 218;
    picture_.Cls();
    LogNr = 219;
    for (const CaptionLabel &c : kCaptionLabels)
        for (int i = c.first; i <= c.last; ++i)
            captions_.Clear(c.label, i);
    LogNr = 222;
}

void Drawer::arrows(const QString &type, std::int32_t x0, std::int32_t seg) {
    const std::int32_t xc = x0 + seg / 2;
    if (type == QLatin1String("Hjultryk") || type == QLatin1String("Punktlast")) {
        LogNr = 228;
        TegnPil(picture_, float(xc), 0, kArrow);
    } else if (type == QLatin1String("Linielast")) {
        LogNr = 229;
        for (std::int32_t x = x0 + 150; x < x0 + seg - 50; x += 150)
            TegnPil(picture_, float(x), 0, kArrow);
    } else if (type == QLatin1String("Lastpar")) {
        LogNr = 230;
        TegnPil(picture_, float(xc - 300), 0, kArrow);
        TegnPil(picture_, float(xc + 300), 0, kArrow);
    } else if (type == QLatin1String("Fladelast")) {
        LogNr = 231;
        for (std::int32_t x = x0 + 200; x < x0 + seg - 50; x += 200) {
            TegnPil(picture_, float(x - 100), 0, kShortArrow);
            TegnPil(picture_, float(x), 0, kArrow);
        }
    }
}

// The size with its unit, and the superscript after the unit.
std::pair<QString, QString> Drawer::sizeCaption(const QString &type, double size) const {
    const QString value = platform::Format(size, QStringLiteral("#0.00"));
    if (type == QLatin1String("Fladelast"))
        return {value + QStringLiteral(" kN/m"), QStringLiteral("2")};
    if (type == QLatin1String("Linielast"))
        return {value + QStringLiteral(" kN/m"), QString()};
    if (type == QLatin1String("Lastpar"))
        return {QStringLiteral("2 x ") + value + QStringLiteral(" kN"), QString()};
    if (type == QLatin1String("Hjultryk") || type == QLatin1String("Punktlast"))
        return {value + QStringLiteral(" kN"), QString()};
    // A load type of no known kind (from a project file) has no unit to show; an empty caption rather
    // than the one left from an earlier drawing.
    return {};
}

void Drawer::DrawLoads() {
    LogNr = 223;
    const sketch::Loads &l = r_.loads;
    if (l.n <= 0)
        return;
    LogNr = 224;
    TegnLinie(picture_, float(kLoadLine));
    LogNr = 225;
    const std::int32_t seg = W() / l.n;
    std::int32_t x0 = 0;
    for (int i = 1; i <= l.n; ++i) {
        const std::size_t k = static_cast<std::size_t>(i - 1);
        LogNr = 227;
        arrows(l.type[k], x0, seg);

        LogNr = 232;
        captions_.SetCaption(Skt::Lastnr, i, QStringLiteral("Last ") + QString::number(l.id[k]));
        captions_.SetLeft(Skt::Lastnr, i, float(x0 + seg / 8));
        captions_.SetTop(Skt::Lastnr, i, kNumberTop);
        captions_.Show(Skt::Lastnr, i);

        LogNr = 234;
        if (l.size[k] != 0) {
            const auto [text, superscript] = sizeCaption(l.type[k], l.size[k]);
            captions_.SetCaption(Skt::Laststr, i, text);
            captions_.SetCaption(Skt::Laststr1, i, superscript);
            LogNr = 235;
            captions_.SetLeft(Skt::Laststr, i, float(x0 + seg / 8));
            captions_.SetTop(Skt::Laststr, i, kSizeTop);
            captions_.Show(Skt::Laststr, i);
            LogNr = 236;
            captions_.SetLeft(Skt::Laststr1, i, captions_.Left(Skt::Laststr, i) + captions_.Width(Skt::Laststr, i));
            captions_.SetTop(Skt::Laststr1, i, kSizeTop);
            captions_.Show(Skt::Laststr1, i);
        } else {
            LogNr = 237;
            captions_.SetCaption(Skt::Laststr, i, QString());
        }
        LogNr = 239;
        x0 += seg;
    }
}

void Drawer::bandCaption(Skt label, const QString &text, double top, double h) {
    captions_.SetCaption(label, 0, kSpace + text + kSpace);
    captions_.SetLeft(label, 0, float(W() / 8));
    captions_.SetTop(label, 0, float(top + h / 2 - ck::CLng(captions_.Height(label, 0)) / 2));
    captions_.Show(label, 0);
}

void Drawer::chainFromRight(Skt label, std::initializer_list<int> indices) {
    float edge = picture_.ScaleWidth();
    for (int i : indices) {
        captions_.SetLeft(label, i, edge - captions_.Width(label, i));
        edge = captions_.Left(label, i);
    }
}

void Drawer::placeRow(Skt label, std::initializer_list<int> indices, double top) {
    for (int i : indices)
        captions_.SetTop(label, i, float(top));
    for (int i : indices)
        captions_.Show(label, i);
}

// An insulation layer's band from y down; returns its bottom.
double Drawer::layerBand(Skt caption, Skt moduli, const Layer &layer, double y, std::int32_t logNr) {
    const double h = kUnitsPerMm * layer.t;
    LogNr = logNr;
    TegnLinie(picture_, float(y));
    TegnZigzag(picture_, float(y), float(h));
    TegnLinie(picture_, float(y + h));
    LogNr = logNr + 1;
    bandCaption(caption, layer.type, y, h);
    y += h;

    // Short term, then long term, each with its unit and a raised 2, ending at the right edge.
    LogNr = logNr + 2;
    captions_.SetCaption(moduli, 0,
                         QStringLiteral("E(korttid): ") + platform::Format(layer.Eo, QStringLiteral("0")) +
                             QStringLiteral(" kN/m"));
    captions_.SetCaption(moduli, 2,
                         QStringLiteral(", E(langtid): ") + platform::Format(layer.En, QStringLiteral("0")) +
                             QStringLiteral(" kN/m"));
    LogNr = logNr + 3;
    chainFromRight(moduli, {5, 2, 1, 0});
    LogNr = logNr + 4;
    placeRow(moduli, {0, 1, 2, 5}, y - h / 2 - ck::CLng(captions_.Height(moduli, 0)) / 2);
    return y;
}

double Drawer::DrawBuildUp() {
    LogNr = 240;
    double y = kLoadLine;
    const sketch::BuildUp &b = r_.buildUp;

    LogNr = 241;
    if (b.slab && b.ts > 0) {
        const double h = kUnitsPerMm * b.ts;
        LogNr = 242;
        TegnLinie(picture_, float(y));
        TegnSkraveringB(picture_, float(y), float(y + h), kSlabHatch);
        TegnSkraveringA(picture_, float(y), float(y + h), kSlabHatch);
        TegnLinie(picture_, float(y + h));
        LogNr = 243;
        bandCaption(Skt::Daektype, b.slabText, y, h);
        y += h;
    }

    LogNr = 244;
    if (b.layer1.t > 0)
        y = layerBand(Skt::Itop, Skt::Etop, b.layer1, y, 245);
    LogNr = 250;
    if (b.layer2.t > 0)
        y = layerBand(Skt::Ibund, Skt::Ebund, b.layer2, y, 251);

    LogNr = 256;
    if (b.intermediate && b.tm > 0) {
        const double h = kUnitsPerMm * b.tm;
        LogNr = 257;
        const int spacing = DashSpacing(b.korr);
        LogNr = 258;
        TegnLinie(picture_, float(y));
        TegnStreger(picture_, float(y), float(h), float(spacing));
        TegnLinie(picture_, float(y + h));
        LogNr = 260;
        bandCaption(Skt::mlm, b.intermediateText, y, h);
        y += h;
    }
    LogNr = 262;
    return y;
}

void Drawer::DrawTerrainAndValues(double y) {
    LogNr = 263;
    const sketch::BuildUp &b = r_.buildUp;
    if (!b.terrain)
        return;
    LogNr = 264;
    TegnLinie(picture_, float(y));
    TegnSkraveringA(picture_, float(y), picture_.ScaleHeight(), kTerrainHatch);

    LogNr = 266;
    captions_.SetCaption(Skt::Terr, 0, kSpace + b.terrainText + kSpace);
    captions_.SetLeft(Skt::Terr, 0, float(W() / 8));
    captions_.SetTop(Skt::Terr, 0, float(y + kCaptionGap));
    captions_.Show(Skt::Terr, 0);

    // Bottom right: the U-value, with a raised 2 and a "K" after its unit.
    LogNr = 268;
    const FoundationValues &v = r_.values;
    if (v.Uvaerdi > 0) {
        LogNr = 269;
        captions_.SetCaption(Skt::UV, 0,
                             QStringLiteral("Uværdi: ") + platform::Format(v.Uvaerdi, QStringLiteral("#0.00")) +
                                 QStringLiteral(" W/m"));
        LogNr = 270;
        chainFromRight(Skt::UV, {2, 1, 0});
        LogNr = 271;
        placeRow(Skt::UV, {0, 1, 2}, picture_.ScaleHeight() - captions_.Height(Skt::UV, 0) - kCaptionGap);
    }

    // On the terrain caption's line, at the right: the subgrade modulus the slab is analysed with, short
    // term under a wheel load.
    LogNr = 274;
    if (v.resBallasto > 0 && v.resBallastn > 0) {
        LogNr = 275;
        const double modulus = r_.loads.wheelLoad ? v.resBallasto : v.resBallastn;
        LogNr = 276;
        captions_.SetCaption(Skt::Ballast, 0,
                             QStringLiteral("Res. ballasttal: ") + platform::Format(modulus, QStringLiteral("#0")) +
                                 QStringLiteral(" kN/m"));
        LogNr = 277;
        chainFromRight(Skt::Ballast, {1, 0});
        LogNr = 278;
        placeRow(Skt::Ballast, {0, 1}, y + kCaptionGap);
    }
    LogNr = 283;
}

} // namespace

SidsteTegning DrawnInput(const FoundationResult &r) {
    SidsteTegning t;
    t.Antal = r.loads.n;
    t.Lasttype = r.loads.type;
    t.Stoerrelse = r.loads.size;
    t.LastId = r.loads.id;
    const BuildUp &b = r.buildUp;
    t.IsoType1 = b.layer1.type;
    t.IsoTykkelse1 = b.layer1.t;
    t.Eo1 = b.layer1.Eo;
    t.En1 = b.layer1.En;
    t.IsoType2 = b.layer2.type;
    t.IsoTykkelse2 = b.layer2.t;
    t.Eo2 = b.layer2.Eo;
    t.En2 = b.layer2.En;
    t.DaekTekst = b.slabText;
    t.DaekTykkelse = b.ts;
    t.Terraen = b.terrainText;
    t.Mellemlag = b.intermediateText;
    t.MellemlagTykkelse = b.tm;
    t.ResBallasto = r.values.resBallasto;
    t.ResBallastn = r.values.resBallastn;
    t.Uvaerdi = r.values.Uvaerdi;
    return t;
}

bool IsSuperscript(Skt label, int index) {
    switch (label) {
    case Skt::Laststr1:
        return true;
    case Skt::Etop:
    case Skt::Ebund:
        return index == 1 || index == 5;
    case Skt::UV:
    case Skt::Ballast:
        return index == 1;
    default:
        return false;
    }
}

QString FixedCaption(Skt label, int index) {
    switch (label) {
    case Skt::Etop:
    case Skt::Ebund:
        return index == 1 || index == 5 ? QStringLiteral("2") : QString();
    case Skt::UV:
        return index == 1 ? QStringLiteral("2") : index == 2 ? QStringLiteral("K") : QString();
    case Skt::Ballast:
        return index == 1 ? QStringLiteral("3") : QString();
    default:
        return QString();
    }
}

int DashSpacing(double korr) {
    // Denser dashes for a better intermediate layer.
    int s = 200;
    if (korr < 2.0)
        s = 250;
    if (korr < 1.75)
        s = 300;
    if (korr < 1.5)
        s = 350;
    if (korr < 1.25)
        s = 400;
    if (korr < 1.0)
        s = 450;
    return s;
}

bool DrawSketch(bool Tvungen, const FoundationResult &r, SidsteTegning &last, Surface &picture, Captions &captions,
                std::int32_t &LogNr) {
    LogNr = 211;
    SidsteTegning now = DrawnInput(r);
    if (!Tvungen) {
        LogNr = 212;
        if (now == last) {
            LogNr = 216;
            return false;
        }
    }
    LogNr = 217;
    last = std::move(now);

    Drawer d(r, picture, captions, LogNr);
    d.Clear();
    d.DrawLoads();
    d.DrawTerrainAndValues(d.DrawBuildUp());
    return true;
}

} // namespace sketch
