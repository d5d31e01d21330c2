#pragma once
// A fresh inddata.mdb with the default input, Danish regional settings and recording fakes for messages, dialogs
// and the report engine: what the print-table and results-window tests share.

#include "data/connections.h"
#include "data/modmain.h"
#include "engine/engine.h"
#include "platform/common_dialog.h"
#include "platform/message_box.h"
#include "platform/report_engine.h"
#include "support/databases.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <memory>

namespace resultstest {

class ResultsFixture : public ::testing::Test {
protected:
    testsupport::DatabaseFolder folder;
    std::shared_ptr<platform::RecordingMessages> messages = std::make_shared<platform::RecordingMessages>();
    std::shared_ptr<platform::RecordingDialogs> dialogs = std::make_shared<platform::RecordingDialogs>();
    std::shared_ptr<platform::RecordingReports> reports = std::make_shared<platform::RecordingReports>();

    using Fields = std::initializer_list<std::pair<const char *, engine::Variant>>;

    void SetUp() override {
        platform::setMessageService(messages);
        platform::setDialogService(dialogs);
        platform::setReportService(reports);
        QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark));
        modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
        modMain::ClearInddata();
        modMain::InitInddata();
    }

    void TearDown() override {
        modMain::cnInddata.Close();
        platform::setMessageService(std::make_shared<platform::RecordingMessages>());
        platform::setDialogService(std::make_shared<platform::RecordingDialogs>());
        platform::setReportService(std::make_shared<platform::RecordingReports>());
        platform::SetCurrentPrinter({});
        QLocale::setDefault(QLocale::c());
    }

    static void sql(const QString &text) { modMain::cnInddata.Execute(text); }

    // A field of a table's first row.
    static engine::Variant first(const char *table, const QString &field) {
        engine::Recordset rs;
        rs.Open(QString::fromUtf8(table), modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly,
                engine::adCmdTable);
        return rs.Fields(field).Value();
    }

    // Sets fields of a table's row at the given position (0 the first).
    static void set(const char *table, Fields fields, int row = 0) {
        engine::Recordset rs;
        rs.Open(QString::fromUtf8(table), modMain::cnInddata, engine::adOpenKeyset, engine::adLockPessimistic,
                engine::adCmdTable);
        rs.Move(row);
        for (const auto &[name, value] : fields)
            rs.Fields(QString::fromUtf8(name)) = value;
        rs.Update();
    }

    static void addRow(const char *table, Fields fields) {
        engine::Recordset rs;
        rs.Open(QString::fromUtf8(table), modMain::cnInddata, engine::adOpenKeyset, engine::adLockPessimistic,
                engine::adCmdTable);
        rs.AddNew();
        for (const auto &[name, value] : fields)
            rs.Fields(QString::fromUtf8(name)) = value;
        rs.Update();
    }

    static void addArmering(int diameter, int steelType, bool top, const engine::Variant &area,
                            const engine::Variant &spacing) {
        engine::Recordset rs;
        rs.Open(QStringLiteral("ResultatArmering"), modMain::cnInddata, engine::adOpenKeyset, engine::adLockPessimistic,
                engine::adCmdTable);
        rs.AddNew();
        rs.Fields(QStringLiteral("Diameter")) = diameter;
        rs.Fields(QStringLiteral("StaalType")) = steelType;
        rs.Fields(QStringLiteral("Overside")) = top;
        rs.Fields(QStringLiteral("As")) = area;
        rs.Fields(QStringLiteral("a")) = spacing;
        rs.Update();
    }

    // The twenty rows of a concrete slab's calculation, in the order the calculation writes them, each with a
    // value that names it: area d*100 + steel type*10 + (top ? 1 : 0), spacing d*1000 + the same tail.
    static void addAllArmering() {
        for (int s = 1; s <= 2; ++s)
            for (const int d : {6, 8, 10, 12, 16})
                for (const bool top : {false, true})
                    addArmering(d, s, top, d * 100 + s * 10 + (top ? 1 : 0), d * 1000 + s * 10 + (top ? 1 : 0));
    }
};

} // namespace resultstest
