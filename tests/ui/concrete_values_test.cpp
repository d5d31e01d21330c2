#include "engine/errors.h"
#include "ui/concrete_values.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

// Reference values worked out by hand for two qualities and safety factors.
TEST(ConcreteValues, ReferenceValues) {
    const struct {
        std::int32_t strength;
        double gamma, fcd, tau, ftd, ftk, E0, En, G0, Gn;
    } cases[] = {{25, 1.0, 15.1515151515, 727.272727273, 0.958265957627, 1.58113883008, 23486.8421053, 5871.71052632,
                  10099.3421053, 2524.83552632},
                 {30, 1.1, 16.5289256198, 724.261233065, 0.954297965603, 1.73205080757, 24906.9767442, 6226.74418605,
                  10710.0, 2677.5}};
    for (const auto &c : cases) {
        ui::ConcreteDesignValues v;
        std::int32_t LogNr = 0;
        ui::DeriveConcreteValues(c.strength, c.gamma, v, LogNr);
        const double got[] = {v.fcd, v.tau, v.ftd, v.ftk, v.E0, v.En, v.G0, v.Gn};
        const double want[] = {c.fcd, c.tau, c.ftd, c.ftk, c.E0, c.En, c.G0, c.Gn};
        for (int i = 0; i < 8; ++i)
            EXPECT_NEAR(got[i], want[i], want[i] * 1e-10) << c.strength << " value " << i;
        EXPECT_EQ(v.known, 8);
    }
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
