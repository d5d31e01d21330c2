#pragma once
// The main window on fresh databases with the default input, under Danish regional settings, with its
// page procedures recorded so that the window's own mechanism can be watched.

#include "data/change_check.h"
#include "data/connections.h"
#include "data/modmain.h"
#include "kit/data_source.h"
#include "platform/help_viewer.h"
#include "platform/message_box.h"
#include "support/sample_floor.h"
#include "ui/frm_main.h"

#include "input_events.h"
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace uitest {

class RecordingMain : public frmMain {
public:
    std::vector<QString> calls;

    std::int16_t &opdaterer() { return Opdaterer; }

    void TegnSkitse(bool Tvungen) override {
        calls.push_back(Tvungen ? QStringLiteral("TegnSkitse(True)") : QStringLiteral("TegnSkitse(False)"));
        frmMain::TegnSkitse(Tvungen);
    }
    void OpdaterDaekType() override { calls.push_back(QStringLiteral("OpdaterDaekType")); }
    void OpdaterMiljoeklasse() override { calls.push_back(QStringLiteral("OpdaterMiljoeklasse")); }
    void OpdaterSikkerhedsklasse() override { calls.push_back(QStringLiteral("OpdaterSikkerhedsklasse")); }
    void OpdaterBetonKvalitet() override { calls.push_back(QStringLiteral("OpdaterBetonKvalitet")); }
    void OpdaterIsolering() override { calls.push_back(QStringLiteral("OpdaterIsolering")); }
    void OpdaterMellemlag() override { calls.push_back(QStringLiteral("OpdaterMellemlag")); }
    void OpdaterTerraen() override { calls.push_back(QStringLiteral("OpdaterTerraen")); }
    void VisLast(ui::DataSource &rs) override {
        calls.push_back(QStringLiteral("VisLast ") +
                        rs.Recordset().Fields(QStringLiteral("lastid")).Value().toString());
    }
    void OpdaterLastForm() override { calls.push_back(QStringLiteral("OpdaterLastForm")); }
    void OpdaterLastPlacering() override { calls.push_back(QStringLiteral("OpdaterLastPlacering")); }
    void FormaterLast(const engine::Recordset &) override { calls.push_back(QStringLiteral("FormaterLast")); }
    void FormaterDaek() override { calls.push_back(QStringLiteral("FormaterDaek")); }
    void FormaterIsolering() override { calls.push_back(QStringLiteral("FormaterIsolering")); }
};

class MainWindowTest : public ::testing::Test {
protected:
    testsupport::ProgramDatabases databases;
    const testsupport::DatabaseFolder &folder = databases.folder();
    std::shared_ptr<platform::RecordingMessages> messages = std::make_shared<platform::RecordingMessages>();
    std::shared_ptr<platform::RecordingHelp> help = std::make_shared<platform::RecordingHelp>();
    std::unique_ptr<RecordingMain> w;

    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark));
        platform::setMessageService(messages);
        platform::setHelpService(help);
        testsupport::startWithDefaultInput();
    }

    void TearDown() override {
        w.reset();
        QLocale::setDefault(QLocale::c());
    }

    // Loads the window; shown, it is activated as the program shows it.
    void load() { w = std::make_unique<RecordingMain>(); }
    void show() {
        if (!w)
            load();
        w->show();
        w->activateWindow();
        ASSERT_TRUE(uitest::waitForWindowActive(w.get()));
    }
    // Shows the window and leaves the start picture for the load page, as the first command does.
    void showLoadPage() {
        show();
        w->Command1_Click(0);
        w->calls.clear();
        messages->shown.clear();
    }

    // The pages lie on top of each other; shown at once, each list can take the focus.
    void showAllPages() {
        for (QWidget *page :
             std::initializer_list<QWidget *>{w->frmDaek, w->frmIsolering, w->frmMellemlag, w->frmTerraen})
            page->show();
    }

    std::vector<QString> shownTexts() const {
        std::vector<QString> texts;
        for (const auto &m : messages->shown)
            texts.push_back(m.text);
        return texts;
    }

    // The stored value of one field of a table's first record (or of the record with that key).
    engine::Variant stored(const QString &table, const QString &field, int record = 0) const {
        engine::Recordset rs;
        rs.Open(table, modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
        for (int i = 0; i < record; ++i)
            rs.MoveNext();
        return rs.Fields(field).Value();
    }
    void store(const QString &table, const QString &field, const engine::Variant &value, int record = 0) const {
        engine::Recordset rs;
        rs.Open(table, modMain::cnInddata, engine::adOpenKeyset, engine::adLockPessimistic, engine::adCmdTable);
        for (int i = 0; i < record; ++i)
            rs.MoveNext();
        rs.Fields(field).setValue(value);
        rs.Update();
        rs.Close();
    }
};

// The number of the run-time error that f raises, 0 when it raises none.
template <class F> long raised(F f) {
    try {
        f();
    } catch (const engine::RuntimeError &e) {
        return e.number();
    }
    return 0;
}

// Closes the modal window that a command opens, once its own event loop runs.
inline void CloseModalSoon() {
    QTimer::singleShot(0, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
}

} // namespace uitest
