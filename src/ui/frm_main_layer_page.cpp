// The layer page: an insulation product, an intermediate layer and a terrain chosen here fill their values from the
// parameter tables, or set the values of no layer, and the sketch follows.

#include "kit/controls.h"
#include "kit/focus.h"
#include "ui/frm_main.h"
#include "ui/page_controls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

void frmMain::OpdaterIsolering() {
    LogNr = 330;
    const QString product = ui::ListText(cmbIsoleringType);
    if (product != QStringLiteral("<ingen isolering>")) {
        LogNr = 331;
        txtIsoleringType->setText(product);
        HentIsolering();
        LogNr = 332;
        ui::focus::MoveTo(txtIsoleringTykkelse);
    } else {
        LogNr = 333;
        txtIsoleringType->setText(QString());
        for (QLineEdit *box : {txtIsoleringTykkelse, txtIsolZo, txtIsolZn, txtIsolLambdaT, txtIsolLambdaV})
            box->setText(QStringLiteral("0"));
        txtIsolEn->setText(QStringLiteral("1"));
        txtIsolEo->setText(QStringLiteral("1"));
        LogNr = 334;
        ui::focus::MoveTo(cmbMellemlagType);
    }
    LogNr = 335;
    TegnSkitse(false);
}

void frmMain::OpdaterMellemlag() {
    LogNr = 337;
    const QString type = ui::ListText(cmbMellemlagType);
    const std::initializer_list<QWidget *> thickness{txtMellemlagTykkelse, lblMellemlagTykkelse,
                                                     lblMellemlagTykkelseEnhed};
    if (type.isEmpty() || type == QStringLiteral("Intet")) {
        LogNr = 338;
        ui::SetListText(cmbMellemlagType, QStringLiteral("Intet"));
        ui::SetVisible(thickness, false);
        txtMellemlagTykkelse->setText(QStringLiteral("0"));
        txtMellemlagKorr->setText(QStringLiteral("1"));
        txtMellemlagLambda->setText(QStringLiteral("0"));
        LogNr = 339;
        if (ui::Visible(frmMellemlag))
            ui::focus::MoveTo(cmbTerraenType);
    } else {
        LogNr = 340;
        HentMellemlag();
        LogNr = 341;
        ui::SetVisible(thickness, true);
        if (ui::Visible(frmMellemlag))
            ui::focus::MoveTo(txtMellemlagTykkelse);
    }
    LogNr = 342;
    if (Opdaterer == 0)
        TegnSkitse(false);
}

void frmMain::OpdaterTerraen() {
    LogNr = 344;
    if (ui::ListText(cmbTerraenType) == QStringLiteral("Brugerdefineret")) {
        LogNr = 345;
        txtTerraenBallast->setReadOnly(false);
    } else {
        LogNr = 346;
        HentTerraen();
        LogNr = 347;
        txtTerraenBallast->setReadOnly(true);
    }
    LogNr = 348;
    if (Opdaterer == 0)
        TegnSkitse(false);
}

void frmMain::FormaterIsolering() {
    LogNr = 350;
    if (txtIsoleringTykkelse->text().isEmpty())
        txtIsoleringTykkelse->setText(QStringLiteral("0"));
}
