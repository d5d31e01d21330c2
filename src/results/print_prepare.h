#pragma once
// Fills the one row of the print table Udskrift just before a report is printed: the two insulation layers
// side by side and, for a concrete slab, steel area and spacing per diameter, side and steel type. The report
// definitions read that row.

#include <cstdint>

namespace PrintPrepare {

// Statement number shown when PrintFormat fails.
extern std::int32_t LogNr;

// Never lets an error through: a failure is shown in its own message and the row keeps what an earlier print
// left in it, so printing can go on.
void PrintFormat();

} // namespace PrintPrepare
