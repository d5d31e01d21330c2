#pragma once
// What the two results windows share: the frames for moments, insulation pressure, deflection, U-value and
// remarks, the report choice, the remark lines and the print command with its two buttons.

#include "engine/engine.h"
#include "platform/common_dialog.h"
#include "platform/report_engine.h"

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>
#include <initializer_list>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace results {

class ResultsWindow : public QDialog {
    Q_OBJECT
public:
    // The report definition that the print button prints, set by Form_Load.
    QString RapportNavn;
    // Statement number of the running procedure of this window.
    std::int32_t LogNr = 0;

    platform::CommonDialog CommonDialog1;
    platform::ReportControl CrystalReport1;

    std::array<QPushButton *, 2> Command1{}; // 0 "&OK", 1 "&Udskriv"
    QLineEdit *KarMaxPos = nullptr;
    QLineEdit *KarMaxNeg = nullptr;
    QLineEdit *RegMaxPos = nullptr;
    QLineEdit *RegMaxNeg = nullptr;
    QLineEdit *Deform = nullptr;
    QLineEdit *UValue = nullptr;
    QLabel *lblIsolering2 = nullptr;
    QLineEdit *FakIso2 = nullptr;
    QLineEdit *TilIso2 = nullptr;
    std::array<QLineEdit *, 6> Oplysning{}; // indexes 1 to 5

    virtual void Form_Load() = 0;
    // 0 closes, 1 prints; any other index does nothing.
    void Command1_Click(std::int16_t index);

protected:
    // The statement numbers of the print command, which differ between the two windows.
    struct PrintSteps {
        std::int32_t entry, close, dialog, hourglass, prepare, report, pointer;
    };
    ResultsWindow(QWidget *parent, const QString &name, const QString &formName, const QString &caption,
                  const QString &failureText, const PrintSteps &steps);

    // Layout in twips, from the top of each frame; every builder returns the frame's bottom.
    struct GridHeads {
        const char *name; // names the head labels: lbl<name>1, lbl<name>Enhed1, ...
        const char *first, *second, *unit, *beforeExponent;
    };
    struct GridRow {
        const char *labelName, *caption;
        const char *first, *second; // the boxes' names; an empty first: the row has no box in that column
    };
    // A frame of rows under two column heads with their unit.
    int GridFrame(int top, const char *name, const char *caption, const GridHeads &heads,
                  std::initializer_list<GridRow> rows);
    int MomentsFrame(int top, bool withCapacity);
    int PressureFrame(int top, const char *upperActual, const char *upperAllowed);
    int ValueFrame(int top, const QString &caption, const QString &boxName, const QString &unit,
                   const QString &beforeExponent, QLineEdit **box);
    int RemarkFrame(int top);
    // The deflection, U-value and remark frames, from the top down.
    int LowerFrames(int top);
    void Buttons(int left, int top);
    QLineEdit *NamedBox(const char *name) const;

    QGroupBox *Frame(const QString &name, const QString &caption, int top, int height, int left = kLeft,
                     int width = kColumn);
    QLabel *Label(QWidget *parent, const QString &name, const QString &caption, int left, int top, int width,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
    QLineEdit *Box(QWidget *parent, const QString &name, int left, int top, int width = kBox);
    // A unit centred over a column (width 0: beginning at left); with beforeExponent a small raised "2" follows
    // that part of the unit.
    QLabel *Unit(QWidget *parent, const QString &name, const QString &unit, const QString &beforeExponent, int left,
                 int top, int width);

    // A box's text in a display pattern; a field without a value leaves the box empty.
    static void Show(QLineEdit *box, const engine::Variant &value, const char *pattern);
    struct BoxField {
        QLineEdit *box;
        const char *field;
        const char *pattern;
    };
    // The boxes in the order given, each from its field of the result row.
    static void FillBoxes(const engine::Recordset &result, std::initializer_list<BoxField> boxes);
    static engine::Recordset OpenTable(const char *name);
    // The report choice; stem is "Beton" or "Bruger".
    void ChooseReport(const engine::Recordset &result, const QString &stem);
    void FillRemarks(const engine::Recordset &result);

    static constexpr int kLeft = 120;
    static constexpr int kColumn = 5055;
    static constexpr int kBox = 1335;
    static constexpr int kCol1 = 2040; // first value column inside a frame
    static constexpr int kCol2 = 3495; // second value column
    static constexpr int kButtonWidth = 1455;
    static constexpr int kFrameGap = 105;

private:
    QString formName_;
    QString failureText_;
    PrintSteps steps_;
    void Print();
};

} // namespace results
