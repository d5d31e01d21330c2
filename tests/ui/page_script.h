#pragma once
// Window scripts: a test is a table of steps, each one line of clauses joined by " | " and taken in turn. A clause
// that starts with a verb acts ("choose cmbMKlasse=Passiv"); any other is a check, and a failure names the step.
// Checks: "<names>=<text>" (each control's text), focus=, runs= (sketch runs in the step), calls= (procedures
// recorded since the last step, ", " between), page=, busy=, shown=/hidden=/ro=/rw=/on=/off= (names), msg= (the
// step's messages, " / " between; a step without msg= or msg~ shows none), msg~ (the last message holds the text),
// "db table.field#record=value" and "entries list=a/b/c".
// Values: '' the empty text, null, a number (point as decimal mark) or text.

#include "kit/command_button.h"
#include "kit/controls.h"
#include "page_fixture.h"

#include <functional>
#include <map>

namespace uitest {

class ScriptTest : public PageTest {
protected:
    frmMain &f() const { return m ? static_cast<frmMain &>(*m) : *w; }
    std::int16_t &busy() const { return m ? m->opdaterer() : w->opdaterer(); }

    using Proc = std::function<void(frmMain &)>;
#define P(call) std::pair<const QString, Proc>(QString(#call).section('(', 0, 0), [](frmMain &f) { f.call; })
    std::map<QString, Proc> procs = {P(OpdaterDaekType()),
                                     P(OpdaterBetonKvalitet()),
                                     P(OpdaterIsolering()),
                                     P(OpdaterMellemlag()),
                                     P(OpdaterLastForm()),
                                     P(VisLast(*f.dataLast)),
                                     P(FormaterLast(f.dataLast->Recordset())),
                                     P(GemInddata()),
                                     P(Form_Activate()),
                                     P(Command1_Click(0))};
#undef P

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
    int page() const {
        const bool load = f().frmLast->isVisible(), slab = f().frmDaek->isVisible(),
                   layers =
                       f().frmIsolering->isVisible() && f().frmMellemlag->isVisible() && f().frmTerraen->isVisible();
        return load + slab + layers != 1 ? 0 : load ? 1 : slab ? 2 : 3;
    }

    void act(const QString &verb, const QString &name, const QString &text) {
        QWidget *c = QStringList{"show", "store", "do", "busy", "alt"}.contains(verb) ? nullptr : control(name);
        auto *list = qobject_cast<QComboBox *>(c);
        auto *box = qobject_cast<QLineEdit *>(c);
        if (verb == "show") {
            showPage(name == "Loads" ? Page::Loads : name == "Slab" ? Page::Slab : Page::Layers);
        } else if (verb == "store") {
            const auto [table, field, record] = place(name);
            store(table, field, value(text), record);
        } else if (verb == "do") {
            ASSERT_TRUE(procs.count(name)) << name.toStdString();
            procs[name](f());
        } else if (verb == "busy") {
            busy() = std::int16_t(name.toInt());
        } else if (verb == "alt") {
            keyClick(&f(), Qt::Key(name[0].unicode()), Qt::AltModifier, name[0].isLetter() ? QString() : name);
        } else if (verb == "set") {
            list ? ui::SetListText(list, text) : box ? box->setText(text) : static_cast<QLabel *>(c)->setText(text);
        } else if (verb == "choose") {
            choose(list, text);
        } else if (verb == "focus") {
            c->setFocus();
            processEvents();
        } else if (verb == "click") {
            mouseClick(c);
        } else if (verb == "enter") {
            enter(box, text);
        } else { // edit or pick: typed into a list; pick also presses Enter
            for (int i = 0; i < 2 && focused() != c; ++i) {
                c->setFocus();
                processEvents();
            }
            processEvents(); // a selection the focus move asked for comes before the first key, as on screen
            list->setEditText(QString());
            keyClicks(c, text);
            if (verb == "pick")
                keyClick(c, Qt::Key_Return);
        }
    }

    void check(const QString &key, const QString &text) {
        const QStringList names = key.split(' ');
        const std::map<QString, std::function<QString()>> scalars = {
            {"focus", [this] { return focused() ? focused()->objectName() : QString(); }},
            {"runs", [this] { return QString::number(m->sketchRuns); }},
            {"calls", [this] { return QStringList(w->calls.begin(), w->calls.end()).join(", "); }},
            {"page", [this] { return QString::number(page()); }},
            {"busy", [this] { return QString::number(busy()); }},
            {"msg", [this] {
                 const std::vector<QString> shown = shownTexts();
                 return QStringList(shown.begin(), shown.end()).join(" / ");
             }}};
        const std::map<QString, std::function<bool(QWidget *)>> states = {
            {"shown", [](QWidget *c) { return ui::Visible(c); }},
            {"hidden", [](QWidget *c) { return !ui::Visible(c); }},
            {"ro", [](QWidget *c) { return static_cast<QLineEdit *>(c)->isReadOnly(); }},
            {"rw", [](QWidget *c) { return !static_cast<QLineEdit *>(c)->isReadOnly(); }},
            {"on", [](QWidget *c) { return c->isEnabled(); }},
            {"off", [](QWidget *c) { return !c->isEnabled(); }}};
        if (key == "msg~") {
            ASSERT_FALSE(messages->shown.empty());
            EXPECT_TRUE(messages->shown.back().text.contains(text)) << messages->shown.back().text.toStdString();
        } else if (const auto scalar = scalars.find(key); scalar != scalars.end()) {
            EXPECT_EQ(scalar->second(), text) << key.toStdString();
        } else if (names[0] == "db") {
            const auto [table, field, record] = place(names[1]);
            EXPECT_EQ(stored(table, field, record), value(text)) << names[1].toStdString();
        } else if (names[0] == "entries") {
            EXPECT_EQ(ui::ListEntries(static_cast<QComboBox *>(control(names[1]))).join('/'), text);
        } else {
            const auto state = states.find(key);
            for (const QString &name : state == states.end() ? names : text.split(' ')) {
                QWidget *c = control(name);
                if (c && state != states.end()) {
                    EXPECT_TRUE(state->second(c)) << key.toStdString() << " " << name.toStdString();
                } else if (c) {
                    auto *list = qobject_cast<QComboBox *>(c);
                    auto *label = qobject_cast<QLabel *>(c);
                    EXPECT_EQ(list    ? ui::ListText(list)
                              : label ? label->text()
                                      : static_cast<QLineEdit *>(c)->text(),
                              text)
                        << name.toStdString();
                }
            }
        }
    }

    void step(const QString &line) {
        SCOPED_TRACE(line.toStdString());
        if (m)
            m->sketchRuns = 0;
        bool messagesChecked = false;
        static const QStringList verbs = {"show",   "store", "do",    "busy",  "alt",  "set",
                                          "choose", "focus", "click", "enter", "edit", "pick"};
        for (const QString &clause : line.split(" | ")) {
            const QString first = clause.section(' ', 0, 0);
            const int eq = clause.startsWith("msg~") ? 3 : clause.indexOf('=');
            if (verbs.contains(first) && (eq < 0 || first.size() < eq)) {
                const QString rest = clause.mid(first.size() + 1);
                act(first, rest.section('=', 0, 0), rest.section('=', 1));
            } else {
                messagesChecked |= clause.startsWith("msg");
                check(clause.left(eq + (eq >= 0 && clause[eq] == '~')), clause.mid(eq + 1));
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
