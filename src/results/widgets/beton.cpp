#include "results/widgets/beton.h"

#include "kit/controls.h"
#include "kit/event_procedure.h"
#include "results/widgets/results_windows.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace results {

namespace {

constexpr int kGridLeft = 5295;
constexpr int kGridWidth = 5250;
constexpr int kGridColumn = 1035;
constexpr int kGridFirst = 720;
constexpr int kGridStep = 1125;
constexpr int kGridRowTop = 1020;
constexpr int kDiameters[] = {6, 8, 10, 12, 16};

} // namespace

Beton::Beton(QWidget *parent)
    : ResultsWindow(parent, QStringLiteral("Beton"), QStringLiteral("frmBeton"), QStringLiteral("Beton"),
                    QStringLiteral("Udskrift af beton beregning fejlede. Fejlkode: "), {20, 21, 22, 22, 23, 24, 24}) {
    int top = MomentsFrame(120, true) + kFrameGap;
    RegKapUarm = NamedBox("RegKapUarm");
    top = PressureFrame(top, "FakIso", "TilIso") + kFrameGap;
    FakIso = NamedBox("FakIso");
    TilIso = NamedBox("TilIso");
    const int bottom = LowerFrames(top);

    ReinforcementFrame(QStringLiteral("fraUnderside"), QStringLiteral("Undersidearmering"), 120,
                       {&UMA, &UAC, &UAATS, &UACTS}, {"UMA", "UAC", "UAATS", "UACTS"});
    ReinforcementFrame(QStringLiteral("fraOverside"), QStringLiteral("Oversidearmering"), 2940,
                       {&OAA, &OAC, &OAATS, &OACTS}, {"OAA", "OAC", "OAATS", "OACTS"});
    Buttons(kGridLeft + kGridWidth - kButtonWidth, bottom - 855);
    setFixedSize(ui::Twips(kGridLeft + kGridWidth + 120), ui::Twips(bottom + 120));
}

void Beton::ReinforcementFrame(const QString &name, const QString &caption, int top,
                               std::array<std::array<QLineEdit *, 5> *, 4> columns,
                               const std::array<const char *, 4> &names) {
    QGroupBox *f = Frame(name, caption, top, kGridRowTop + 5 * 315 + 120, kGridLeft, kGridWidth);
    const QString n = name.mid(3);
    Label(f, QStringLiteral("lblD") + n, QStringLiteral("D"), 120, 480, 495, Qt::AlignCenter);
    Label(f, QStringLiteral("lblDEnhed") + n, QStringLiteral("mm"), 120, 720, 495, Qt::AlignCenter);
    const int pairWidth = kGridStep + kGridColumn;
    Label(f, QStringLiteral("lblKs410") + n, QStringLiteral("Kamstål Ks 410 S"), kGridFirst, 480, pairWidth,
          Qt::AlignCenter);
    Label(f, QStringLiteral("lblKs550") + n, QStringLiteral("Kamstål Ks 550 S"), kGridFirst + 2 * kGridStep, 240,
          pairWidth, Qt::AlignCenter);
    Label(f, QStringLiteral("lblTentor") + n, QStringLiteral("Ny tentor K 550 TS"), kGridFirst + 2 * kGridStep, 480,
          pairWidth, Qt::AlignCenter);
    for (int c = 0; c < 4; ++c) {
        const int left = kGridFirst + c * kGridStep;
        const QString column = QString::fromLatin1(names[static_cast<size_t>(c)]);
        if (c % 2 == 0)
            Unit(f, QStringLiteral("lbl") + column + QStringLiteral("Enhed"), QStringLiteral("mm  /m"),
                 QStringLiteral("mm"), left, 720, kGridColumn);
        else
            Unit(f, QStringLiteral("lbl") + column + QStringLiteral("Enhed"), QStringLiteral("C-C mm"), QString(), left,
                 720, kGridColumn);
        for (int i = 0; i < 5; ++i)
            (*columns[static_cast<size_t>(c)])[static_cast<size_t>(i)] =
                Box(f, column + QStringLiteral("_%1").arg(i), left, kGridRowTop + i * 315, kGridColumn);
    }
    for (int i = 0; i < 5; ++i)
        Label(f, QStringLiteral("lblDiameter") + n + QString::number(i), QString::number(kDiameters[i]), 120,
              kGridRowTop + 30 + i * 315, 495, Qt::AlignCenter);
}

void Beton::Form_Load() {
    LogNr = 1;
    ui::RunEventProcedure(LogNr, QStringLiteral("frmBeton"), [this] {
        LogNr = 2;
        engine::Recordset rs = OpenTable("ResultatBeton");
        LogNr = 3;
        engine::Recordset armering = OpenTable("ResultatArmering");
        LogNr = 4;
        rs.MoveFirst();
        LogNr = 5;
        FillBoxes(rs, {{KarMaxPos, "KarakteristiskMaxPos", "0.00"},
                       {KarMaxNeg, "KarakteristiskMaxNeg", "0.00"},
                       {RegMaxPos, "RetningsmMaxPos", "0.00"},
                       {RegMaxNeg, "RetningsmMaxNeg", "0.00"},
                       {Deform, "Deformation", "0.00"},
                       {UValue, "Uværdi", "0.00"},
                       {RegKapUarm, "RetningsmKapUarm", "0.00"},
                       {FakIso, "IsoFaktisk", "0.0"},
                       {TilIso, "IsoTilladt", "0.0"},
                       {FakIso2, "IsoFaktisk2", "0.0"},
                       {TilIso2, "IsoTilladt2", "0.0"}});
        LogNr = 6;
        ChooseReport(rs, QStringLiteral("Beton"));
        LogNr = 7;
        FillRemarks(rs);

        const struct {
            std::int32_t statement;
            int steelType;
            const char *side;
            std::array<QLineEdit *, 5> &area, &spacing;
        } passes[] = {{10, 1, "False", UMA, UAC},
                      {11, 2, "False", UAATS, UACTS},
                      {12, 1, "True", OAA, OAC},
                      {13, 2, "True", OAATS, OACTS}};
        for (const auto &pass : passes) {
            LogNr = pass.statement;
            for (int i = 0; i <= 4; ++i) {
                int d = i * 2 + 6;
                if (d == 14)
                    d = 16;
                armering.setFilter(QStringLiteral("Staaltype = %1 AND Diameter = ").arg(pass.steelType) +
                                   QString::number(d) + QStringLiteral(" AND Overside = ") + QLatin1String(pass.side));
                Show(pass.area[static_cast<size_t>(i)], armering.Fields(QStringLiteral("As")).Value(), "#");
                Show(pass.spacing[static_cast<size_t>(i)], armering.Fields(QStringLiteral("a")).Value(), "#");
            }
        }
    });
}

std::unique_ptr<QDialog> MakeBeton(QWidget *parent) {
    auto window = std::make_unique<Beton>(parent);
    window->Form_Load();
    return window;
}

} // namespace results
