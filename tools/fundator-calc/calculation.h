#pragma once
// The steps of fundator-calc, shared with its benchmark: a calculation on the input that inddata.mdb holds,
// and the result tables written out as JSON.

#include "calc/analysis_state.h"
#include "calc/calculate.h"
#include "data/connections.h"
#include "engine/engine.h"
#include "engine/variant.h"
#include "sketch/foundation.h"

#include <QString>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace fundatorcalc {

// Exit status of a step that showed its own message.
constexpr int kFoundationFailed = 3;

// The foundation values as an unforced sketch run stores them (the program's sketch has done so before its
// calculate command can run), then the calculate command's sequence. Returns 0, or the status of the first step
// that failed after showing its message. An error that a step lets escape (closing a table that never opened)
// is thrown on.
inline int RunCalculation() {
    std::int32_t logNr = 0;
    return calc::Calculate(logNr, [] {
        std::int32_t foundationNr = 0;
        return sketch::ComputeFoundationValuesReported(false, foundationNr) ? 0 : kFoundationFailed;
    });
}

inline void AppendString(std::string &out, const QString &s) {
    out += '"';
    for (const char ch : s.toStdString()) {
        const auto u = static_cast<unsigned char>(ch);
        switch (ch) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (u < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", u);
                out += buf;
            } else {
                out += ch;
            }
        }
    }
    out += '"';
}

// Doubles in the shortest text that reads back to the same value.
inline void AppendNumber(std::string &out, double x) {
    if (!std::isfinite(x)) {
        out += "null";
        return;
    }
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, x);
    out.append(buf, res.ptr);
}

inline void AppendValue(std::string &out, const engine::Variant &v) {
    if (v.isInteger())
        out += std::to_string(v.integer());
    else if (v.isDouble())
        AppendNumber(out, v.real());
    else if (v.isString())
        AppendString(out, v.string());
    else
        out += "null";
}

inline void AppendRow(std::string &out, const engine::Recordset &rs, std::initializer_list<const char *> only = {}) {
    out += '{';
    bool firstField = true;
    const auto field = [&](const engine::Field &f) {
        if (!firstField)
            out += ", ";
        firstField = false;
        AppendString(out, f.Name());
        out += ": ";
        AppendValue(out, f.Value());
    };
    if (only.size() == 0) {
        for (int i = 0; i < rs.FieldCount(); ++i)
            field(rs.Fields(i));
    } else {
        for (const char *name : only)
            field(rs.Fields(QString::fromUtf8(name)));
    }
    out += '}';
}

// "Table": [rows in stored order]
inline void AppendTable(std::string &out, const QString &table) {
    engine::Recordset rs;
    rs.Open(table, modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly, engine::adCmdTable);
    AppendString(out, rs.tableName());
    out += ": [";
    for (bool firstRow = true; !rs.Eof(); rs.MoveNext(), firstRow = false) {
        out += firstRow ? "\n    " : ",\n    ";
        AppendRow(out, rs);
    }
    out += "\n  ]";
    rs.Close();
}

// The result tables of the slab's kind and the five foundation values, as one JSON object.
inline std::string ResultJson() {
    std::string out = "{\n  ";
    AppendTable(out, Module1::ErBeton ? QStringLiteral("ResultatBeton") : QStringLiteral("ResultatBrugdef"));
    out += ",\n  ";
    AppendTable(out, QStringLiteral("ResultatArmering"));
    out += ",\n  ";
    AppendTable(out, QStringLiteral("ResultatOplysning"));
    out += ",\n  ";
    engine::Recordset rs;
    rs.Open(QStringLiteral("inddata"), modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly,
            engine::adCmdTable);
    AppendString(out, rs.tableName());
    out += ": ";
    AppendRow(out, rs, {"isolballasto", "isolballastn", "resBallasto", "resBallastn", "Uværdi"});
    rs.Close();
    out += "\n}\n";
    return out;
}

} // namespace fundatorcalc
