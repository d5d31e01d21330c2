#pragma once
// The slab of the in-memory benchmarks, as the input tables would give it to the analysis (kN and m): 150 mm of
// C25/30 concrete on 200 mm of insulation over sand.

#include "calc/analysis_state.h"

namespace benchslab {

inline void setUpSlab() {
    Module1::Eo = 31000.0 * 1000.0;
    Module1::En = 10300.0 * 1000.0;
    Module1::Go = 12900.0 * 1000.0;
    Module1::Gn = 4300.0 * 1000.0;
    Module1::resBallasto = 18750.0;
    Module1::resBallastn = 11538.461538461539;
    Module1::t = 0.15;
    Module1::tau = 700.0;
    Module1::ErBeton = true;
}

} // namespace benchslab
