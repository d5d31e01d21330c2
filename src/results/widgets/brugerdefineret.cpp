#include "results/widgets/brugerdefineret.h"

#include "kit/controls.h"
#include "kit/event_procedure.h"
#include "results/widgets/results_windows.h"

#include <QGroupBox>
#include <QLineEdit>

namespace results {

Brugerdefineret::Brugerdefineret(QWidget *parent)
    : ResultsWindow(parent, QStringLiteral("Brugerdefineret"), QStringLiteral("frmBrugerdefineret"),
                    QStringLiteral("Beregningsresultater"),
                    QStringLiteral("Udskrift af brugerdefineret beregning fejlede. Fejlkode: "),
                    {1, 2, 3, 4, 5, 6, 8}) {
    int top = MomentsFrame(120, false) + kFrameGap;
    top =
        GridFrame(top, "fraSpaendinger", "Regningsmæssige spændinger", {"Spaending", "Faktiske", "Tilladte", "MPa", ""},
                  {{"lblMaxTryk", "Max (tryk)", "RegFakMax", "RegMaxTil"},
                   {"lblMinTraek", "Min (træk)", "RegMinFak", "RegMinTil"}}) +
        kFrameGap;
    RegFakMax = NamedBox("RegFakMax");
    RegMaxTil = NamedBox("RegMaxTil");
    RegMinFak = NamedBox("RegMinFak");
    RegMinTil = NamedBox("RegMinTil");
    top = PressureFrame(top, "RegIsoFak", "RegIsoTil") + kFrameGap;
    RegIsoFak = NamedBox("RegIsoFak");
    RegIsoTil = NamedBox("RegIsoTil");
    const int bottom = LowerFrames(top);

    constexpr int buttonLeft = kLeft + kColumn + 120;
    Buttons(buttonLeft, 210);
    setFixedSize(ui::Twips(buttonLeft + kButtonWidth + 120), ui::Twips(bottom + 120));
}

void Brugerdefineret::Form_Load() {
    LogNr = 11;
    ui::RunEventProcedure(LogNr, QStringLiteral("frmBrugerdefineret"), [this] {
        LogNr = 12;
        engine::Recordset rs = OpenTable("ResultatBrugdef");
        LogNr = 13;
        rs.MoveFirst();
        LogNr = 14;
        FillBoxes(rs, {{KarMaxPos, "KarakteristiskMax", "0.00"},
                       {KarMaxNeg, "KarakteristiskMin", "0.00"},
                       {RegMaxPos, "RetningsmMax", "0.00"},
                       {RegMaxNeg, "RetningsmMin", "0.00"},
                       {Deform, "Deformation", "0.00"},
                       {UValue, "Uværdi", "0.00"},
                       {RegIsoFak, "IsoFaktisk", "0.0"},
                       {RegIsoTil, "IsoTilladt", "0.0"},
                       {FakIso2, "IsoFaktisk2", "0.0"},
                       {TilIso2, "IsoTilladt2", "0.0"}});
        LogNr = 15;
        ChooseReport(rs, QStringLiteral("Bruger"));
        LogNr = 16;
        FillBoxes(rs, {{RegFakMax, "RetningsmSpaendTrykFak", "0.00"},
                       {RegMaxTil, "RetningsmSpaendTrykTil", "0.00"},
                       {RegMinFak, "RetningsmSpaendTraekFak", "0.00"},
                       {RegMinTil, "RetningsmSpaendTraekTil", "0.00"}});
        LogNr = 17;
        FillRemarks(rs);
    });
}

std::unique_ptr<QDialog> MakeBrugerdefineret(QWidget *parent) {
    auto window = std::make_unique<Brugerdefineret>(parent);
    window->Form_Load();
    return window;
}

} // namespace results
