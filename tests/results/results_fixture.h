#pragma once
// A fresh inddata.mdb with the default input, Danish regional settings and recording fakes for messages, dialogs
// and the report engine: what the print-table and results-window tests share.

#include "data/modmain.h"
#include "data/table_helpers.h"
#include "platform/common_dialog.h"
#include "platform/report_engine.h"
#include "support/recording_services.h"

#include <QLocale>
#include <memory>

namespace resultstest {

class ResultsFixture : public tablehelpers::InddataTest {
protected:
    std::shared_ptr<testsupport::RecordingDialogs> dialogs = std::make_shared<testsupport::RecordingDialogs>();
    std::shared_ptr<testsupport::RecordingReports> reports = std::make_shared<testsupport::RecordingReports>();

    void SetUp() override {
        InddataTest::SetUp();
        platform::setDialogService(dialogs);
        platform::setReportService(reports);
        QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark));
        modMain::ClearInddata();
        modMain::InitInddata();
    }

    void TearDown() override {
        InddataTest::TearDown();
        platform::setMessageService(std::make_shared<platform::RecordingMessages>());
        platform::setDialogService(std::make_shared<testsupport::RecordingDialogs>());
        platform::setReportService(std::make_shared<testsupport::RecordingReports>());
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
