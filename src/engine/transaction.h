#pragma once
// AsOneWrite: writes grouped into one transaction: one sync to disk instead of one per row. After a run-time
// error the rows written before it are committed all the same, so the tables end as row-by-row writing would
// have left them, and the error that stopped the work is the one that rises, not a failing commit after it.
// A commit that fails keeps none of the group's rows (CommitTrans takes them back).
// AllOrNothing: every write of body stays, or none does (a failing commit included).

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

template <class Body> void AllOrNothing(Connection &cn, Body &&body) {
    cn.BeginTrans();
    try {
        body();
    } catch (...) {
        try {
            cn.RollbackTrans();
        } catch (const RuntimeError &) {
        }
        throw;
    }
    // A failing commit has taken the writes back; a rollback after it would take back an enclosing group's.
    cn.CommitTrans();
}

} // namespace engine
