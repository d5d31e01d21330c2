#pragma once
// Whether the input has changed since it was last saved, loaded or reset: a snapshot of the four input
// tables (inddata, inddatalast, inddataisolering, projekt) and a comparison with it. The company data,
// the results and the print table are not part of it.

#include <cstdint>

namespace ChangeCheck {

// Statement number of the module, shown by the error report.
extern std::int32_t LogNr;

// Takes the snapshot. A run-time error is reported ("SaveInddataValues"); the tables before the failing
// one then hold the new snapshot.
void SaveInddataValues();

// True when a field of a snapshot record reads differently now (compared as text, case counts; Null
// equals only Null). A run-time error is reported ("InddataChanged") and counts as a change, so that
// the caller asks before input is replaced.
bool InddataChanged();

} // namespace ChangeCheck
