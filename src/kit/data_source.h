#pragma once
// The bound data control: it holds a recordset, shows the current record's fields in the controls bound to
// it, and keeps what the user (or the program) changes in those controls as a pending edit, which it writes
// into the record on Move 0, on a move to another record and on Update. The window code moves the record
// through this class, never through the bare recordset, so that the controls follow.

#include "engine/engine.h"

#include <QObject>
#include <QString>
#include <vector>

class QComboBox;
class QLineEdit;

namespace ui {

class DataSource : public QObject {
    Q_OBJECT
public:
    DataSource(const QString &name, QObject *parent);

    // A text box or a pick list (its text) shows and edits the field of that name (any case).
    void Bind(QLineEdit *box, const QString &field);
    void Bind(QComboBox *list, const QString &field);

    // Takes a recordset and shows its current record.
    void setRecordset(const engine::Recordset &rs);
    bool HasRecordset() const;
    // The recordset itself, for reading fields and for its filter. Its fields hold what was last written to
    // the record, not what the controls show.
    engine::Recordset &Recordset() { return rs_; }
    engine::Field Fields(const QString &name) const { return rs_.Fields(name); }

    // 1 while a bound control holds a change not yet written, or a field of the record was set.
    int EditMode() const;
    bool Eof() const { return rs_.Eof(); }
    bool Bof() const { return rs_.Bof(); }

    // Each writes the controls' pending edit into the record first, and shows the current record after.
    void Move(long n);
    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();
    void Update();

    // Shows the current record again; the controls' pending edit is dropped.
    void Refresh();

    // The record's value of a field as a bound control would write this text: text fields take it as it
    // is; numeric fields read it in the regional settings, the empty text as Null, and raise 13 for text
    // that is no number.
    static engine::Variant ValueFromText(const engine::Field &field, const QString &text);
    // What a bound control shows of a value: the runtime's text of it, Null as the empty text.
    static QString TextFromValue(const engine::Variant &value);

private:
    struct Binding {
        QLineEdit *box = nullptr;
        QComboBox *list = nullptr;
        QString field;
        bool changed = false;
    };
    QString text(const Binding &b) const;
    void setText(Binding &b, const QString &text);
    void markChanged(size_t index);
    void writeEdits();
    // The controls' edits go into the record first; the record that is then current is shown.
    template <class Op> void around(Op op) {
        writeEdits();
        op();
        Refresh();
    }

    engine::Recordset rs_;
    std::vector<Binding> bindings_;
    bool showing_ = false;
};

// Opens a whole table for a DataSource: server-side, dynamic, optimistic locking.
engine::Recordset OpenForBinding(const QString &table, const engine::Connection &cn);

} // namespace ui
