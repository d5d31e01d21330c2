#pragma once
// Writes grouped into one transaction: one sync to disk instead of one per row. After a run-time error the rows
// written before it are committed all the same, so the tables end as row-by-row writing would have left them,
// and the error that stopped the work is the one that rises, not a failing commit after it.

#include "engine/engine.h"

namespace engine {

template <class Body> void AsOneWrite(Connection &cn, Body &&body) {
    cn.BeginTrans();
    try {
        body();
    } catch (...) {
        try {
            cn.CommitTrans();
        } catch (const RuntimeError &) {
        }
        throw;
    }
    cn.CommitTrans();
}

} // namespace engine
