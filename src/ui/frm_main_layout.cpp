// The main window as designed: positions in twips, the controls named as the window procedures name them,
// and the binding of the page controls to the fields of the input tables.

#include "kit/command_button.h"
#include "kit/controls.h"
#include "kit/data_source.h"
#include "kit/focus.h"
#include "ui/frm_main.h"
#include "ui/pick_lists.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <tuple>

using ui::Place;
using ui::Twips;

namespace {

const QColor kGrey(0xC0, 0xC0, 0xC0);

template <class W> W *Named(W *w, const QString &name) {
    w->setObjectName(name);
    return w;
}

QLabel *Label(QWidget *parent, const QString &name, const QString &caption, int left, int top, int width,
              int height = 255) {
    auto *l = Named(new QLabel(caption, parent), name);
    Place(l, left, top, width, height);
    return l;
}

QLineEdit *Box(QWidget *parent, const QString &name, int left, int top, int width = 1095) {
    auto *b = Named(new QLineEdit(parent), name);
    Place(b, left, top, width, 315);
    return b;
}

// A box that holds a value for the record but is never shown.
QLineEdit *HiddenBox(QWidget *parent, const QString &name) {
    auto *b = Named(new QLineEdit(parent), name);
    b->hide();
    return b;
}

QComboBox *List(QWidget *parent, const QString &name, int left, int top, int width = 2895) {
    auto *c = Named(new QComboBox(parent), name);
    ui::MakePickList(c);
    Place(c, left, top, width, 315);
    return c;
}

ui::CommandButton *Button(QWidget *parent, const QString &name, const QString &caption, int left, int top, int width,
                          int height = 375) {
    auto *b = Named(new ui::CommandButton(caption, parent), name);
    Place(b, left, top, width, height);
    return b;
}

QGroupBox *Frame(QWidget *parent, const QString &name, const QString &caption, int left, int top, int width,
                 int height) {
    auto *f = Named(new QGroupBox(caption, parent), name);
    Place(f, left, top, width, height);
    return f;
}

void Fill(QWidget *w, const QColor &colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    p.setColor(QPalette::Button, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

// A unit with an exponent: the unit in bold, the exponent in a smaller font at the same top edge right after it.
void Unit(std::array<QLabel *, 2> &unit, QWidget *parent, const QString &name, const QString &text,
          const QString &exponent, int left, int top) {
    // Top-aligned a little below the row's top, so the unit text stands level with the other captions.
    unit[0] = Label(parent, name + QStringLiteral("_0"), text, left, top + 30, 1200);
    QFont bold = unit[0]->font();
    bold.setBold(true);
    unit[0]->setFont(bold);
    unit[0]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    unit[0]->resize(unit[0]->sizeHint().width(), unit[0]->height());
    unit[1] = Label(parent, name + QStringLiteral("_1"), exponent, left, top + 30, 150, 180);
    QFont small(QStringLiteral("Times New Roman"));
    small.setPixelSize(8);
    small.setBold(true);
    unit[1]->setFont(small);
    unit[1]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    unit[1]->move(unit[0]->x() + unit[0]->width(), unit[0]->y());
}

// Label column and field column of the pages.
constexpr int kCaption = 120;
constexpr int kField = 1680;
constexpr int kUnit = 2835;

// The rows of a page, each at its top; a row's controls are named after it: lbl<row>, then txt<row> and
// lbl<row>Enhed, or cmb<row>.
QLabel *Caption(QWidget *page, const QString &row, const char *caption, int top) {
    return Label(page, QStringLiteral("lbl") + row, QString::fromUtf8(caption), kCaption, top + 30, 1500);
}

std::tuple<QLabel *, QLineEdit *> NumberRow(QWidget *page, const QString &row, const char *caption, int top) {
    return {Caption(page, row, caption, top), Box(page, QStringLiteral("txt") + row, kField, top)};
}

std::tuple<QLabel *, QLineEdit *, QLabel *> NumberRow(QWidget *page, const QString &row, const char *caption,
                                                      const char *unit, int top) {
    return {Caption(page, row, caption, top), Box(page, QStringLiteral("txt") + row, kField, top),
            Label(page, QStringLiteral("lbl") + row + QStringLiteral("Enhed"), QString::fromUtf8(unit), kUnit, top + 30,
                  1740)};
}

std::tuple<QLabel *, QComboBox *> ListRow(QWidget *page, const QString &row, const char *caption, int top) {
    return {Caption(page, row, caption, top), List(page, QStringLiteral("cmb") + row, kField, top)};
}

// A page's line of help text.
QLabel *Note(QWidget *page, const QString &name, const char *text, int top) {
    return Label(page, name, QString::fromUtf8(text), kCaption, top, 4455);
}

} // namespace

void frmMain::BuildLayout() {
    // The start picture lives in the window library's resources.
    Q_INIT_RESOURCE(resources);
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Fundator"));
    auto *form = new QWidget(this);
    form->setObjectName(QStringLiteral("frmMainForm"));
    setCentralWidget(form);
    setFixedSize(Twips(12015), Twips(8295));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    form->setFont(font);

    // Header.
    lblFundator = Label(form, QStringLiteral("lblFundator"), QStringLiteral("Fundator"), 120, 0, 4800, 720);
    QFont heavy(QStringLiteral("Arial Black"));
    heavy.setPixelSize(34);
    heavy.setWeight(QFont::Black);
    lblFundator->setFont(heavy);
    lblProgram = Label(form, QStringLiteral("lblProgram"), QStringLiteral("Program til beregning af terrændæk"), 135,
                       690, 6000, 300);
    QFont subtitle = font;
    subtitle.setPixelSize(13);
    subtitle.setBold(true);
    lblProgram->setFont(subtitle);
    lblMetode = Label(form, QStringLiteral("lblMetode"), QStringLiteral("Beregningsmetode: Dansk"), 7200, 300, 4575);
    lblVersion = Label(form, QStringLiteral("lblVersion"), QStringLiteral("Versionsnr."), 7200, 660, 4575);
    lblMetode->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // Button bar.
    const struct {
        int index;
        const char *caption;
        int left;
    } bar[] = {{0, "&Inddata", 120},
               {2, "Fi&l", 2451},
               {4, "&Stamoplysninger", 4781},
               {5, "&Hjælp", 7113},
               {6, "&Afslut", 9444}};
    for (const auto &b : bar) {
        Command1[static_cast<size_t>(b.index)] =
            Button(form, QStringLiteral("Command1_%1").arg(b.index), QString::fromUtf8(b.caption), b.left, 1080, 2330);
        Fill(Command1[static_cast<size_t>(b.index)], kGrey);
        connect(Command1[static_cast<size_t>(b.index)], &QPushButton::clicked, this,
                [this, i = b.index] { Command1_Click(i); });
    }

    // Page background, sketch and the wizard buttons; hidden until the start picture is left.
    lblFrmBund = Label(form, QStringLiteral("lblFrmBund"), QString(), 120, 1560, 4935, 6615);
    Fill(lblFrmBund, kGrey);
    Skitse = Named(new QFrame(form), QStringLiteral("Skitse"));
    Place(Skitse, 5160, 1560, 6735, 6615);
    Skitse->setFrameShape(QFrame::Box);
    Fill(Skitse, Qt::white);
    btnBeregning = Button(form, QStringLiteral("btnBeregning"), QStringLiteral("&Beregning"), 720, 7680, 1335);
    btnForrige = Button(form, QStringLiteral("btnForrige"), QStringLiteral("<<  &Forrige"), 2160, 7680, 1335);
    btnNaeste = Button(form, QStringLiteral("btnNaeste"), QStringLiteral("&Næste  >>"), 3600, 7680, 1335);
    btnForrige->setEnabled(false);

    // Page 1: the loads.
    frmLast = Frame(form, QStringLiteral("frmLast"), QStringLiteral("Inddata - Last"), 240, 1680, 4695, 5400);
    lblLastText1 = Note(frmLast, QStringLiteral("lblLastText1"), "Indtast data for en eller flere laster.", 300);
    lblLastText2 = Note(frmLast, QStringLiteral("lblLastText2"),
                        "NB. På illustrationen vises lasterne ved siden af hinanden.", 540);
    lblLastText3 =
        Note(frmLast, QStringLiteral("lblLastText3"), "  Illustrationen kan ikke vise flere end fire laster.", 780);
    lblLastNr = Caption(frmLast, QStringLiteral("LastNr"), "Last nr.", 1140);
    txtLastNr = Box(frmLast, QStringLiteral("txtLastNr"), kField, 1140, 615);
    btnMoveLast[0] = Button(frmLast, QStringLiteral("btnMoveLast_0"), QStringLiteral("&<"), 2400, 1140, 375, 315);
    btnMoveLast[1] = Button(frmLast, QStringLiteral("btnMoveLast_1"), QStringLiteral("&>"), 2835, 1140, 375, 315);
    std::tie(lblLastType, cmbLastType) = ListRow(frmLast, QStringLiteral("LastType"), "Type", 1560);
    txtLastType = HiddenBox(frmLast, QStringLiteral("txtLastType"));
    std::tie(lblLastForm, cmbLastForm) = ListRow(frmLast, QStringLiteral("LastForm"), "Form", 1980);
    std::tie(lblLastFormBredde, txtLastFormBredde, lblLastFormBreddeEnhed) =
        NumberRow(frmLast, QStringLiteral("LastFormBredde"), "bredde", "mm", 2400);
    std::tie(lblLastFormLaengde, txtLastFormLaengde, lblLastFormLaengdeEnhed) =
        NumberRow(frmLast, QStringLiteral("LastFormLaengde"), "længde", "mm", 2820);
    std::tie(lblLastPlacering, cmbLastPlacering) = ListRow(frmLast, QStringLiteral("LastPlacering"), "Placering", 3240);
    std::tie(lblLastKantFugeAfstand, txtLastKantFugeAfstand, lblLastKantFugeAfstandEnhed) =
        NumberRow(frmLast, QStringLiteral("LastKantFugeAfstand"), "afstand fra", "mm", 3660);
    std::tie(lblAfstandLastpar, txtAfstandLastpar, lblAfstandLastparEnhed) =
        NumberRow(frmLast, QStringLiteral("AfstandLastpar"), "afstand", "m mellem laster", 4080);
    std::tie(lblLastStorrelse, txtLastStorrelse) =
        NumberRow(frmLast, QStringLiteral("LastStorrelse"), "Størrelse", 4500);
    Unit(lblLastStorrelseEnhed, frmLast, QStringLiteral("lblLastStorrelseEnhed"), QStringLiteral("kN"),
         QStringLiteral(" "), kUnit, 4530);
    std::tie(lblPartialK, txtPartialK) = NumberRow(frmLast, QStringLiteral("PartialK"), "Partialkoefficient", 4920);
    dataLast = new ui::DataSource(QStringLiteral("dataLast"), frmLast);

    // Page 2: the slab.
    frmDaek = Frame(form, QStringLiteral("frmDaek"), QStringLiteral("Inddata - Dæk"), 240, 1680, 4695, 5880);
    lblDaekText = Note(frmDaek, QStringLiteral("lblDaekText"), "Indtast data for dækket.", 300);
    std::tie(lblDaekType, cmbDaekType) = ListRow(frmDaek, QStringLiteral("DaekType"), "Type", 660);
    std::tie(lblDaekTykkelse, txtDaekTykkelse, lblDaekTykkelseEnhed) =
        NumberRow(frmDaek, QStringLiteral("DaekTykkelse"), "Tykkelse", "mm", 1020);
    std::tie(lblDaekSikkerhedsklasse, cmbDaekSikkerhedsklasse) =
        ListRow(frmDaek, QStringLiteral("DaekSikkerhedsklasse"), "Sikkerhedsklasse", 1380);
    std::tie(lblDaekKvalitet, cmbDaekKvalitet) = ListRow(frmDaek, QStringLiteral("DaekKvalitet"), "Kvalitet", 1740);
    std::tie(lblDaekTrykstyrke, txtDaekTrykstyrke, lblDaekTrykstyrkeEnhed) =
        NumberRow(frmDaek, QStringLiteral("DaekTrykstyrke"), "Rgm.trykstyrke", "MPa", 2100);
    std::tie(lblDaekTraekstyrke, txtDaekTraekstyrke, lblDaekTraekstyrkeEnhed) =
        NumberRow(frmDaek, QStringLiteral("DaekTraekstyrke"), "Rgm.trækstyrke", "MPa", 2460);
    std::tie(lblDaekTraekstyrkeKar, txtDaekTraekstyrkeKar, lblDaekTraekstyrkeKarEnhed) =
        NumberRow(frmDaek, QStringLiteral("DaekTraekstyrkeKar"), "Kar. trækstyrke", "MPa", 2820);
    std::tie(lblDaekEo, txtDaekEo, lblDaekEoEnhed) =
        NumberRow(frmDaek, QStringLiteral("DaekEo"), "E(korttid)", "MPa", 3180);
    std::tie(lblDaekEn, txtDaekEn, lblDaekEnEnhed) =
        NumberRow(frmDaek, QStringLiteral("DaekEn"), "E(langtid)", "MPa", 3540);
    std::tie(lblDaekGo, txtDaekGo, lblDaekGoEnhed) =
        NumberRow(frmDaek, QStringLiteral("DaekGo"), "G(korttid)", "MPa", 3900);
    std::tie(lblDaekGn, txtDaekGn, lblDaekGnEnhed) =
        NumberRow(frmDaek, QStringLiteral("DaekGn"), "G(langtid)", "MPa", 4260);
    std::tie(lblMKlasse, cmbMKlasse) = ListRow(frmDaek, QStringLiteral("MKlasse"), "Miljøklasse", 4620);
    std::tie(lblDaeklag, txtDaeklag, lblDaeklagEnhed) =
        NumberRow(frmDaek, QStringLiteral("Daeklag"), "dæklag", "mm", 4980);
    std::tie(lblRevnevidde, txtRevnevidde, lblRevneviddeEnhed) =
        NumberRow(frmDaek, QStringLiteral("Revnevidde"), "max.revnevidde", "mm", 5340);
    txtDaekTau = HiddenBox(frmDaek, QStringLiteral("txtDaekTau"));
    dataInddata = new ui::DataSource(QStringLiteral("dataInddata"), frmDaek);

    // Page 3: insulation layers, intermediate layer and terrain.
    frmIsolering =
        Frame(form, QStringLiteral("frmIsolering"), QStringLiteral("Inddata - Isolering"), 240, 1680, 4695, 2160);
    lblIsoleringText =
        Note(frmIsolering, QStringLiteral("lblIsoleringText"), "Indtast data for maximalt to typer isolering.", 300);
    lblIsoleringNr = Caption(frmIsolering, QStringLiteral("IsoleringNr"), "Isoleringstype nr.", 720);
    txtIsoleringNr = Box(frmIsolering, QStringLiteral("txtIsoleringNr"), kField, 720, 615);
    btnMoveIsolering[0] =
        Button(frmIsolering, QStringLiteral("btnMoveIsolering_0"), QStringLiteral("&<"), 2400, 720, 375, 315);
    btnMoveIsolering[1] =
        Button(frmIsolering, QStringLiteral("btnMoveIsolering_1"), QStringLiteral("&>"), 2835, 720, 375, 315);
    std::tie(lblIsoleringType, cmbIsoleringType) = ListRow(frmIsolering, QStringLiteral("IsoleringType"), "Type", 1200);
    txtIsoleringType = HiddenBox(frmIsolering, QStringLiteral("txtIsoleringType"));
    std::tie(lblIsoleringTykkelse, txtIsoleringTykkelse, lblIsoleringTykkelseEnhed) =
        NumberRow(frmIsolering, QStringLiteral("IsoleringTykkelse"), "tykkelse", "mm", 1680);
    txtIsolZo = HiddenBox(frmIsolering, QStringLiteral("txtIsolZo"));
    txtIsolZn = HiddenBox(frmIsolering, QStringLiteral("txtIsolZn"));
    txtIsolLambdaT = HiddenBox(frmIsolering, QStringLiteral("txtIsolLambdaT"));
    txtIsolLambdaV = HiddenBox(frmIsolering, QStringLiteral("txtIsolLambdaV"));
    txtIsolEo = HiddenBox(frmIsolering, QStringLiteral("txtIsolEo"));
    txtIsolEn = HiddenBox(frmIsolering, QStringLiteral("txtIsolEn"));
    dataIsolering = new ui::DataSource(QStringLiteral("dataIsolering"), frmIsolering);

    frmMellemlag =
        Frame(form, QStringLiteral("frmMellemlag"), QStringLiteral("Inddata - Mellemlag"), 240, 3960, 4695, 1620);
    lblMellemlagText = Note(frmMellemlag, QStringLiteral("lblMellemlagText"), "Indtast data for mellemlag.", 300);
    std::tie(lblMellemlagType, cmbMellemlagType) = ListRow(frmMellemlag, QStringLiteral("MellemlagType"), "Type", 720);
    std::tie(lblMellemlagTykkelse, txtMellemlagTykkelse, lblMellemlagTykkelseEnhed) =
        NumberRow(frmMellemlag, QStringLiteral("MellemlagTykkelse"), "tykkelse", "mm", 1200);
    txtMellemlagKorr = HiddenBox(frmMellemlag, QStringLiteral("txtMellemlagKorr"));
    txtMellemlagLambda = HiddenBox(frmMellemlag, QStringLiteral("txtMellemlagLambda"));

    frmTerraen = Frame(form, QStringLiteral("frmTerraen"), QStringLiteral("Inddata - Terræn"), 240, 5700, 4695, 1620);
    lblTerraenText = Note(frmTerraen, QStringLiteral("lblTerraenText"), "Indtast data for terræn..", 300);
    std::tie(lblTerraenType, cmbTerraenType) = ListRow(frmTerraen, QStringLiteral("TerraenType"), "Type", 720);
    std::tie(lblTerraenBallast, txtTerraenBallast) =
        NumberRow(frmTerraen, QStringLiteral("TerraenBallast"), "ballasttal", 1200);
    Unit(lblTerraenBallastEnhed, frmTerraen, QStringLiteral("lblTerraenBallastEnhed"), QStringLiteral("kN/m"),
         QStringLiteral("3"), kUnit, 1230);

    // Keys are shown, never typed: a typed key would move the record to another slot. The cover and the
    // crack width come from the environmental class.
    for (QLineEdit *readOnly : {txtLastNr, txtIsoleringNr, txtDaeklag, txtRevnevidde})
        readOnly->setReadOnly(true);

    // The start picture covers the pages until the first command of the button bar.
    imgOpstart = Label(form, QStringLiteral("imgOpstart"), QString(), 120, 1560, 9750, 6615);
    imgOpstart->setPixmap(QPixmap(QStringLiteral(":/opstart.png")));
    imgOpstart->raise();

    for (QWidget *hidden : std::initializer_list<QWidget *>{lblFrmBund, Skitse, btnBeregning, btnForrige, btnNaeste,
                                                            frmLast, frmDaek, frmIsolering, frmMellemlag, frmTerraen})
        hidden->hide();
}

void frmMain::BindPages() {
    const auto bind = [](ui::DataSource *data, std::initializer_list<std::pair<QWidget *, const char *>> fields) {
        for (const auto &[control, field] : fields) {
            if (auto *box = qobject_cast<QLineEdit *>(control))
                data->Bind(box, QString::fromUtf8(field));
            else
                data->Bind(qobject_cast<QComboBox *>(control), QString::fromUtf8(field));
        }
    };
    bind(dataLast, {{txtLastNr, "LastID"},
                    {txtLastType, "LastType"},
                    {cmbLastForm, "LastForm"},
                    {cmbLastPlacering, "Placering"},
                    {txtAfstandLastpar, "afstand"},
                    {txtLastFormBredde, "bredde"},
                    {txtLastFormLaengde, "længde"},
                    {txtLastKantFugeAfstand, "AfstandFra"},
                    {txtLastStorrelse, "Størrelse"},
                    {txtPartialK, "PartialK"}});
    bind(dataInddata, {{cmbDaekType, "Daektype"},
                       {cmbDaekSikkerhedsklasse, "SikkerhedsklasseText"},
                       {cmbDaekKvalitet, "KvalitetText"},
                       {cmbMKlasse, "Miljøklasse"},
                       {txtDaekTykkelse, "DækTykkelse"},
                       {txtDaekTau, "Tau"},
                       {txtDaekTrykstyrke, "TrykstyrkeRgm"},
                       {txtDaekTraekstyrke, "TraekstyrkeRgm"},
                       {txtDaekTraekstyrkeKar, "TraekstyrkeKar"},
                       {txtDaekEo, "Eo"},
                       {txtDaekEn, "En"},
                       {txtDaekGo, "Go"},
                       {txtDaekGn, "Gn"},
                       {txtDaeklag, "Dæklag"},
                       {txtRevnevidde, "Revnevidde"},
                       {cmbMellemlagType, "Mellemlag"},
                       {txtMellemlagTykkelse, "MellemlagTykkelse"},
                       {txtMellemlagKorr, "MellemlagKorr"},
                       {txtMellemlagLambda, "MellemlagLambda"},
                       {cmbTerraenType, "Terræn"},
                       {txtTerraenBallast, "TerrænBallast"}});
    bind(dataIsolering, {{txtIsoleringNr, "Lagnr"},
                         {txtIsoleringType, "IsoleringType"},
                         {txtIsoleringTykkelse, "IsoleringTykkelse"},
                         {txtIsolZo, "Zigmao"},
                         {txtIsolZn, "Zigman"},
                         {txtIsolLambdaT, "LambdaTør"},
                         {txtIsolLambdaV, "LambdaVåd"},
                         {txtIsolEo, "Eo"},
                         {txtIsolEn, "En"}});
}
