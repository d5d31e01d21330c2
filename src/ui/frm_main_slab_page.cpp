// The slab page: the page follows the slab type (concrete, user-defined, a type of the table, none), the environmental
// class gives the cover and the crack width, and a concrete slab derives its design values from the quality and the
// safety class.

#include "engine/errors.h"
#include "kit/controls.h"
#include "kit/data_source.h"
#include "kit/focus.h"
#include "platform/message_box.h"
#include "platform/numbers.h"
#include "ui/concrete_values.h"
#include "ui/frm_main.h"
#include "ui/page_controls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

const QString kBeton = QStringLiteral("Beton");
const QString kBrugerdefineret = QStringLiteral("Brugerdefineret");

// The value column of the first row whose key column equals the text; Empty (0 as a number) when no row does.
engine::Variant LookUp(engine::Recordset &rs, const QString &keyColumn, const QString &key,
                       const QString &valueColumn) {
    if (rs.Bof() && rs.Eof())
        return {};
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        const engine::Variant value = rs.Fields(keyColumn).Value();
        if (value.isString() && value.string() == key)
            return rs.Fields(valueColumn).Value();
    }
    return {};
}

// The strengths, tau, the moduli and the thickness at zero: the slab has no values until they are chosen.
void ZeroSlabValues(frmMain &w) {
    const QString zero = platform::Format(0.0, QStringLiteral("0.00"));
    for (QLineEdit *strength : {w.txtDaekTrykstyrke, w.txtDaekTraekstyrke, w.txtDaekTraekstyrkeKar})
        strength->setText(zero);
    for (QLineEdit *box : {w.txtDaekTau, w.txtDaekEo, w.txtDaekEn, w.txtDaekGo, w.txtDaekGn, w.txtDaekTykkelse})
        box->setText(QStringLiteral("0"));
}

} // namespace

void frmMain::OpdaterDaekType() {
    LogNr = 770;
    const QString T = ui::ListText(cmbDaekType);
    const std::initializer_list<QLineEdit *> valueBoxes{txtDaekTrykstyrke, txtDaekTraekstyrke, txtDaekEo,
                                                        txtDaekEn,         txtDaekGo,          txtDaekGn};
    // In the order they are shown; the quality's caption goes with its list.
    const std::initializer_list<QWidget *> concreteOnly{lblDaekSikkerhedsklasse,
                                                        cmbDaekSikkerhedsklasse,
                                                        lblDaekKvalitet,
                                                        cmbDaekKvalitet,
                                                        lblDaekTraekstyrkeKar,
                                                        txtDaekTraekstyrkeKar,
                                                        lblDaekTraekstyrkeKarEnhed,
                                                        lblMKlasse,
                                                        cmbMKlasse,
                                                        lblDaeklag,
                                                        txtDaeklag,
                                                        lblDaeklagEnhed,
                                                        lblRevnevidde,
                                                        txtRevnevidde,
                                                        lblRevneviddeEnhed};
    // The safety-class list's own flag records which state the page is in, whether or not the page is shown.
    const bool concretePage = !cmbDaekSikkerhedsklasse->isHidden();
    bool groupChanged = false;

    if (T == kBeton && !concretePage) {
        LogNr = 771;
        ui::SetVisible(concreteOnly, true);
        LogNr = 772;
        ui::SetLocked(valueBoxes, true);
        LogNr = 773;
        {
            ui::RaisedCounter raised(Opdaterer);
            OpdaterMiljoeklasse();
        }
        groupChanged = true;
    }
    LogNr = 774;
    if (T != kBeton) {
        if (concretePage) {
            LogNr = 775;
            ui::SetVisible(concreteOnly, false);
            txtDaekTraekstyrkeKar->setText(QStringLiteral("0"));
            txtDaekTau->setText(QStringLiteral("0"));
            groupChanged = true;
        }
        LogNr = 776;
        ui::SetLocked(valueBoxes, T != kBrugerdefineret);
    }

    if (T.isEmpty()) {
        LogNr = 777;
        ui::SetListText(cmbDaekKvalitet, QString());
        ZeroSlabValues(*this);
        txtDaekTykkelse->setReadOnly(true);
        ui::focus::MoveTo(cmbDaekType);
    } else if (T == kBeton) {
        LogNr = 778;
        if (ui::ListText(cmbDaekKvalitet) == kBrugerdefineret)
            ui::SetListText(cmbDaekKvalitet, QString());
        {
            ui::RaisedCounter raised(Opdaterer);
            OpdaterBetonKvalitet();
        }
        txtDaekTykkelse->setReadOnly(false);
        ui::focus::MoveTo(cmbDaekSikkerhedsklasse);
    } else if (T == kBrugerdefineret) {
        LogNr = 781;
        if (ui::ListText(cmbDaekKvalitet) != kBrugerdefineret) {
            ui::SetListText(cmbDaekKvalitet, kBrugerdefineret);
            ZeroSlabValues(*this);
        }
        txtDaekTykkelse->setReadOnly(false);
        ui::focus::MoveTo(txtDaekTrykstyrke);
    } else {
        LogNr = 790;
        ui::SetListText(cmbDaekKvalitet, QString());
        HentDaekType();
        txtDaekTykkelse->setReadOnly(true);
        ui::focus::MoveTo(cmbDaekType);
    }

    LogNr = 791;
    if (Opdaterer != 0)
        return;
    if (groupChanged)
        ui::RefreshFrame(frmDaek);
    LogNr = 792;
    TegnSkitse(false);
}

void frmMain::OpdaterMiljoeklasse() {
    LogNr = 516;
    if (ui::ListText(cmbMKlasse).isEmpty()) {
        txtDaeklag->setText(QStringLiteral("0"));
        txtRevnevidde->setText(QStringLiteral("0"));
    } else {
        HentDaeklag();
    }
    LogNr = 517;
    // No crack width, no crack-width check: the field has nothing to say then.
    ui::SetVisible({txtRevnevidde, lblRevnevidde, lblRevneviddeEnhed}, platform::CDbl(txtRevnevidde->text()) != 0);
    ui::focus::MoveTo(cmbDaekType);
    if (Opdaterer == 0)
        ui::RefreshFrame(frmDaek);
}

void frmMain::OpdaterSikkerhedsklasse() {
    LogNr = 510;
    OpdaterBetonKvalitet();
}

void frmMain::OpdaterBetonKvalitet() {
    LogNr = 472;
    const bool quality = !ui::ListText(cmbDaekKvalitet).isEmpty();
    if (quality) {
        BeregnBetonStyrke();
    } else {
        LogNr = 473;
        ZeroSlabValues(*this);
    }
    LogNr = 475;
    if (Opdaterer != 0)
        return;
    LogNr = 476;
    ui::focus::MoveTo(quality ? static_cast<QWidget *>(txtDaekTykkelse) : cmbDaekKvalitet);
    LogNr = 477;
    ui::RefreshFrame(frmDaek);
    LogNr = 478;
    TegnSkitse(false);
}

void frmMain::BeregnBetonStyrke() {
    LogNr = 441;
    const double gamma = LookUp(rsSikkerhedsklasse, QStringLiteral("Klasse"), ui::ListText(cmbDaekSikkerhedsklasse),
                                QStringLiteral("gamma"))
                             .toDouble();
    LogNr = 443;
    if (gamma == 0) {
        LogNr = 444;
        platform::MsgBox(QStringLiteral("Sikkerhedsklasse skal vælges !"));
        return;
    }
    LogNr = 446;
    const std::int32_t Styrke =
        LookUp(rsBetonKvalitet, QStringLiteral("kvalitet"), ui::ListText(cmbDaekKvalitet), QStringLiteral("Styrke"))
            .toLong();
    LogNr = 448;
    if (Styrke == 0) {
        LogNr = 449;
        platform::MsgBox(QStringLiteral("Fejl ved søgning af styrke !"));
        return;
    }

    ui::ConcreteDesignValues v;
    // Each box shows its value as soon as it is known; a fault further on leaves the earlier ones shown.
    const auto show = [&] {
        const std::pair<QLineEdit *, QString> boxes[] = {
            {txtDaekTrykstyrke, platform::Format(v.fcd, QStringLiteral("0.00"))},
            {txtDaekTau, platform::CStr(v.tau)},
            {txtDaekTraekstyrke, platform::Format(v.ftd, QStringLiteral("0.00"))},
            {txtDaekTraekstyrkeKar, platform::Format(v.ftk, QStringLiteral("0.00"))},
            {txtDaekEo, platform::Format(v.E0, QStringLiteral("0"))},
            {txtDaekEn, platform::Format(v.En, QStringLiteral("0"))},
            {txtDaekGo, platform::Format(v.G0, QStringLiteral("0"))},
            {txtDaekGn, platform::Format(v.Gn, QStringLiteral("0"))}};
        for (int i = 0; i < v.known; ++i)
            boxes[i].first->setText(boxes[i].second);
    };
    try {
        ui::DeriveConcreteValues(Styrke, gamma, v, LogNr);
    } catch (const engine::RuntimeError &) {
        show();
        throw;
    }
    LogNr = 459;
    show();
    LogNr = 460;
}

void frmMain::FormaterDaek() {
    if (!rsInddata)
        engine::raise(91, QStringLiteral("Object variable or With block variable not set"));
    // A box that holds text shows the record's value, not its own text.
    const auto stored = [this](QLineEdit *box, const char *field, const QString &pattern, std::int32_t nr) {
        LogNr = nr;
        box->setText(box->text().isEmpty()
                         ? platform::Format(0.0, pattern)
                         : platform::Format(rsInddata->Fields(QString::fromUtf8(field)).Value(), pattern));
    };
    const auto zeroWhenEmpty = [this](QLineEdit *box, std::int32_t nr) {
        LogNr = nr;
        if (box->text().isEmpty())
            box->setText(QStringLiteral("0"));
    };
    const QString twoDecimals = QStringLiteral("#0.00");
    stored(txtDaekTraekstyrke, "TraekstyrkeRgm", twoDecimals, 405);
    stored(txtDaekTraekstyrkeKar, "TraekstyrkeKar", twoDecimals, 407);
    stored(txtDaekTrykstyrke, "TrykstyrkeRgm", twoDecimals, 409);
    zeroWhenEmpty(txtDaekEn, 411);
    zeroWhenEmpty(txtDaekEo, 412);
    zeroWhenEmpty(txtDaekGn, 413);
    zeroWhenEmpty(txtDaekGo, 414);
    zeroWhenEmpty(txtDaekTykkelse, 415);
    zeroWhenEmpty(txtDaeklag, 416);
    stored(txtRevnevidde, "Revnevidde", QStringLiteral("#0.0"), 417);
    zeroWhenEmpty(txtMellemlagTykkelse, 419);
    zeroWhenEmpty(txtTerraenBallast, 420);
    LogNr = 421;
}
