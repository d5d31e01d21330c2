#pragma once
// Start-up: the workgroup account, the compaction of the working database, the presence of the three
// databases, the connections (data/connections.h), the default input and the first change snapshot.

#include "engine/variant.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace modMain {

// True once start-up found a database missing; it then ended without a window.
extern bool DatabaseMangler;
// Statement number of Main, ClearInddata and InitInddata: what the start-up error report shows.
extern std::int32_t LogNr;

// Shows the main window without waiting for it; set by the program, left empty by tests.
extern std::function<void()> ShowMainWindow;

// The points between which start-up may be interrupted. AfterStep (tests only) is called as each is
// passed; an exception it throws leaves Main as a crash would.
enum class StartStep {
    EngineReady,
    OldCopyDeleted,
    Compacted,
    CopyOnDisk,
    OriginalDeleted,
    CopyRenamed,
    Connected,
    Cleared,
    Initialised,
    SnapshotTaken,
};
extern std::function<void(StartStep)> AfterStep;

// Shown when another program already works on the databases of the folder; start-up then changes nothing.
inline const QString kAlreadyRunning = QStringLiteral("Fundator kører allerede fra denne mappe.");

// Runs start-up on the databases in programFolder (the executable's folder, also the current folder).
// Holds the folder for the rest of the run, before it touches a file: a second program would otherwise
// compact away the database this one has open. Returns true when the main window was shown, false when
// start-up ended: the folder in use, a database missing or a run-time error, each reported in its message.
bool Main(const QString &programFolder);

// How OpenDatabases ended.
enum class Opening { Opened, FolderInUse, Ended };

// The part of Main before the input is touched: holds the folder, compacts the working database, checks that
// the three databases are there and opens the connections. What stops it is reported as Main reports it.
Opening OpenDatabases(const QString &programFolder);

// Empties inddata, inddatalast, inddataisolering and projekt.
void ClearInddata();
// Adds the default records that are missing.
void InitInddata();

// The start-up error report: the same four-line message as data::ReportError.
void ReportMainError(std::int32_t errNumber, const QString &description, std::int32_t logNr,
                     const QString &functionName);

// The default values of the input records, field by field in the order they are written.
using FieldValues = std::vector<std::pair<QString, engine::Variant>>;
FieldValues InddataDefaults();
FieldValues LastDefaults(int lastid);
// layerModulus: Eo and En of the insulation layer (1 at start-up, 0 for new input).
FieldValues IsoleringDefaults(int lagnr, double layerModulus = 1);
FieldValues ProjektDefaults();

} // namespace modMain
