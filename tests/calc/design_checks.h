#pragma once
// What the calculation tests share: doubles compared with a relative tolerance, the remark list, the run-time
// errors, and a folder of real databases with the concrete input written and the message boxes recorded.

#include "calc/analysis_state.h"
#include "calc/design_input.h"
#include "data/error_report.h"
#include "data/table_helpers.h"
#include "engine/errors.h"
#include "platform/message_box.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace designchecks {

inline void expectNear(double expected, double actual, double rel = 1e-12) {
    EXPECT_NEAR(expected, actual, rel * std::max(1.0, std::fabs(expected))) << "expected " << expected;
}

inline std::vector<QString> remarks() {
    return {Module1::Oplysninger + 1, Module1::Oplysninger + 1 + Module1::AntalOplysninger};
}

// The call raises this run-time error with the procedure and statement number left for the error report.
template <class Call> void expectRaises(Call call, int number, const char *function, int logNr) {
    try {
        call();
        ADD_FAILURE() << "no error";
    } catch (const engine::RuntimeError &e) {
        EXPECT_EQ(number, e.number());
        EXPECT_EQ(QString::fromLatin1(function), Module1::FunctionName);
        EXPECT_EQ(logNr, Module1::LogNr);
    }
}

class CalcDatabase : public ::testing::Test {
protected:
    testsupport::DatabaseFolder folder;
    std::shared_ptr<platform::RecordingMessages> messages = std::make_shared<platform::RecordingMessages>();

    void SetUp() override {
        platform::setMessageService(messages);
        modMain::cnInddata = folder.open(QStringLiteral("inddata.mdb"));
        designinput::writeConcreteInput(); // 150 mm concrete, one point load of 40 kN in the middle, PartialK 1.5
        Module1::MmaxDim = Module1::MminDim = Module1::umaxDim = 0.0;
    }
    void TearDown() override {
        modMain::cnInddata.Close();
        platform::setMessageService(std::make_shared<platform::RecordingMessages>());
    }
    std::vector<engine::Variant> column(const char *table, const char *field) const {
        return tablehelpers::column(modMain::cnInddata, QString::fromUtf8(table), QString::fromUtf8(field));
    }
    engine::Variant first(const char *table, const char *field) const {
        const auto values = column(table, field);
        return values.empty() ? engine::Variant() : values.front();
    }
    // The one message shown: a critical box with an OK button.
    QString shown() const {
        EXPECT_EQ(1u, messages->shown.size());
        if (messages->shown.empty())
            return {};
        EXPECT_EQ(platform::Icon::Critical, messages->shown[0].icon);
        EXPECT_EQ(platform::Buttons::Ok, messages->shown[0].buttons);
        return messages->shown[0].text;
    }
};

} // namespace designchecks
