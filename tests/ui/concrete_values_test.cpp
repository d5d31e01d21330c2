#include "engine/errors.h"
#include "ui/concrete_values.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

void ExpectRel(double actual, double expected) { EXPECT_NEAR(actual, expected, std::abs(expected) * 1e-12); }

TEST(ConcreteValues, WorkedExampleC25InNormalSafetyClass) {
    ui::ConcreteDesignValues v;
    std::int32_t LogNr = 0;
    ui::DeriveConcreteValues(25, 1.0, v, LogNr);
    ExpectRel(v.fcd, 25 / 1.65);                             // 15.1515...
    ExpectRel(v.tau, 2.0 / 5.0 * 0.12 * (25 / 1.65) * 1000); // 727.2727...
    ExpectRel(v.ftd, std::sqrt(2.5) / 1.65);                 // 0.9583...
    ExpectRel(v.ftk, std::sqrt(2.5));                        // 1.5811...
    ExpectRel(v.E0, 25.0 / 38.0 * 35700);                    // 23486.84...
    ExpectRel(v.En, 0.25 * 25.0 / 38.0 * 35700);             // 5871.71...
    ExpectRel(v.G0, 0.43 * 25.0 / 38.0 * 35700);             // 10099.34...
    ExpectRel(v.Gn, 0.43 * 0.25 * 25.0 / 38.0 * 35700);      // 2524.84...
    EXPECT_EQ(v.known, 8);
    EXPECT_EQ(LogNr, 458);
}

TEST(ConcreteValues, SafetyFactorDividesTheDesignStrengthsOnly) {
    ui::ConcreteDesignValues v;
    std::int32_t LogNr = 0;
    ui::DeriveConcreteValues(30, 1.1, v, LogNr);
    ExpectRel(v.fcd, 30 / (1.1 * 1.65)); // 16.5289...
    ExpectRel(v.ftd, std::sqrt(3.0) / (1.1 * 1.65));
    ExpectRel(v.ftk, std::sqrt(3.0));
    ExpectRel(v.tau, 2 / std::sqrt(30.0) * 0.12 * (30 / (1.1 * 1.65)) * 1000);
    ExpectRel(v.E0, 30.0 / 43.0 * 35700); // independent of gamma
}

// A negative strength fails at the square root after the compressive strength; the whole-number sum overflows at
// the top of its range. Each leaves the statement number and what was derived before.
TEST(ConcreteValues, ErrorsStopAtTheirStatementWithTheValuesBefore) {
    const struct {
        std::int32_t strength;
        std::int32_t error, logNr, known;
    } cases[] = {{-13, engine::err::InvalidProcedureCall, 451, 1},
                 {std::numeric_limits<std::int32_t>::max() - 5, engine::err::Overflow, 455, 4}};
    for (const auto &c : cases) {
        ui::ConcreteDesignValues v;
        std::int32_t LogNr = 0;
        std::int32_t raised = 0;
        try {
            ui::DeriveConcreteValues(c.strength, 1.0, v, LogNr);
        } catch (const engine::RuntimeError &e) {
            raised = e.number();
        }
        EXPECT_EQ(raised, c.error) << c.strength;
        EXPECT_EQ(LogNr, c.logNr) << c.strength;
        EXPECT_EQ(v.known, c.known) << c.strength;
    }
}

} // namespace
