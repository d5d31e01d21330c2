#include "kit/data_source.h"

#include "kit/controls.h"
#include "platform/numbers.h"

#include <QComboBox>
#include <QLineEdit>

namespace ui {

namespace {

bool isTextType(int type) { return type == engine::adVarWChar || type == engine::adLongVarWChar; }

} // namespace

DataSource::DataSource(const QString &name, QObject *parent) : QObject(parent) { setObjectName(name); }

void DataSource::Bind(QLineEdit *box, const QString &field) {
    const size_t index = bindings_.size();
    bindings_.push_back({box, nullptr, field, false});
    connect(box, &QLineEdit::textChanged, this, [this, index] { markChanged(index); });
}

void DataSource::Bind(QComboBox *list, const QString &field) {
    const size_t index = bindings_.size();
    bindings_.push_back({nullptr, list, field, false});
    connect(list, &QComboBox::editTextChanged, this, [this, index] { markChanged(index); });
}

void DataSource::markChanged(size_t index) {
    if (!showing_)
        bindings_[index].changed = true;
}

QString DataSource::text(const Binding &b) const { return b.box ? b.box->text() : b.list->currentText(); }

void DataSource::setText(Binding &b, const QString &text) {
    if (b.box)
        b.box->setText(text);
    else
        SetListText(b.list, text);
}

void DataSource::setRecordset(const engine::Recordset &rs) {
    rs_ = rs;
    Refresh();
}

bool DataSource::HasRecordset() const { return rs_.IsOpen(); }

int DataSource::EditMode() const {
    for (const Binding &b : bindings_)
        if (b.changed)
            return engine::adEditInProgress;
    return rs_.EditMode();
}

engine::Variant DataSource::ValueFromText(const engine::Field &field, const QString &text) {
    if (isTextType(field.Type()))
        return engine::Variant(text);
    if (text.isEmpty())
        return engine::Variant::Null();
    const std::optional<double> v = platform::ParseNumber(text);
    if (!v)
        engine::raise(engine::err::TypeMismatch);
    return engine::Variant(*v);
}

QString DataSource::TextFromValue(const engine::Variant &value) {
    return value.isNull() ? QString() : platform::CStr(value);
}

void DataSource::writeEdits() {
    // Every text is converted before any is written, so a text that is no number leaves the record alone.
    std::vector<std::pair<engine::Field, engine::Variant>> values;
    for (const Binding &b : bindings_) {
        if (!b.changed)
            continue;
        engine::Field f = rs_.Fields(b.field);
        values.emplace_back(f, ValueFromText(f, text(b)));
    }
    for (auto &[field, value] : values)
        field.setValue(value);
    for (Binding &b : bindings_)
        b.changed = false;
}

void DataSource::Refresh() {
    showing_ = true;
    struct Reset {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{showing_};
    const bool atRecord = rs_.IsOpen() && !rs_.Eof() && !rs_.Bof();
    for (Binding &b : bindings_) {
        setText(b, atRecord ? TextFromValue(rs_.Fields(b.field).Value()) : QString());
        b.changed = false;
    }
}

void DataSource::Move(long n) {
    around([&] { rs_.Move(n); });
}

void DataSource::MoveFirst() {
    around([&] { rs_.MoveFirst(); });
}

void DataSource::MoveNext() {
    around([&] { rs_.MoveNext(); });
}

void DataSource::MovePrevious() {
    around([&] { rs_.MovePrevious(); });
}

void DataSource::MoveLast() {
    around([&] { rs_.MoveLast(); });
}

void DataSource::Update() {
    around([&] { rs_.Update(); });
}

engine::Recordset OpenForBinding(const QString &table, const engine::Connection &cn) {
    engine::Recordset rs;
    rs.Open(table, cn, engine::adOpenDynamic, engine::adLockOptimistic, engine::adCmdTable);
    return rs;
}

} // namespace ui
