#include "calc/calculate.h"

#include "calc/analysis_state.h"
#include "calc/design.h"
#include "data/connections.h"
#include "engine/transaction.h"

namespace calc {

int Calculate(std::int32_t &logNr, const std::function<int()> &prepare) {
    // The input that prepare commits is stored before the calculation's one write, not in it: results that
    // cannot be stored must not take the user's last edit back with them.
    logNr = 481;
    int status = prepare();
    if (status != 0)
        return status;
    engine::AsOneWrite(modMain::cnInddata, [&logNr, &status] {
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
