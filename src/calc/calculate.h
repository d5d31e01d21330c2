#pragma once
// The calculate command's sequence, run alike by the main window and by the test tool.

#include <cstdint>
#include <functional>

namespace calc {

// First `prepare` (the window's check of the input, which stores the pages' edits), then as one write to the
// working database the analysis with design loads, the analysis with characteristic loads and the design,
// statement numbers 481 to 484 in logNr. Returns 0, or the nonzero result of the first step that ended the
// sequence (each has shown its own message); what a failing step wrote before its error stays written. An error
// a step lets escape is thrown on; so is a failure to store the one write, which then keeps none of its rows.
int Calculate(std::int32_t &logNr, const std::function<int()> &prepare);

} // namespace calc
