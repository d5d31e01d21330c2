// The parameter look-ups: the first row of a parameter table, in RkFlg order, whose key equals the pick
// list's text gives its values to the page's boxes, as the runtime writes numbers in the regional settings.

#include "kit/controls.h"
#include "platform/numbers.h"
#include "ui/frm_main.h"

#include <QComboBox>
#include <QLineEdit>
#include <initializer_list>

namespace {

struct Copy {
    const char *column;
    QLineEdit *box;
    std::int32_t nr; // statement number of the copy
};

// first: move to the first row; first + 1: the loop test; first + 2: the key test; last: the moves.
void Lookup(engine::Recordset &rs, const QString &keyColumn, const QString &key, std::initializer_list<Copy> copies,
            std::int32_t &LogNr, std::int32_t first, std::int32_t last) {
    LogNr = first;
    // An empty table has no first row to move to, and no row that matches.
    if (rs.Bof() && rs.Eof())
        return;
    rs.MoveFirst();
    for (;;) {
        LogNr = first + 1;
        if (rs.Eof())
            break;
        LogNr = first + 2;
        const engine::Variant value = rs.Fields(keyColumn).Value();
        if (value.isString() && value.string() == key) {
            for (const Copy &c : copies) {
                LogNr = c.nr;
                c.box->setText(platform::CStr(rs.Fields(QString::fromUtf8(c.column)).Value()));
            }
            LogNr = last;
            rs.MoveLast();
        }
        LogNr = last;
        rs.MoveNext();
    }
}

} // namespace

void frmMain::HentDaeklag() {
    Lookup(rsDaekLag, QStringLiteral("Miljøklasse"), ui::ListText(cmbMKlasse),
           {{"tykkelse", txtDaeklag, 363}, {"Wmax", txtRevnevidde, 363}}, LogNr, 360, 364);
}

void frmMain::HentMellemlag() {
    Lookup(rsMellemlag, QStringLiteral("Type"), ui::ListText(cmbMellemlagType),
           {{"Korrektionsfaktor", txtMellemlagKorr, 373}, {"Varmeledningstal", txtMellemlagLambda, 373}}, LogNr, 370,
           374);
}

void frmMain::HentDaekType() {
    Lookup(rsDaekType, QStringLiteral("daekType"), ui::ListText(cmbDaekType),
           {{"traekstyrke", txtDaekTraekstyrke, 378},
            {"trykstyrke", txtDaekTrykstyrke, 378},
            {"Eo", txtDaekEo, 378},
            {"En", txtDaekEn, 378},
            {"Go", txtDaekGo, 378},
            {"GN", txtDaekGn, 378},
            {"tykkelse", txtDaekTykkelse, 378}},
           LogNr, 375, 379);
}

void frmMain::HentTerraen() {
    Lookup(rsTerraen, QStringLiteral("Type"), ui::ListText(cmbTerraenType), {{"ballasttal", txtTerraenBallast, 383}},
           LogNr, 380, 384);
}

void frmMain::HentIsolering() {
    Lookup(rsIsoleringType, QStringLiteral("Type"), ui::ListText(cmbIsoleringType),
           {{"MaxLastKort", txtIsolZo, 428},
            {"MaxLastLang", txtIsolZn, 429},
            {"LambdaTør", txtIsolLambdaT, 430},
            {"LambdaVåd", txtIsolLambdaV, 432},
            {"Elang", txtIsolEn, 433},
            {"Ekort", txtIsolEo, 434}},
           LogNr, 425, 435);
}
