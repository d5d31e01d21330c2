#pragma once
// Choice of the solver's vector width, for tests and benchmarks. Every width gives the same bits.

namespace Module1 {

// 8, 4 or 2 lanes, or 0 for the widest the processor has; false (and no change) when the processor lacks it.
// split: the 8 lanes built for any processor, each vector split into narrower ones; the same bits, only slower.
bool useSolverLanes(int lanes, bool split = false);

} // namespace Module1
