// Pressure on the insulation layers under the slab, against what the layers allow for the load's duration.

#include "calc/analysis_state.h"
#include "calc/design.h"
#include "engine/checked.h"

namespace Module2 {

namespace checked = engine::checked;
using Module1::FunctionName;
using Module1::LogNr;

void Isoleringstryk() {
    FunctionName = QStringLiteral("Isoleringstryk");
    LogNr = 0;
    double zigma1, zigma2;
    if (Module1::KortLast) {
        zigma1 = Zigmao1;
        zigma2 = Zigmao2;
        k = k0;
    } else {
        zigma1 = Zigman1;
        zigma2 = Zigman2;
        k = kn;
    }

    // Without an upper layer the lower one carries the slab directly.
    double hu;
    if (h1 != 0) {
        IsoTilladt = zigma1;
        IsoTilladt2 = zigma2;
        hu = h1;
    } else {
        IsoTilladt = zigma2;
        IsoTilladt2 = 0;
        hu = h2;
    }

    // Thin insulation under long-term stiffness may take more pressure.
    LogNr = 3;
    const int T = checked::CInt((h2 + h1) * 1000.0);
    if (T < 125 && k == kn) {
        const double f = T <= 50 ? 1.67 : (2.0 / 225.0) * (125 - T) + 1.0;
        IsoTilladt = checked::fin(IsoTilladt * f);
        IsoTilladt2 = checked::fin(IsoTilladt2 * f);
    }

    LogNr = 4;
    IsoFaktisk = checked::fin(Module1::umax * k);

    if (IsoTilladt2 == 0) {
        IsoFaktisk2 = 0;
    } else {
        // Area loads press evenly on every layer; the concentrated rest spreads through the upper layer.
        const auto &L = Module1::Laster;
        double q = 0, P = 0;
        for (int i = 1; i <= L.AntalLaster && i <= Module1::kMaxLaster; ++i) {
            if (L.Kode[i] == QLatin1String("F"))
                q += L.Stoerrelse[i];
            else if (L.Kode[i] == QLatin1String("V"))
                P += L.Stoerrelse[i] * 6.0;
            else
                P += L.Stoerrelse[i];
        }
        q = checked::fin(q);
        P = checked::fin(P);
        const double p = IsoFaktisk - q;
        if (p == 0) {
            IsoFaktisk2 = IsoFaktisk;
        } else {
            const double r = checked::sqrt(checked::div(P, p));
            const double andel = checked::div(r, 2.0 * hu + r);
            IsoFaktisk2 = checked::fin(andel * andel * p + q);
        }
    }

    if (IsoFaktisk > IsoTilladt || IsoFaktisk2 > IsoTilladt2)
        Module1::saveopl(QStringLiteral("Brud ! Tryk på isolering er for stort"));
}

} // namespace Module2
