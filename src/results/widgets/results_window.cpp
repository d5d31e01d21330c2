#include "results/widgets/results_window.h"

#include "data/connections.h"
#include "kit/controls.h"
#include "kit/event_procedure.h"
#include "platform/message_box.h"
#include "platform/numbers.h"
#include "results/print_prepare.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

using ui::Place;
using ui::Twips;

namespace results {

namespace {

constexpr int kRowHeight = 315;
constexpr int kLabelHeight = 255;

// Restores the pointer however the print ends.
class Hourglass {
public:
    Hourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Hourglass() { QApplication::restoreOverrideCursor(); }
    Hourglass(const Hourglass &) = delete;
    Hourglass &operator=(const Hourglass &) = delete;
};

// The PDF that printing to a file proposes: in the project folder, named after the project. Letters that a file name
// cannot hold become "-"; the proposal never keeps the print from going on.
QString ProposedPdf() {
    QString name;
    try {
        engine::Recordset rs;
        rs.Open(QStringLiteral("projekt"), modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly,
                engine::adCmdTable);
        if (!rs.Eof())
            name = rs.Fields(QStringLiteral("projektid")).Value().toString();
    } catch (const engine::RuntimeError &) {
    }
    static const QRegularExpression unfit(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    name = name.replace(unfit, QStringLiteral("-")).trimmed();
    while (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    if (name.isEmpty())
        name = QStringLiteral("Fundator");
    return QCoreApplication::applicationDirPath() + QStringLiteral("/data/") + name + QStringLiteral(".pdf");
}

} // namespace

ResultsWindow::ResultsWindow(QWidget *parent, const QString &name, const QString &formName, const QString &caption,
                             const QString &failureText, const PrintSteps &steps)
    : QDialog(parent), formName_(formName), failureText_(failureText), steps_(steps) {
    setObjectName(name);
    setWindowTitle(caption);
    setModal(true);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    setFont(font);
}

QGroupBox *ResultsWindow::Frame(const QString &name, const QString &caption, int top, int height, int left, int width) {
    auto *f = new QGroupBox(caption, this);
    f->setObjectName(name);
    Place(f, left, top, width, height);
    return f;
}

QLabel *ResultsWindow::Label(QWidget *parent, const QString &name, const QString &caption, int left, int top, int width,
                             Qt::Alignment align) {
    auto *l = new QLabel(caption, parent);
    l->setObjectName(name);
    l->setAlignment(align);
    Place(l, left, top, width, kLabelHeight);
    return l;
}

QLineEdit *ResultsWindow::Box(QWidget *parent, const QString &name, int left, int top, int width) {
    auto *b = new QLineEdit(parent);
    b->setObjectName(name);
    b->setAlignment(Qt::AlignRight);
    Place(b, left, top, width, kRowHeight);
    return b;
}

QLabel *ResultsWindow::Unit(QWidget *parent, const QString &name, const QString &unit, const QString &beforeExponent,
                            int left, int top, int width) {
    auto *l = new QLabel(unit, parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QFontMetrics metrics(l->font());
    const int textWidth = metrics.horizontalAdvance(unit) + 2;
    const int x = width > 0 ? Twips(left) + (Twips(width) - textWidth) / 2 : Twips(left);
    l->setGeometry(x, Twips(top), textWidth, Twips(kLabelHeight));
    if (!beforeExponent.isEmpty()) {
        // The exponent sits raised right after its base, in the blank that the unit leaves for it.
        auto *e = new QLabel(QStringLiteral("2"), parent);
        e->setObjectName(name + QStringLiteral("Eksponent"));
        QFont small = l->font();
        small.setPixelSize(8);
        e->setFont(small);
        e->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        e->setGeometry(l->x() + metrics.horizontalAdvance(beforeExponent), l->y() - 3,
                       QFontMetrics(small).horizontalAdvance(QStringLiteral("2")) + 2, QFontMetrics(small).height());
    }
    return l;
}

int ResultsWindow::GridFrame(int top, const char *name, const char *caption, const GridHeads &heads,
                             std::initializer_list<GridRow> rows) {
    const int height = 780 + static_cast<int>(rows.size()) * 360 + 75;
    QGroupBox *f = Frame(QString::fromUtf8(name), QString::fromUtf8(caption), top, height);
    const QString head = QStringLiteral("lbl") + QString::fromUtf8(heads.name);
    const QString unit = QString::fromUtf8(heads.unit), base = QString::fromUtf8(heads.beforeExponent);
    Label(f, head + QStringLiteral("1"), QString::fromUtf8(heads.first), kCol1, 240, kBox, Qt::AlignCenter);
    Label(f, head + QStringLiteral("2"), QString::fromUtf8(heads.second), kCol2, 240, kBox, Qt::AlignCenter);
    Unit(f, head + QStringLiteral("Enhed1"), unit, base, kCol1, 480, kBox);
    Unit(f, head + QStringLiteral("Enhed2"), unit, base, kCol2, 480, kBox);
    int rowTop = 780;
    for (const GridRow &row : rows) {
        Label(f, QString::fromUtf8(row.labelName), QString::fromUtf8(row.caption), 120, rowTop + 30, 1800);
        if (*row.first)
            Box(f, QString::fromUtf8(row.first), kCol1, rowTop);
        Box(f, QString::fromUtf8(row.second), kCol2, rowTop);
        rowTop += 360;
    }
    return top + height;
}

QLineEdit *ResultsWindow::NamedBox(const char *name) const { return findChild<QLineEdit *>(QString::fromUtf8(name)); }

int ResultsWindow::MomentsFrame(int top, bool withCapacity) {
    const GridHeads heads{"Moment", "Karakteristisk", "Regningsmæssig", "kNm/m", ""};
    const GridRow positive{"lblMaxPositivt", "Max Positivt", "KarMaxPos", "RegMaxPos"};
    const GridRow negative{"lblMaxNegativt", "Max Negativt", "KarMaxNeg", "RegMaxNeg"};
    // The unreinforced capacity has a design value only.
    const GridRow capacity{"lblKapUarm", "Kapacitet uarmeret", "", "RegKapUarm"};
    const int bottom = withCapacity ? GridFrame(top, "fraMomenter", "Momenter", heads, {positive, negative, capacity})
                                    : GridFrame(top, "fraMomenter", "Momenter", heads, {positive, negative});
    KarMaxPos = NamedBox("KarMaxPos");
    RegMaxPos = NamedBox("RegMaxPos");
    KarMaxNeg = NamedBox("KarMaxNeg");
    RegMaxNeg = NamedBox("RegMaxNeg");
    return bottom;
}

int ResultsWindow::PressureFrame(int top, const char *upperActual, const char *upperAllowed) {
    const int bottom =
        GridFrame(top, "fraTryk", "Regningsmæssig Tryk", {"Tryk", "Faktiske", "Tilladte", "kN/m", "kN/m"},
                  {{"lblIsolering", "Isolering", upperActual, upperAllowed},
                   {"lblIsolering2", "   -    nederste lag", "FakIso2", "TilIso2"}});
    lblIsolering2 = findChild<QLabel *>(QStringLiteral("lblIsolering2"));
    FakIso2 = NamedBox("FakIso2");
    TilIso2 = NamedBox("TilIso2");
    return bottom;
}

int ResultsWindow::ValueFrame(int top, const QString &caption, const QString &boxName, const QString &unit,
                              const QString &beforeExponent, QLineEdit **box) {
    const int height = 555;
    QGroupBox *f = Frame(QStringLiteral("fra") + boxName, QString(), top, height);
    Label(f, QStringLiteral("lbl") + boxName, caption, 120, 150, 1800);
    *box = Box(f, boxName, kCol1, 120);
    Unit(f, QStringLiteral("lbl") + boxName + QStringLiteral("Enhed"), unit, beforeExponent, kCol2, 180, 0);
    return top + height;
}

int ResultsWindow::LowerFrames(int top) {
    top = ValueFrame(top, QStringLiteral("Deformation"), QStringLiteral("Deform"), QStringLiteral("mm"), QString(),
                     &Deform) +
          kFrameGap;
    top = ValueFrame(top, QStringLiteral("U-værdi"), QStringLiteral("UValue"), QStringLiteral("W/m  K"),
                     QStringLiteral("W/m"), &UValue) +
          kFrameGap;
    return RemarkFrame(top);
}

int ResultsWindow::RemarkFrame(int top) {
    const int height = 180 + 5 * kRowHeight + 120;
    QGroupBox *f = Frame(QStringLiteral("fraOplysning"), QString(), top, height);
    for (int k = 1; k <= 5; ++k) {
        QLineEdit *line = Box(f, QStringLiteral("Oplysning_%1").arg(k), 120, 180 + (k - 1) * kRowHeight, kColumn - 240);
        line->setAlignment(Qt::AlignLeft);
        QFont bold = line->font();
        bold.setBold(true);
        line->setFont(bold);
        Oplysning[static_cast<size_t>(k)] = line;
    }
    return top + height;
}

void ResultsWindow::Buttons(int left, int top) {
    const char *captions[] = {"&OK", "&Udskriv"};
    for (std::int16_t i = 0; i < 2; ++i) {
        auto *b = new QPushButton(QString::fromUtf8(captions[i]), this);
        b->setObjectName(QStringLiteral("Command1_%1").arg(i));
        b->setAutoDefault(false);
        Place(b, left, top + i * 480, kButtonWidth, 375);
        connect(b, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        Command1[static_cast<size_t>(i)] = b;
    }
}

void ResultsWindow::Show(QLineEdit *box, const engine::Variant &value, const char *pattern) {
    box->setText(value.isNull() ? QString() : platform::Format(value, QLatin1String(pattern)));
}

void ResultsWindow::FillBoxes(const engine::Recordset &result, std::initializer_list<BoxField> boxes) {
    for (const BoxField &b : boxes)
        Show(b.box, result.Fields(QString::fromUtf8(b.field)).Value(), b.pattern);
}

engine::Recordset ResultsWindow::OpenTable(const char *name) {
    engine::Recordset rs;
    rs.Open(QString::fromUtf8(name), modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly,
            engine::adCmdTable);
    return rs;
}

void ResultsWindow::ChooseReport(const engine::Recordset &result, const QString &stem) {
    const engine::Variant lower = result.Fields(QStringLiteral("IsoTilladt2")).Value();
    // Only a stored 0 means no lower layer; a missing value keeps the row, as any other value does.
    const bool noLowerLayer = lower.isNumber() && lower.toDouble() == 0;
    lblIsolering2->setHidden(noLowerLayer);
    FakIso2->setHidden(noLowerLayer);
    TilIso2->setHidden(noLowerLayer);
    RapportNavn = stem + (noLowerLayer ? QStringLiteral("1.rpt") : QStringLiteral(".rpt"));
}

void ResultsWindow::FillRemarks(const engine::Recordset &result) {
    for (int k = 1; k <= 5; ++k)
        Oplysning[static_cast<size_t>(k)]->setText(
            platform::CStr(result.Fields(QStringLiteral("Oplysning%1").arg(k)).Value()));
}

void ResultsWindow::Command1_Click(std::int16_t index) {
    LogNr = steps_.entry;
    ui::RunEventProcedure(LogNr, formName_, [&] {
        if (index == 0) {
            LogNr = steps_.close;
            accept();
        } else if (index == 1) {
            Print();
        }
    });
}

void ResultsWindow::Print() {
    LogNr = steps_.dialog;
    CommonDialog1.CancelError = true;
    CommonDialog1.Flags = platform::cdl::PDHidePrintToFile | platform::cdl::PDNoPageNums | platform::cdl::PDNoSelection;
    CommonDialog1.FileName = ProposedPdf();
    try {
        CommonDialog1.ShowPrinter();
    } catch (const engine::RuntimeError &) {
        return; // cancelled or failed: nothing printed, nothing said
    }
    LogNr = steps_.hourglass;
    Hourglass pointer;
    LogNr = steps_.prepare;
    PrintPrepare::PrintFormat();
    LogNr = steps_.report;
    CrystalReport1.ReportFileName = QCoreApplication::applicationDirPath() + QLatin1Char('/') + RapportNavn;
    const std::int16_t status = CrystalReport1.PrintReport();
    if (status != 0)
        platform::MsgBox(failureText_ + QString::number(status));
    LogNr = steps_.pointer;
}

} // namespace results
