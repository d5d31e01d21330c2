#include "ui/concrete_values.h"

#include "engine/checked.h"

#include <limits>

namespace ui {

namespace {

// Styrke + 13 in whole numbers: a sum past the 32-bit range overflows as the old runtime's Long did.
std::int32_t PlusThirteen(std::int32_t Styrke) {
    if (Styrke > std::numeric_limits<std::int32_t>::max() - 13)
        engine::raise(engine::err::Overflow);
    return Styrke + 13;
}

} // namespace

void DeriveConcreteValues(std::int32_t Styrke, double gamma, ConcreteDesignValues &v, std::int32_t &LogNr) {
    namespace ck = engine::checked;
    const double S = Styrke;
    v.known = 0;
    LogNr = 450;
    v.fcd = ck::div(S, ck::fin(gamma * 1.65));
    v.known = 1;
    LogNr = 451;
    const double k = ck::div(2.0, ck::sqrt(S));
    LogNr = 452;
    v.tau = ck::fin(ck::fin(ck::fin(k * 0.12) * v.fcd) * 1000.0);
    v.known = 2;
    LogNr = 453;
    v.ftd = ck::div(ck::sqrt(0.1 * S), ck::fin(gamma * 1.65));
    v.known = 3;
    LogNr = 454;
    v.ftk = ck::sqrt(0.1 * S);
    v.known = 4;
    LogNr = 455;
    v.E0 = ck::fin(ck::div(S, PlusThirteen(Styrke)) * 35700.0);
    v.known = 5;
    LogNr = 456;
    v.En = 0.25 * v.E0;
    v.known = 6;
    LogNr = 457;
    v.G0 = 0.43 * v.E0;
    v.known = 7;
    LogNr = 458;
    v.Gn = 0.43 * v.En;
    v.known = 8;
}

} // namespace ui
