#pragma once
// Input for the benchmarks and tests that need a whole floor in the input tables, and the application object
// for benchmarks that need widgets.

#include "engine/variant.h"
#include "support/databases.h"

#include <QApplication>
#include <initializer_list>
#include <utility>

namespace testsupport {

using FieldValues = std::initializer_list<std::pair<const char *, engine::Variant>>;

// Sets fields of one record of an input table on modMain::cnInddata: the record whose keyField holds key, or
// the first record when keyField is null.
void setFields(const char *table, const char *keyField, int key, FieldValues fields);

// A concrete slab of 120 mm on two insulation layers, 200 mm of an intermediate layer and a terrain, with a
// wheel load, an area load, a line load and a load pair (loads 1 to 4).
void storeFullFloor();

// The program's three connections (modMain) on fresh databases, closed again when the object goes.
class ProgramDatabases {
public:
    ProgramDatabases();
    ~ProgramDatabases();
    ProgramDatabases(const ProgramDatabases &) = delete;
    ProgramDatabases &operator=(const ProgramDatabases &) = delete;
    const DatabaseFolder &folder() const { return folder_; }

private:
    DatabaseFolder folder_;
};

// The default input in the input tables, with the full floor stored over it when asked, recorded as the saved
// input so that nothing counts as changed.
void startWithDefaultInput(bool fullFloor = false);

// The one application object of a benchmark, on the offscreen platform with LC_NUMERIC "C".
QApplication &offscreenApplication();

} // namespace testsupport
