#include "calc/calculate.h"

#include "calc/analysis_state.h"
#include "calc/design.h"
#include "data/connections.h"
#include "engine/transaction.h"

namespace calc {

int Calculate(std::int32_t &logNr, const std::function<int()> &prepare) {
    int status = 0;
    engine::AsOneWrite(modMain::cnInddata, [&logNr, &prepare, &status] {
        logNr = 481;
        if ((status = prepare()) != 0)
            return;
        logNr = 482;
        if ((status = Module1::Beregn1(true)) != 0)
            return;
        logNr = 483;
        if ((status = Module1::Beregn1(false)) != 0)
            return;
        logNr = 484;
        status = Module2::Beregn2();
    });
    return status;
}

} // namespace calc
