// The sixteen numeric boxes of the main window: display pattern, bounds, messages and which of them redraw the sketch
// when they are left.

#include "kit/controls.h"
#include "platform/numbers.h"
#include "ui/frm_main.h"
#include "ui/numeric_fields.h"

#include <QComboBox>
#include <QLineEdit>

using ui::NumericFieldDesign;
using ui::Redraw;
using ui::RefuseNegative;
using ui::RefuseOutside;

namespace {

const QString kWhole = QStringLiteral("0");
const QString kTwoDecimals = QStringLiteral("#0.00");

const QString kTykkelseBeton = QStringLiteral("Tykkelsen på dækket skal være min. 25 mm og max. 10.000 mm");
const QString kTykkelseAndet = QStringLiteral("Tykkelsen på dækket skal være min. 1 mm og max. 10.000 mm");
const QString kIsoleringTykkelse =
    QStringLiteral("Tykkelsen på isoleringslaget skal være min. 1 mm og max. 10.000 mm.");
const QString kMellemlagTykkelse = QStringLiteral("Tykkelsen på mellemlaget skal være min. 1 mm og max. 10.000 mm.");

// The width and length refusals of a load pair (300 mm) and of any other load (500 mm).
QString BreddeFejl(bool lastpar, bool cirkel) {
    if (cirkel)
        return lastpar ? QStringLiteral("Diameter på lasten skal angives og må max. være 300 mm")
                       : QStringLiteral("Diameter på lasten skal angives og må max. være 500 mm");
    return lastpar ? QStringLiteral("Bredden på lasten skal angives og må max. være 300 mm")
                   : QStringLiteral("Bredden på lasten skal angives og må max. være 500 mm");
}
QString LaengdeFejl(bool lastpar) {
    return lastpar ? QStringLiteral("Længden på lasten skal angives og må max. være 300 mm")
                   : QStringLiteral("Længden på lasten skal angives og må max. være 500 mm");
}

} // namespace

void frmMain::WireNumericFields() {
    const ui::NumericFieldContext ctx{&LogNr, QStringLiteral("frmMain"), alive_, [this] { TegnSkitse(false); }};
    // Statement numbers in the window's procedure order: GotFocus at 1000 + 10k, LostFocus from 1001 + 10k.
    int k = 0;
    const auto add = [&](QLineEdit *box, const QString &pattern, bool typedPoint,
                         std::function<QString(double)> refusal, Redraw redraw) {
        const std::int32_t base = 1000 + 10 * k++;
        new ui::NumericField(box, NumericFieldDesign{pattern, typedPoint, std::move(refusal), redraw, base, base + 1},
                             ctx);
    };

    add(txtAfstandLastpar, kTwoDecimals, false,
        RefuseOutside(0.7, 6.0, QStringLiteral("Afstand mellem laster skal være mellem 0,7 m og 6,0 m")),
        Redraw::Never);
    add(txtDaekEn, kWhole, false, RefuseNegative(QStringLiteral("E(langtid) skal være positiv")), Redraw::Never);
    add(txtDaekEo, kWhole, false, RefuseNegative(QStringLiteral("E(korttid) skal være positiv")), Redraw::Never);
    add(txtDaekGn, kWhole, false, RefuseNegative(QStringLiteral("G(langtid) skal være positiv")), Redraw::Never);
    add(txtDaekGo, kWhole, false, RefuseNegative(QStringLiteral("G(korttid) skal være positiv")), Redraw::Never);
    add(txtDaekTraekstyrke, kTwoDecimals, false,
        RefuseNegative(QStringLiteral("Regningsmæssig trækstyrke skal være positiv")), Redraw::Never);
    add(txtDaekTrykstyrke, kTwoDecimals, false,
        RefuseNegative(QStringLiteral("Regningsmæssig trykstyrke skal være positiv")), Redraw::Never);
    add(
        txtDaekTykkelse, kWhole, false,
        [this](double v) {
            if (ui::ListText(cmbDaekType) == QStringLiteral("Beton"))
                return ui::OutsideBounds(v, 25, 10000) ? kTykkelseBeton : QString();
            return ui::OutsideBounds(v, 1, 10000) ? kTykkelseAndet : QString();
        },
        Redraw::Always);
    add(txtIsoleringTykkelse, kWhole, false, RefuseOutside(1, 10000, kIsoleringTykkelse), Redraw::WhenAccepted);

    // A load pair's loads are at most 300 mm wide and long, any other load 500 mm.
    const auto lastpar = [this] { return ui::ListText(cmbLastType) == QStringLiteral("Lastpar"); };
    add(
        txtLastFormBredde, kWhole, false,
        [this, lastpar](double v) {
            const bool par = lastpar();
            if (!ui::OutsideBounds(v, 0, par ? 300 : 500))
                return QString();
            return BreddeFejl(par, ui::ListText(cmbLastForm) == QStringLiteral("Cirkel"));
        },
        Redraw::Never);
    add(
        txtLastFormLaengde, kWhole, false,
        [lastpar](double v) {
            const bool par = lastpar();
            return ui::OutsideBounds(v, 0, par ? 300 : 500) ? LaengdeFejl(par) : QString();
        },
        Redraw::Never);
    add(txtLastKantFugeAfstand, kWhole, false,
        RefuseOutside(0, 5600, QStringLiteral("Afstand fra kant/fuge skal angives og må max. være 5600 mm")),
        Redraw::Never);
    add(txtLastStorrelse, kTwoDecimals, true, RefuseNegative(QStringLiteral("Lasten størrelse skal være positiv")),
        Redraw::Always);
    add(txtMellemlagTykkelse, kWhole, false, RefuseOutside(1, 10000, kMellemlagTykkelse), Redraw::WhenAccepted);
    add(txtPartialK, kTwoDecimals, true, RefuseNegative(QStringLiteral("Partialkoefficient skal være positiv")),
        Redraw::Never);
    add(txtTerraenBallast, kWhole, false, RefuseNegative(QStringLiteral("Terrænets ballasttal skal være positivt")),
        Redraw::Always);
}
