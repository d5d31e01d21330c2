// The load page: the fields that the load type needs, the shapes it may have, the unit of its size, the dimensions for
// its shape, the distance for its placement, and the display form of the numeric boxes.

#include "kit/controls.h"
#include "kit/data_source.h"
#include "kit/focus.h"
#include "platform/numbers.h"
#include "ui/frm_main.h"
#include "ui/page_controls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

const QString kIngenLast = QStringLiteral("<ingen last>");
const QString kLastpar = QStringLiteral("Lastpar");
const QString kFladelast = QStringLiteral("Fladelast");
const QString kLinielast = QStringLiteral("Linielast");
const QString kCirkel = QStringLiteral("Cirkel");
const QString kRektangel = QStringLiteral("Rektangel");
const QString kMidt = QStringLiteral("Midt");

// Offers the shapes and shows the stored one; a stored shape the type cannot have (Null, or a line load's shape for a
// single load) is emptied in the record at once.
void OfferShapes(QComboBox *list, ui::DataSource &rs, const QStringList &shapes, bool lineShapeAllowed) {
    list->clear();
    list->addItems(shapes);
    const engine::Variant stored = rs.Fields(QStringLiteral("LastForm")).Value();
    if (stored.isNull() || (!lineShapeAllowed && platform::CStr(stored) == kLinielast)) {
        ui::SetListText(list, QString());
        rs.Fields(QStringLiteral("LastForm")).setValue(engine::Variant(QString()));
        rs.Update();
    } else {
        ui::SetListText(list, platform::CStr(stored));
    }
}

} // namespace

void frmMain::VisLast(ui::DataSource &rs) {
    LogNr = 290;
    const QString type = ui::ListText(cmbLastType);
    if (type == kIngenLast) {
        LogNr = 291;
        txtLastType->setText(QString());
        ui::SetListText(cmbLastForm, QString());
        ui::SetListText(cmbLastPlacering, QString());
        LogNr = 292;
        for (QLineEdit *box :
             {txtAfstandLastpar, txtLastFormBredde, txtLastFormLaengde, txtLastKantFugeAfstand, txtLastStorrelse})
            box->setText(QStringLiteral("0"));
        txtPartialK->setText(QStringLiteral("1"));
        LogNr = 293;
        ui::SetVisible({lblAfstandLastpar,
                        txtAfstandLastpar,
                        lblAfstandLastparEnhed,
                        lblLastForm,
                        cmbLastForm,
                        lblLastFormBredde,
                        txtLastFormBredde,
                        lblLastFormBreddeEnhed,
                        lblLastFormLaengde,
                        txtLastFormLaengde,
                        lblLastFormLaengdeEnhed,
                        lblLastPlacering,
                        cmbLastPlacering,
                        lblLastKantFugeAfstand,
                        txtLastKantFugeAfstand,
                        lblLastKantFugeAfstandEnhed,
                        lblLastStorrelse,
                        txtLastStorrelse,
                        lblLastStorrelseEnhed[0],
                        lblLastStorrelseEnhed[1],
                        lblPartialK,
                        txtPartialK},
                       false);
    } else {
        LogNr = 294;
        txtLastType->setText(type);
        ui::SetVisible({lblLastStorrelse, txtLastStorrelse, lblLastStorrelseEnhed[0], lblLastStorrelseEnhed[1],
                        lblPartialK, txtPartialK},
                       true);

        LogNr = 295;
        if (type != kLastpar)
            txtAfstandLastpar->setText(QStringLiteral("0"));
        ui::SetVisible({lblAfstandLastpar, txtAfstandLastpar, lblAfstandLastparEnhed}, type == kLastpar);

        LogNr = 296;
        if (type == kLastpar)
            ui::SetUnit(lblLastStorrelseEnhed, QStringLiteral("kN pr. last"), QStringLiteral(" "));
        else if (type == kFladelast)
            ui::SetUnit(lblLastStorrelseEnhed, QStringLiteral("kN/m"), QStringLiteral("2"));
        else if (type == kLinielast)
            ui::SetUnit(lblLastStorrelseEnhed, QStringLiteral("kN/m"), QStringLiteral(" "));
        else
            ui::SetUnit(lblLastStorrelseEnhed, QStringLiteral("kN"), QStringLiteral(" "));

        LogNr = 297;
        if (type == kFladelast) {
            LogNr = 298;
            txtLastFormBredde->setText(QStringLiteral("0"));
            txtLastFormLaengde->setText(QStringLiteral("0"));
            ui::SetListText(cmbLastForm, QString());
            ui::SetVisible({lblLastForm, cmbLastForm, lblLastFormBredde, txtLastFormBredde, lblLastFormBreddeEnhed,
                            lblLastFormLaengde, txtLastFormLaengde, lblLastFormLaengdeEnhed},
                           false);
        } else {
            ui::SetVisible({lblLastForm, cmbLastForm}, true);
            if (type == kLastpar) {
                LogNr = 299;
                OfferShapes(cmbLastForm, rs, {kRektangel, QStringLiteral("Kvadrat"), kCirkel, kLinielast}, true);
            } else if (type == kLinielast) {
                LogNr = 300;
                cmbLastForm->clear();
                cmbLastForm->addItem(kLinielast);
                ui::SetListText(cmbLastForm, kLinielast);
            } else {
                LogNr = 301;
                OfferShapes(cmbLastForm, rs, {kRektangel, QStringLiteral("Kvadrat"), kCirkel}, false);
            }
            LogNr = 302;
            ui::RaisedCounter raised(Opdaterer);
            OpdaterLastForm();
        }

        LogNr = 303;
        if (type == kFladelast) {
            ui::SetListText(cmbLastPlacering, QString());
            ui::SetVisible({lblLastPlacering, cmbLastPlacering}, false);
            txtLastKantFugeAfstand->setText(QStringLiteral("0"));
            ui::SetVisible({lblLastKantFugeAfstand, txtLastKantFugeAfstand, lblLastKantFugeAfstandEnhed}, false);
        } else {
            LogNr = 304;
            ui::SetVisible({lblLastPlacering, cmbLastPlacering}, true);
            ui::RaisedCounter raised(Opdaterer);
            OpdaterLastPlacering();
        }
    }

    LogNr = 305;
    if (type == kLastpar)
        ui::focus::MoveTo(txtAfstandLastpar);
    else if (type == kFladelast)
        ui::focus::MoveTo(txtLastStorrelse);
    else if (type == QStringLiteral("Hjultryk") || type == QStringLiteral("Punktlast"))
        ui::focus::MoveTo(cmbLastForm);

    LogNr = 306;
    if (Opdaterer == 0) {
        TegnSkitse(false);
        LogNr = 307;
        ui::RefreshFrame(frmLast);
    }
}

void frmMain::OpdaterLastForm() {
    LogNr = 310;
    const QString shape = ui::ListText(cmbLastForm);
    const std::initializer_list<QWidget *> width{lblLastFormBredde, txtLastFormBredde, lblLastFormBreddeEnhed};
    const std::initializer_list<QWidget *> length{lblLastFormLaengde, txtLastFormLaengde, lblLastFormLaengdeEnhed};
    if (shape.isEmpty()) {
        LogNr = 311;
        ui::SetVisible(width, false);
        ui::SetVisible(length, false);
        txtLastFormBredde->setText(QStringLiteral("0"));
        txtLastFormLaengde->setText(QStringLiteral("0"));
    } else {
        LogNr = 312;
        ui::SetVisible(width, true);
        lblLastFormBredde->setText(shape == kCirkel ? QStringLiteral("diameter") : QStringLiteral("bredde"));
        // Only a rectangle has a length of its own.
        ui::SetVisible(length, shape == kRektangel);
        if (shape != kRektangel)
            txtLastFormLaengde->setText(QStringLiteral("0"));
        LogNr = 313;
        ui::focus::MoveTo(txtLastFormBredde);
    }
    LogNr = 314;
    if (Opdaterer == 0)
        ui::RefreshFrame(frmLast);
}

void frmMain::OpdaterLastPlacering() {
    LogNr = 316;
    const QString placement = ui::ListText(cmbLastPlacering);
    const std::initializer_list<QWidget *> distance{lblLastKantFugeAfstand, txtLastKantFugeAfstand,
                                                    lblLastKantFugeAfstandEnhed};
    if (placement.isEmpty() || placement == kMidt) {
        LogNr = 317;
        ui::SetVisible(distance, false);
        txtLastKantFugeAfstand->setText(QStringLiteral("0"));
        if (placement == kMidt)
            ui::focus::MoveTo(txtLastStorrelse);
    } else {
        LogNr = 318;
        ui::SetVisible(distance, true);
        lblLastKantFugeAfstandEnhed->setText(QStringLiteral("mm fra ") + placement);
        ui::focus::MoveTo(txtLastKantFugeAfstand);
    }
    LogNr = 319;
    if (Opdaterer == 0)
        ui::RefreshFrame(frmLast);
}

void frmMain::FormaterLast(const engine::Recordset &rs) {
    const QString twoDecimals = QStringLiteral("#0.00");
    // A box that holds text shows the record's value, not its own text.
    const auto stored = [&](QLineEdit *box, const char *field, double whenEmpty, std::int32_t nr) {
        LogNr = nr;
        box->setText(box->text().isEmpty()
                         ? platform::Format(whenEmpty, twoDecimals)
                         : platform::Format(rs.Fields(QString::fromUtf8(field)).Value(), twoDecimals));
    };
    stored(txtAfstandLastpar, "Afstand", 0, 322);
    LogNr = 323;
    for (QLineEdit *box : {txtLastFormBredde, txtLastFormLaengde, txtLastKantFugeAfstand})
        if (box->text().isEmpty())
            box->setText(QStringLiteral("0"));
    stored(txtLastStorrelse, "Størrelse", 0, 324);
    stored(txtPartialK, "PartialK", 1, 325);
    LogNr = 326;
}
