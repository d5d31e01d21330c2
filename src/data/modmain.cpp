#include "data/modmain.h"

#include "data/account.h"
#include "data/change_check.h"
#include "data/connections.h"
#include "data/error_report.h"
#include "engine/engine.h"
#include "engine/transaction.h"
#include "platform/files.h"
#include "platform/message_box.h"

#include <QDir>
#include <QFileInfo>

namespace modMain {

namespace {
platform::FolderLock programLock, workingLock;

// The program folder is compacted and the current folder's databases are opened: a second program may touch
// neither. One lock serves when they are the same folder.
bool holdFolders(const QString &programFolder) {
    bool held = programLock.Take(programFolder);
    const QString current = QDir::current().canonicalPath();
    if (current == QDir(programFolder).canonicalPath())
        workingLock.Release();
    else if (held)
        held = workingLock.Take(current);
    if (!held) {
        programLock.Release();
        workingLock.Release();
    }
    return held;
}
} // namespace

bool DatabaseMangler = false;
std::int32_t LogNr = 0;
std::function<void()> ShowMainWindow;
std::function<void(StartStep)> AfterStep;

using engine::Variant;

FieldValues InddataDefaults() {
    const Variant none = QString();
    return {{QStringLiteral("InddataID"), 1},
            {QStringLiteral("daekType"), none},
            {QStringLiteral("sikkerhedsklassetext"), none},
            {QStringLiteral("kvalitettext"), none},
            {QStringLiteral("TrykstyrkeRgm"), 0},
            {QStringLiteral("tau"), 0},
            {QStringLiteral("TraekstyrkeRgm"), 0},
            {QStringLiteral("TraekstyrkeKar"), 0},
            {QStringLiteral("Eo"), 0},
            {QStringLiteral("En"), 0},
            {QStringLiteral("Go"), 0},
            {QStringLiteral("GN"), 0},
            {QStringLiteral("dæktykkelse"), 0},
            {QStringLiteral("Miljøklasse"), none},
            {QStringLiteral("dæklag"), 0},
            {QStringLiteral("Revnevidde"), 0},
            {QStringLiteral("mellemlag"), none},
            {QStringLiteral("mellemlagtykkelse"), 0},
            {QStringLiteral("mellemlagkorr"), 0},
            {QStringLiteral("mellemlaglambda"), 0},
            {QStringLiteral("terræn"), none},
            {QStringLiteral("terrænballast"), 0},
            {QStringLiteral("terrænzigma"), 0},
            {QStringLiteral("isolballasto"), 0},
            {QStringLiteral("isolballastn"), 0},
            {QStringLiteral("resBallasto"), 0},
            {QStringLiteral("resBallastn"), 0},
            {QStringLiteral("Uværdi"), 0}};
}

FieldValues LastDefaults(int lastid) {
    const Variant none = QString();
    return {{QStringLiteral("InddataID"), 1}, {QStringLiteral("lastid"), lastid},  {QStringLiteral("Lasttype"), none},
            {QStringLiteral("Afstand"), 0},   {QStringLiteral("LastForm"), none},  {QStringLiteral("bredde"), 0},
            {QStringLiteral("længde"), 0},    {QStringLiteral("Placering"), none}, {QStringLiteral("Afstandfra"), 0},
            {QStringLiteral("Størrelse"), 0}, {QStringLiteral("PartialK"), 1}};
}

FieldValues IsoleringDefaults(int lagnr, double layerModulus) {
    const Variant none = QString();
    return {{QStringLiteral("InddataID"), 1},        {QStringLiteral("lagnr"), lagnr},
            {QStringLiteral("IsoleringType"), none}, {QStringLiteral("IsoleringTykkelse"), 0},
            {QStringLiteral("Zigmao"), 0},           {QStringLiteral("Zigman"), 0},
            {QStringLiteral("LambdaTør"), 0},        {QStringLiteral("LambdaVåd"), 0},
            {QStringLiteral("Eo"), layerModulus},    {QStringLiteral("En"), layerModulus}};
}

FieldValues ProjektDefaults() {
    const Variant none = QString();
    return {{QStringLiteral("projektid"), none},
            {QStringLiteral("beregner"), none},
            {QStringLiteral("dato"), none},
            {QStringLiteral("tekst"), none}};
}

namespace {

void openInput(engine::Recordset &rs, const QString &table) {
    rs.Open(table, cnInddata, engine::adOpenKeyset, engine::adLockPessimistic, engine::adCmdTable);
}

void addRecord(engine::Recordset &rs, const FieldValues &values) {
    rs.AddNew();
    for (const auto &[name, value] : values)
        rs.Fields(name).setValue(value);
    rs.Update();
}

// Statement numbers of one table's deletion; loop 0 where the loop test has none of its own.
struct ClearNumbers {
    std::int32_t open, test, first, loop, remove, next, close;
};

void clearTable(engine::Recordset &rs, const QString &table, const ClearNumbers &n) {
    LogNr = n.open;
    openInput(rs, table);
    LogNr = n.test;
    if (!(rs.Bof() && rs.Eof())) {
        LogNr = n.first;
        rs.MoveFirst();
        for (;;) {
            if (n.loop != 0)
                LogNr = n.loop;
            if (rs.Eof())
                break;
            LogNr = n.remove;
            rs.Delete();
            LogNr = n.next;
            rs.MoveNext();
        }
    }
    LogNr = n.close;
    rs.Close();
}

// Adds numbered records after those already there, whatever their keys, until there are limit of them.
void topUp(engine::Recordset &rs, const QString &table, std::int32_t firstNr, int limit,
           const std::function<FieldValues(int)> &defaults) {
    LogNr = firstNr;
    openInput(rs, table);
    LogNr = firstNr + 1;
    long n = 0;
    if (!(rs.Bof() && rs.Eof())) {
        LogNr = firstNr + 2;
        rs.MoveLast();
        n = rs.RecordCount();
    }
    while (n < limit) {
        LogNr = firstNr + 3;
        ++n;
        addRecord(rs, defaults(static_cast<int>(n)));
    }
    LogNr = firstNr + 4;
    rs.Close();
}

void addIfEmpty(engine::Recordset &rs, const QString &table, std::int32_t firstNr, const FieldValues &defaults) {
    LogNr = firstNr;
    openInput(rs, table);
    LogNr = firstNr + 1;
    if (rs.Bof() && rs.Eof()) {
        LogNr = firstNr + 2;
        addRecord(rs, defaults);
    }
    LogNr = firstNr + 3;
    rs.Close();
}

} // namespace

void ClearInddata() {
    engine::AsOneWrite(cnInddata, [] {
        engine::Recordset rs;
        clearTable(rs, QStringLiteral("inddata"), {102, 103, 104, 0, 105, 106, 107});
        clearTable(rs, QStringLiteral("inddatalast"), {108, 109, 110, 0, 111, 112, 113});
        clearTable(rs, QStringLiteral("inddataisolering"), {114, 115, 116, 0, 117, 118, 119});
        clearTable(rs, QStringLiteral("projekt"), {120, 121, 122, 123, 124, 125, 126});
    });
}

void InitInddata() {
    engine::AsOneWrite(cnInddata, [] {
        engine::Recordset rs;
        addIfEmpty(rs, QStringLiteral("inddata"), 131, InddataDefaults());
        topUp(rs, QStringLiteral("inddatalast"), 135, 10, [](int n) { return LastDefaults(n); });
        topUp(rs, QStringLiteral("inddataisolering"), 140, 2, [](int n) { return IsoleringDefaults(n); });
        addIfEmpty(rs, QStringLiteral("projekt"), 145, ProjektDefaults());
        LogNr = 149;
    });
}

void ReportMainError(std::int32_t errNumber, const QString &description, std::int32_t logNr,
                     const QString &functionName) {
    data::ReportError(errNumber, description, logNr, functionName);
}

namespace {

void passed(StartStep step) {
    if (AfterStep)
        AfterStep(step);
}

// "Filen "<path>" mangler !", then start-up ends.
Opening reportMissing(const QString &path) {
    platform::MsgBox(QStringLiteral("Filen \"") + path + QStringLiteral("\" mangler !"));
    DatabaseMangler = true;
    return Opening::Ended;
}

// Listed under exactly path's name, not another spelling of it.
bool listedExactly(const QString &path) { return platform::ListFile(path) == QFileInfo(path).fileName(); }

// Found under path's own spelling.
bool spelledAs(const QString &found, const QString &path) {
    return QFileInfo(found).fileName() == QFileInfo(path).fileName();
}

// The file that stands for the database at path, chosen as the connections choose it: the lower-case name,
// else its only other spelling; empty when there is none. Something that is no plain file in a database's
// place is not missing, only not to be opened; start-up ends there before it touches a file.
QString present(const QString &path) {
    const QString found = engine::FindFile(path);
    if (found.isEmpty() && QFileInfo::exists(path))
        engine::raise(engine::err::DbCannotOpen, engine::cannotOpenText(path));
    return found;
}

engine::Connection connect(const QString &dataSource) {
    engine::Connection cn;
    cn.Open(data::ConnectionString(dataSource));
    return cn;
}

// cnInddata, cnParam and cnIsol on the databases of the current folder, with the account set up before.
void OpenConnections() {
    cnInddata = connect(QStringLiteral("inddata.mdb"));
    cnParam = connect(QStringLiteral("param.mdb"));
    cnIsol = connect(QStringLiteral("isol.mdb"));
}

void reportError(const engine::RuntimeError &e) {
    ReportMainError(e.number(), e.description(), LogNr, QStringLiteral("Sub Main"));
}

} // namespace

Opening OpenDatabases(const QString &programFolder) {
    const QDir folder(programFolder);
    const QString mdb = folder.filePath(QStringLiteral("inddata.mdb"));
    const QString tmp = folder.filePath(QStringLiteral("inddata.tmp"));
    try {
        LogNr = 890;
        if (!holdFolders(programFolder)) {
            platform::MsgBox(kAlreadyRunning);
            return Opening::FolderInUse;
        }
        engine::Engine::SystemDB = folder.filePath(QStringLiteral("system.mdw"));
        LogNr = 892;
        engine::Engine::DefaultUser = data::kUser;
        LogNr = 893;
        engine::Engine::DefaultPassword = data::kPassword;
        passed(StartStep::EngineReady);

        LogNr = 894;
        DatabaseMangler = false;
        const QString database = present(mdb);
        if (!database.isEmpty()) {
            LogNr = 895;
            const QString old = engine::FindFile(tmp);
            if (!old.isEmpty()) {
                // A whole copy under the compaction's own name, beside the database in another spelling only,
                // may be the database itself, left by a start that stopped between deleting the database and
                // renaming the copy while a user's copy stood beside it: neither is deleted for the other.
                if (!spelledAs(database, mdb) && spelledAs(old, tmp) && engine::OpensWhole(old))
                    engine::raiseSpellings({database, old});
                platform::DeleteFile(old);
                passed(StartStep::OldCopyDeleted);
            }
            LogNr = 896;
            engine::Engine::CompactDatabase(database, tmp);
            passed(StartStep::Compacted);
            if (listedExactly(tmp)) {
                // The copy must be whole on disk before the only other copy goes: a crash between the
                // two leaves the copy alone, and the next start takes it.
                platform::SyncFile(tmp);
                passed(StartStep::CopyOnDisk);
                platform::DeleteFile(database);
                passed(StartStep::OriginalDeleted);
                platform::RenameFile(tmp, mdb);
                platform::SyncFolder(programFolder);
                passed(StartStep::CopyRenamed);
            }
        } else {
            // Only a copy listed in lower case counts here.
            if (!listedExactly(tmp))
                return reportMissing(mdb);
            LogNr = 897;
            platform::RenameFile(tmp, mdb);
            platform::SyncFolder(programFolder);
            passed(StartStep::CopyRenamed);
        }

        LogNr = 898;
        if (present(folder.filePath(QStringLiteral("param.mdb"))).isEmpty())
            return reportMissing(folder.filePath(QStringLiteral("param.mdb")));
        LogNr = 899;
        if (present(folder.filePath(QStringLiteral("isol.mdb"))).isEmpty())
            return reportMissing(folder.filePath(QStringLiteral("isol.mdb")));

        LogNr = 900;
        OpenConnections();
        passed(StartStep::Connected);
        return Opening::Opened;
    } catch (const engine::RuntimeError &e) {
        reportError(e);
        return Opening::Ended;
    }
}

bool Main(const QString &programFolder) {
    if (OpenDatabases(programFolder) != Opening::Opened)
        return false;
    try {
        ClearInddata();
        passed(StartStep::Cleared);
        LogNr = 901;
        InitInddata();
        passed(StartStep::Initialised);
        LogNr = 902;
        ChangeCheck::SaveInddataValues();
        passed(StartStep::SnapshotTaken);
        if (ShowMainWindow)
            ShowMainWindow();
        return true;
    } catch (const engine::RuntimeError &e) {
        reportError(e);
        return false;
    }
}

} // namespace modMain
