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
};

} // namespace resultstest
