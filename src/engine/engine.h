#pragma once
// The database engine layer: connections, recordsets and commands in the shape the program's procedures
// use them, over SQLite files. Connection, Recordset and Command are shared handles (copies refer to the
// same object), as object references were.

#include "engine/errors.h"
#include "engine/variant.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace engine {

enum CursorType { adOpenForwardOnly = 0, adOpenKeyset = 1, adOpenDynamic = 2, adOpenStatic = 3 };
enum LockType { adLockReadOnly = 1, adLockPessimistic = 2, adLockOptimistic = 3 };
enum CommandTypeEnum { adCmdUnspecified = -1, adCmdTable = 2 };
enum EditModeEnum { adEditNone = 0, adEditInProgress = 1, adEditAdd = 2 };
enum SchemaEnum { adSchemaTables = 20 };
// Field types as ADO numbers.
enum DataType {
    adSmallInt = 2,
    adInteger = 3,
    adSingle = 4,
    adDouble = 5,
    adCurrency = 6,
    adDate = 7,
    adBoolean = 11,
    adUnsignedTinyInt = 17,
    adVarWChar = 202,
    adLongVarWChar = 203,
};

// The engine's process-wide settings (the workgroup file and the default account), and compaction.
struct Engine {
    static QString SystemDB;
    static QString DefaultUser;
    static QString DefaultPassword;
    // Writes a compacted copy of src (found as FindFile finds it) to dst, which must not exist under exactly
    // that name; another spelling of it is another file and stays as it is.
    static void CompactDatabase(const QString &src, const QString &dst);
};

// The plain file that path stands for, found in its folder without regard to case. The program spells its own
// files in lower case (the connection strings write "System.mdw"), so that spelling wins, else the one file
// whose name differs from it in case alone. Empty when there is none; several and none in lower case raise
// 58 naming them, for none of them may be taken for the others.
QString FindFile(const QString &path);

// True when path opens as a database and every page of it reads; never raises.
bool OpensWhole(const QString &path);

struct ConnectionImpl;
struct RecordsetImpl;
class Recordset;

class Connection {
public:
    Connection();

    // Parses the connection string's keys; the data source and the system database are found in the
    // current folder. A missing file is an error: no new database is ever made here.
    void Open(const QString &connectionString);
    void Close();
    // Runs one SQL text (Jet forms accepted); returns the number of rows it changed.
    long Execute(const QString &sql);
    // Schema 20: the user tables, sorted by name without regard to case (fields TABLE_NAME, TABLE_TYPE).
    Recordset OpenSchema(int schema);
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();

    std::shared_ptr<ConnectionImpl> impl() const { return d_; }

private:
    std::shared_ptr<ConnectionImpl> d_;
};

class Field {
public:
    Field(std::shared_ptr<RecordsetImpl> rs, int index) : rs_(std::move(rs)), index_(index) {}
    // Reading at BOF/EOF or on a deleted row raises 3021. A Null field reads as Null.
    Variant Value() const;
    // Makes an edit pending on the recordset (EditMode 1) until Update, Move or CancelUpdate.
    void setValue(const Variant &v) const;
    Field &operator=(const Variant &v) {
        setValue(v);
        return *this;
    }
    QString Name() const;
    int Type() const;
    // Property("ISAUTOINCREMENT")
    Variant Property(const QString &name) const;

private:
    std::shared_ptr<RecordsetImpl> rs_;
    int index_;
};

class Recordset {
public:
    Recordset();
    explicit Recordset(std::shared_ptr<RecordsetImpl> d) : d_(std::move(d)) {}

    // Source: a table name (options adCmdTable or unspecified) or an SQL text.
    void Open(const QString &source, const Connection &cn, int cursorType = adOpenForwardOnly,
              int lockType = adLockReadOnly, int options = adCmdUnspecified);
    void Close();
    bool IsOpen() const;

    bool Eof() const; // EOF (a macro name in C)
    bool Bof() const;
    long RecordCount() const;
    // On an empty recordset (BOF and EOF at once) both raise 3021.
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    void Move(long n);

    int FieldCount() const;
    Field Fields(int index) const;
    Field Fields(const QString &name) const;

    void AddNew();
    void Update();
    void CancelUpdate();
    void Cancel();
    void Delete();
    int EditMode() const;

    // A condition text ("LastID=3", "Overside = true and Staaltype = 1"); the empty text removes it.
    void setFilter(const QString &filter);

    // The stored spelling of the source table; empty for an SQL text.
    QString tableName() const;

private:
    std::shared_ptr<RecordsetImpl> d_;
};

class Command {
public:
    Connection ActiveConnection;
    QString CommandText;
    long Execute() { return ActiveConnection.Execute(CommandText); }
};

// Builds a database file from an SQL script (used by the build and by tests). With workgroup, the file
// also holds the fixed account; otherwise it carries the database password; either row with a check value.
void CreateDatabase(const QString &path, const QString &script, bool workgroup, const QString &user,
                    const QString &password);

} // namespace engine
