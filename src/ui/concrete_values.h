#pragma once
// The design values of a concrete slab, derived from the quality's characteristic strength and the safety class's
// factor. No widgets and no tables: the slab page looks the two numbers up and shows the result.

#include <cstdint>

namespace ui {

// In the order the slab page shows them.
struct ConcreteDesignValues {
    double fcd = 0;        // design compressive strength, MPa
    double tau = 0;        // punching shear strength, kN/m²
    double ftd = 0;        // design tensile strength, MPa
    double ftk = 0;        // characteristic tensile strength, MPa
    double E0 = 0, En = 0; // modulus of elasticity short and long term, MPa
    double G0 = 0, Gn = 0; // shear modulus short and long term, MPa
    int known = 0;         // how many of the values above, in order, were derived
};

// Styrke: the characteristic strength as a whole number; gamma: the safety-class factor (not 0). Sets LogNr before each
// step (450 to 458). A floating-point fault raises engine::RuntimeError and leaves v holding the values derived before
// it (v.known of them).
void DeriveConcreteValues(std::int32_t Styrke, double gamma, ConcreteDesignValues &v, std::int32_t &LogNr);

} // namespace ui
