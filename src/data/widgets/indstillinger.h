#pragma once
// Indstillinger ("Stamoplysninger"): the modal dialog that edits the company record of Firma and the
// project record of projekt. The boxes edit the current records; only OK writes them.

#include <QDialog>
#include <cstdint>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace ui {
class CommandButton;
class DataSource;
} // namespace ui

class Indstillinger : public QDialog {
    Q_OBJECT
public:
    // Builds the dialog and runs Form_Load.
    explicit Indstillinger(QWidget *parent = nullptr);
    ~Indstillinger() override;

    // Statement number of the running procedure of this window.
    std::int32_t LogNr = 0;

    // Event procedures.
    void Form_Load();
    void btnOK_Click();
    void btnAnnuler_Click();

    QGroupBox *Frame1, *Frame2, *Frame3;
    ui::DataSource *dataFirma, *dataProjekt;
    QLineEdit *txtNavn, *txtAdresse, *txtPostnr, *txtBy, *txtTlf, *txtFax, *txtDirekteTlf, *txtKontakt, *txtEmail;
    QLineEdit *txtProjektID, *txtBeregner, *txtDato, *txtTekst;
    QLabel *lblFirma, *lblAdresse, *lblPostnr, *lblBy, *lblTlf, *lblFax, *lblDirekteTlf, *lblKontakt, *lblEmail;
    QLabel *lblProjektID, *lblBeregner, *lblDato, *lblTekst, *lblMetode;
    QComboBox *cmbMetode;
    ui::CommandButton *btnOK, *btnAnnuler;

private:
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
