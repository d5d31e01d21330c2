#include "data/widgets/indstillinger.h"

#include "data/connections.h"
#include "kit/command_button.h"
#include "kit/data_source.h"
#include "kit/event_procedure.h"
#include "kit/focus.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString kForm = QStringLiteral("frmIndstillinger");

QGroupBox *Frame(QWidget *parent, const QString &name, const QString &caption) {
    auto *f = new QGroupBox(caption, parent);
    f->setObjectName(name);
    new QGridLayout(f);
    return f;
}

QGridLayout *Grid(QGroupBox *frame) { return static_cast<QGridLayout *>(frame->layout()); }

// A label on a new row of its frame.
QLabel *Label(QGroupBox *frame, const QString &name, const QString &caption) {
    auto *l = new QLabel(caption, frame);
    l->setObjectName(name);
    QGridLayout *grid = Grid(frame);
    grid->addWidget(l, grid->count() == 0 ? 0 : grid->rowCount(), 0);
    return l;
}

// A control on the row of its label.
template <class W> W *Beside(QGroupBox *frame, QLabel *label, W *w, const QString &name) {
    w->setObjectName(name);
    label->setBuddy(w);
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    QGridLayout *grid = Grid(frame);
    grid->getItemPosition(grid->indexOf(label), &row, &column, &rowSpan, &columnSpan);
    grid->addWidget(w, row, 1);
    return w;
}

QLineEdit *Box(QGroupBox *frame, QLabel *label, const QString &name) {
    auto *b = Beside(frame, label, new QLineEdit(frame), name);
    b->setMinimumWidth(260);
    return b;
}

} // namespace

Indstillinger::Indstillinger(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmIndstillinger"));
    setWindowTitle(QStringLiteral("Stamoplysninger"));
    setModal(true);
    auto *outer = new QVBoxLayout(this);

    // Each box edits one field of its frame's record and sits beside its label.
    struct Row {
        QLabel *Indstillinger::*label;
        const char *labelName, *caption;
        QLineEdit *Indstillinger::*box;
        const char *boxName, *field;
    };
    const auto rows = [this, outer](QGroupBox *frame, ui::DataSource *data, std::initializer_list<Row> list) {
        for (const Row &r : list) {
            this->*r.label = Label(frame, QLatin1String(r.labelName), QString::fromUtf8(r.caption));
            this->*r.box = Box(frame, this->*r.label, QLatin1String(r.boxName));
            data->Bind(this->*r.box, QLatin1String(r.field));
        }
        outer->addWidget(frame);
    };
    using I = Indstillinger;
    Frame1 = Frame(this, QStringLiteral("Frame1"), QStringLiteral("Firmaoplysninger"));
    dataFirma = new ui::DataSource(QStringLiteral("dataFirma"), this);
    rows(Frame1, dataFirma,
         {{&I::lblFirma, "lblFirma", "Firmanavn", &I::txtNavn, "txtNavn", "Navn"},
          {&I::lblAdresse, "lblAdresse", "Adresse", &I::txtAdresse, "txtAdresse", "Adresse"},
          {&I::lblPostnr, "lblPostnr", "Postnr.", &I::txtPostnr, "txtPostnr", "Postnr"},
          {&I::lblBy, "lblBy", "By", &I::txtBy, "txtBy", "By"},
          {&I::lblTlf, "lblTlf", "Telefonnr.", &I::txtTlf, "txtTlf", "Tlf"},
          {&I::lblFax, "lblFax", "Telefax", &I::txtFax, "txtFax", "Fax"},
          {&I::lblDirekteTlf, "lblDirekteTlf", "Direkte telefonnr.", &I::txtDirekteTlf, "txtDirekteTlf", "DirekteTlf"},
          {&I::lblKontakt, "lblKontakt", "Kontaktperson", &I::txtKontakt, "txtKontakt", "Kontakt"},
          {&I::lblEmail, "lblEmail", "e-mail", &I::txtEmail, "txtEmail", "e-mail"}});
    Frame2 = Frame(this, QStringLiteral("Frame2"), QStringLiteral("Projektoplysninger"));
    dataProjekt = new ui::DataSource(QStringLiteral("dataProjekt"), this);
    rows(Frame2, dataProjekt,
         {{&I::lblProjektID, "lblProjektID", "Projektidentifikation", &I::txtProjektID, "txtProjektID", "ProjektID"},
          {&I::lblBeregner, "lblBeregner", "Beregner", &I::txtBeregner, "txtBeregner", "Beregner"},
          {&I::lblDato, "lblDato", "Dato", &I::txtDato, "txtDato", "Dato"},
          {&I::lblTekst, "lblTekst", "Tekst", &I::txtTekst, "txtTekst", "Tekst"}});

    Frame3 = Frame(this, QStringLiteral("Frame3"), QStringLiteral("Beregningsmetode"));
    lblMetode = Label(Frame3, QStringLiteral("lblMetode"), QStringLiteral("Beregningsmetode"));
    cmbMetode = Beside(Frame3, lblMetode, new QComboBox(Frame3), QStringLiteral("cmbMetode"));
    cmbMetode->addItem(QStringLiteral("Dansk"));
    outer->addWidget(Frame3);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    btnOK = new ui::CommandButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnAnnuler = new ui::CommandButton(QStringLiteral("Annulle&r"), this);
    btnAnnuler->setObjectName(QStringLiteral("btnAnnuler"));
    buttons->addWidget(btnOK);
    buttons->addWidget(btnAnnuler);
    outer->addLayout(buttons);
    connect(btnOK, &QPushButton::clicked, this, &Indstillinger::btnOK_Click);
    connect(btnAnnuler, &QPushButton::clicked, this, &Indstillinger::btnAnnuler_Click);

    // GotFocus of each box, numbered from 21 in the alphabetical order of the box names.
    QList<QLineEdit *> boxes = findChildren<QLineEdit *>(QRegularExpression(QStringLiteral("^txt")));
    std::sort(boxes.begin(), boxes.end(),
              [](const QLineEdit *a, const QLineEdit *b) { return a->objectName() < b->objectName(); });
    std::int32_t number = 21;
    for (QLineEdit *box : boxes) {
        ui::focus::Watch(
            box,
            [this, box, number] {
                LogNr = number;
                ui::focus::SelectAllLater(box);
            },
            {}, alive_);
        ++number;
    }

    Form_Load();
}

Indstillinger::~Indstillinger() { *alive_ = false; }

void Indstillinger::Form_Load() {
    ui::RunEventProcedure(LogNr, kForm, [this] {
        LogNr = 10;
        dataFirma->setRecordset(ui::OpenForBinding(QStringLiteral("Firma"), modMain::cnInddata));
        LogNr = 11;
        dataProjekt->setRecordset(ui::OpenForBinding(QStringLiteral("Projekt"), modMain::cnInddata));
    });
}

void Indstillinger::btnOK_Click() {
    ui::RunEventProcedure(LogNr, kForm, [this] {
        LogNr = 5;
        dataProjekt->Update();
        LogNr = 6;
        dataFirma->Update();
        accept();
    });
}

// What was typed is never written: the bound edits go with the window.
void Indstillinger::btnAnnuler_Click() {
    ui::RunEventProcedure(LogNr, kForm, [this] {
        LogNr = 1;
        dataProjekt->Recordset().Cancel();
        LogNr = 2;
        dataFirma->Recordset().Cancel();
        reject();
    });
}
