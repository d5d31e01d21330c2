#pragma once
// The second half of TegnSkitse: the test whether anything drawn changed since the last drawing, and the
// drawing of the floor build-up with its loads, layers, captions and key values. It draws onto any surface
// and places any set of caption labels, so the window and the tests share it.

#include "sketch/drawing.h"
#include "sketch/foundation.h"

#include <QString>
#include <array>
#include <cstdint>

namespace sketch {

// What the last drawing showed; it starts all zero and empty.
struct SidsteTegning {
    std::int16_t Antal = 0;
    std::array<QString, kSketchLoads> Lasttype{};
    std::array<double, kSketchLoads> Stoerrelse{};
    std::array<std::int16_t, kSketchLoads> LastId{};
    QString IsoType1;
    std::int32_t IsoTykkelse1 = 0;
    double Eo1 = 0, En1 = 0;
    QString IsoType2;
    std::int32_t IsoTykkelse2 = 0;
    double Eo2 = 0, En2 = 0;
    QString DaekTekst;
    std::int32_t DaekTykkelse = 0;
    QString Terraen;
    QString Mellemlag;
    std::int32_t MellemlagTykkelse = 0;
    double ResBallasto = 0, ResBallastn = 0, Uvaerdi = 0;

    // Numbers by equality, texts character by character.
    bool operator==(const SidsteTegning &) const = default;
};

// The drawn input of one run.
SidsteTegning DrawnInput(const FoundationResult &r);

// The caption labels that lie over the picture.
enum class Skt { Lastnr, Laststr, Laststr1, Daektype, Itop, Etop, Ibund, Ebund, mlm, Terr, UV, Ballast };

struct CaptionLabel {
    Skt label;
    const char *name;
    bool array;
    int first, last; // indices of an array; 0 for a single label
};

// Every caption label, in the order a drawing clears them.
inline constexpr std::array<CaptionLabel, 12> kCaptionLabels{{
    {Skt::Lastnr, "sktLastnr", true, 1, 4},
    {Skt::Laststr, "sktLaststr", true, 1, 4},
    {Skt::Laststr1, "sktLaststr1", true, 1, 4},
    {Skt::Daektype, "sktDaektype", false, 0, 0},
    {Skt::Itop, "sktItop", false, 0, 0},
    {Skt::Etop, "sktEtop", true, 0, 5},
    {Skt::Ibund, "sktIbund", false, 0, 0},
    {Skt::Ebund, "sktEbund", true, 0, 5},
    {Skt::mlm, "sktmlm", false, 0, 0},
    {Skt::Terr, "sktTerr", false, 0, 0},
    {Skt::UV, "sktUV", true, 0, 2},
    {Skt::Ballast, "sktBallast", true, 0, 1},
}};

// The superscripts after a unit, set in a smaller font.
bool IsSuperscript(Skt label, int index);
// The captions fixed in the window's design (the superscripts and the "K" of the U-value's unit).
QString FixedCaption(Skt label, int index);

// The labels as the drawing sees them: each sizes itself to its caption; positions and sizes are in the
// picture's units.
class Captions {
public:
    virtual ~Captions() = default;
    // Hidden, at Top 0, with the picture's background colour.
    virtual void Clear(Skt label, int index) = 0;
    virtual void SetCaption(Skt label, int index, const QString &caption) = 0;
    virtual float Width(Skt label, int index) const = 0;
    virtual float Height(Skt label, int index) const = 0;
    virtual float Left(Skt label, int index) const = 0;
    virtual void SetLeft(Skt label, int index, float left) = 0;
    virtual void SetTop(Skt label, int index, float top) = 0;
    virtual void Show(Skt label, int index) = 0;
};

// Dash spacing of the intermediate layer by its correction factor.
int DashSpacing(double korr);

// In an unforced run, ends without drawing when the drawn input equals the last drawing; otherwise
// remembers it, clears the picture and the captions and draws. Returns true when it drew. LogNr moves
// through 211 to 283; a run-time error leaves the picture as far as it was drawn.
bool DrawSketch(bool Tvungen, const FoundationResult &r, SidsteTegning &last, Surface &picture, Captions &captions,
                std::int32_t &LogNr);

} // namespace sketch
