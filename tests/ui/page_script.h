#pragma once
// Window scripts: a test is a table of steps, each one line of clauses joined by " | ". A clause that starts with a
// verb acts ("choose cmbMKlasse=Passiv"); any other states what must hold after the step's actions, and a failure
// names the step. Checks: "<names>=<text>" (each control's text), focus=, runs= (sketch runs in the step), calls=
// (recorded procedures, ", " between), shown=/hidden=/ro=/rw=/on=/off= (names), paints=0 or + (frame repaints),
// msg= (the step's messages, " / " between; a step without msg= shows none), msg~ (one message holding the text),
// page=, busy=, error= and lognr= (of the last "do"), "db table.field#record=value", "entries list=a/b" and "count
// procedure=n". Values: '' the empty text, null, a number (point as decimal mark) or text.

#include "page_fixture.h"
#include "ui/command_button.h"
#include "ui/controls.h"

#include <QPointer>
#include <functional>
#include <map>

namespace uitest {

class ScriptTest : public PageTest {
protected:
    frmMain &f() const { return m ? static_cast<frmMain &>(*m) : *w; }
    std::int16_t &busyCounter() const { return m ? m->opdaterer() : w->opdaterer(); }

    using Proc = std::function<void(frmMain &)>;
#define P(call) std::pair<const QString, Proc>(QString(#call).section('(', 0, 0), [](frmMain &f) { f.call; })
    std::map<QString, Proc> procs = {
        P(OpdaterDaekType()),  P(OpdaterMiljoeklasse()), P(OpdaterBetonKvalitet()),
        P(OpdaterIsolering()), P(OpdaterMellemlag()),    P(OpdaterTerraen()),
        P(OpdaterLastForm()),  P(VisLast(*f.dataLast)),  P(FormaterLast(f.dataLast->Recordset())),
        P(FormaterDaek()),     P(HentDaeklag()),         P(HentMellemlag()),
        P(HentDaekType()),     P(HentTerraen()),         P(HentIsolering()),
        P(GemInddata()),       P(Form_Activate()),       P(dataLast->MoveNext()),
        P(btnNaeste_Click()),  P(btnForrige_Click()),    P(Command1_Click(0))};
#undef P
    long lastError = 0;
    QPointer<PaintCounter> paints[3]; // owned by their frames

    static engine::Variant value(const QString &text) {
        bool number = false;
        const double x = text.toDouble(&number);
        return text == "''"     ? engine::Variant("")
               : text == "null" ? engine::Variant::Null()
               : number         ? engine::Variant(x)
                                : engine::Variant(text);
    }
    // "table.field#record"
    static std::tuple<QString, QString, int> place(const QString &where) {
        return {where.section('.', 0, 0), where.section('.', 1).section('#', 0, 0), where.section('#', 1).toInt()};
    }
    QWidget *control(const QString &name) const {
        QWidget *c = f().findChild<QWidget *>(name);
        EXPECT_NE(c, nullptr) << name.toStdString();
        return c;
    }
    static QString textOf(QWidget *c) {
        if (auto *list = qobject_cast<QComboBox *>(c))
            return ui::ListText(list);
        if (auto *label = qobject_cast<QLabel *>(c))
            return label->text();
        return static_cast<QLineEdit *>(c)->text();
    }
    static void setText(QWidget *c, const QString &text) {
        if (auto *list = qobject_cast<QComboBox *>(c))
            ui::SetListText(list, text);
        else if (auto *label = qobject_cast<QLabel *>(c))
            label->setText(text);
        else
            static_cast<QLineEdit *>(c)->setText(text);
    }
    int page() const {
        const bool load = f().frmLast->isVisible(), slab = f().frmDaek->isVisible();
        const bool layers =
            f().frmIsolering->isVisible() && f().frmMellemlag->isVisible() && f().frmTerraen->isVisible();
        return load + slab + layers != 1 ? 0 : load ? 1 : slab ? 2 : 3;
    }
    int repaints() const {
        int n = 0;
        for (const auto &p : paints)
            n += p ? p->paints : 0;
        return n;
    }

    void act(const QString &verb, const QString &name, const QString &text) {
        if (verb == "show") {
            showPage(name == "Loads" ? Page::Loads : name == "Slab" ? Page::Slab : Page::Layers);
            paints[0] = new PaintCounter(m->frmLast);
            paints[1] = new PaintCounter(m->frmDaek);
            paints[2] = new PaintCounter(m->frmIsolering);
        } else if (verb == "store") {
            const auto [table, field, record] = place(name);
            store(table, field, value(text), record);
        } else if (verb == "do") {
            ASSERT_TRUE(procs.count(name)) << name.toStdString();
            lastError = raised([&] { procs[name](f()); });
        } else if (verb == "busy") {
            busyCounter() = std::int16_t(name.toInt());
        } else if (verb == "alt") {
            keyClick(&f(), Qt::Key(name[0].unicode()), Qt::AltModifier, name[0].isLetter() ? QString() : name);
        } else if (QWidget *c = control(name); !c) {
        } else if (verb == "set") {
            setText(c, text);
        } else if (verb == "choose") {
            choose(static_cast<QComboBox *>(c), text);
        } else if (verb == "focus") {
            c->setFocus();
            processEvents();
        } else if (verb == "click") {
            mouseClick(c);
        } else if (verb == "type") {
            keyClicks(c, text);
        } else if (verb == "enter") {
            enter(static_cast<QLineEdit *>(c), text);
        } else if (verb == "edit" || verb == "pick") { // typed into a list; pick also presses Enter
            for (int i = 0; i < 2 && focused() != c; ++i) {
                c->setFocus();
                processEvents();
            }
            static_cast<QComboBox *>(c)->setEditText(QString());
            keyClicks(c, text);
            if (verb == "pick")
                keyClick(c, Qt::Key_Return);
        } else {
            ADD_FAILURE() << "no verb " << verb.toStdString();
        }
    }

    // The checks of one value each, as text.
    const std::map<QString, std::function<QString()>> scalars = {
        {"focus", [this] { return focused() ? focused()->objectName() : QString(); }},
        {"runs", [this] { return QString::number(m->sketchRuns); }},
        {"calls", [this] { return QStringList(w->calls.begin(), w->calls.end()).join(", "); }},
        {"paints", [this] { return repaints() > 0 ? "+" : "0"; }},
        {"page", [this] { return QString::number(page()); }},
        {"busy", [this] { return QString::number(busyCounter()); }},
        {"error", [this] { return QString::number(lastError); }},
        {"lognr", [this] { return QString::number(f().LogNr); }}};

    void check(const QString &key, const QString &text, bool &messagesChecked) {
        const QStringList names = key.split(' ');
        const std::map<QString, std::function<bool(QWidget *)>> states = {
            {"shown", [](QWidget *c) { return ui::Visible(c); }},
            {"hidden", [](QWidget *c) { return !ui::Visible(c); }},
            {"ro", [](QWidget *c) { return static_cast<QLineEdit *>(c)->isReadOnly(); }},
            {"rw", [](QWidget *c) { return !static_cast<QLineEdit *>(c)->isReadOnly(); }},
            {"on", [](QWidget *c) { return c->isEnabled(); }},
            {"off", [](QWidget *c) { return !c->isEnabled(); }}};
        if (key == "msg") {
            messagesChecked = true;
            const QStringList expected = text.isEmpty() ? QStringList() : text.split(" / ");
            EXPECT_EQ(shownTexts(), std::vector<QString>(expected.begin(), expected.end()));
        } else if (key == "msg~") {
            messagesChecked = true;
            ASSERT_EQ(messages->shown.size(), 1u);
            EXPECT_TRUE(messages->shown[0].text.contains(text)) << messages->shown[0].text.toStdString();
        } else if (const auto scalar = scalars.find(key); scalar != scalars.end()) {
            EXPECT_EQ(scalar->second(), text) << key.toStdString();
        } else if (names[0] == "db") {
            const auto [table, field, record] = place(names[1]);
            EXPECT_EQ(stored(table, field, record), value(text)) << names[1].toStdString();
        } else if (names[0] == "count") {
            EXPECT_EQ(w->count(names[1]), text.toLong()) << names[1].toStdString();
        } else if (names[0] == "entries") {
            EXPECT_EQ(ui::ListEntries(static_cast<QComboBox *>(control(names[1]))).join('/'), text);
        } else if (states.count(key)) {
            for (const QString &name : text.split(' '))
                if (QWidget *c = control(name)) {
                    EXPECT_TRUE(states.at(key)(c)) << key.toStdString() << " " << name.toStdString();
                }
        } else {
            for (const QString &name : names)
                if (QWidget *c = control(name)) {
                    EXPECT_EQ(textOf(c), text) << name.toStdString();
                }
        }
    }

    void step(const QString &line) {
        SCOPED_TRACE(line.toStdString());
        if (m)
            m->sketchRuns = 0;
        if (line.contains("paints=")) {
            processEvents();
            for (const auto &p : paints)
                if (p)
                    p->paints = 0;
        }
        bool messagesChecked = false;
        static const QStringList verbs = {"show",  "store", "do",    "busy", "alt",  "set", "choose",
                                          "focus", "click", "enter", "edit", "pick", "type"};
        for (const QString &clause : line.split(" | ")) {
            const QString first = clause.section(' ', 0, 0);
            const int eq = clause.indexOf('=');
            if (verbs.contains(first) && (eq < 0 || first.size() < eq)) {
                const QString rest = clause.mid(first.size() + 1);
                act(first, rest.section('=', 0, 0), rest.section('=', 1));
            } else if (clause.startsWith("msg~")) {
                check("msg~", clause.mid(4), messagesChecked);
            } else {
                check(clause.left(eq), clause.mid(eq + 1), messagesChecked);
            }
        }
        if (!messagesChecked) {
            EXPECT_EQ(shownTexts(), std::vector<QString>{});
        }
        messages->shown.clear();
        if (w)
            w->calls.clear();
    }
    void run(std::initializer_list<QString> steps) {
        for (const QString &s : steps)
            step(s);
    }
};

} // namespace uitest
