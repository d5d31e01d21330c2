#pragma once
// The numeric text boxes: entering one selects its whole text; leaving one completes an emptied text to "0", refuses a
// text that is no number, writes the number in the box's display pattern and tests it against the box's bounds. A
// refusal shows its message and sends the focus back; the text stays in the box (and, the box being bound, is stored
// with the record unless the user corrects it).

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class QLineEdit;

namespace ui {

inline const QString kNotNumeric = QStringLiteral("Feltet kan kun indeholde numeriske værdier.");

// When leaving the box redraws the sketch.
enum class Redraw {
    Never,
    WhenAccepted, // only when the value is within bounds
    Always,       // after every numeric entry, a refused value too
};

struct NumericFieldDesign {
    QString pattern;         // display pattern: "0" or "#0.00"
    bool typedPoint = false; // a typed "." is the decimal mark, whatever the regional settings
    // The message for a value outside the box's bounds; the empty text when the value is accepted.
    std::function<QString(double v)> refusal;
    Redraw redraw = Redraw::Never;
    // Statement numbers: GotFocus; LostFocus from lostFocusFirst, one a step (six steps).
    std::int32_t gotFocusNr = 0;
    std::int32_t lostFocusFirst = 0;
};

// The window state the numeric boxes of a window share.
struct NumericFieldContext {
    std::int32_t *LogNr;
    QString formName;            // for the error report
    std::shared_ptr<bool> alive; // false once the window is going away
    std::function<void()> redraw;
};

class NumericField : public QObject {
    Q_OBJECT
public:
    NumericField(QLineEdit *box, NumericFieldDesign design, NumericFieldContext context);

    // The two event procedures.
    void GotFocus();
    void LostFocus();

private:
    QLineEdit *box_;
    NumericFieldDesign design_;
    NumericFieldContext ctx_;
};

// v is not 0 and lies outside [low, high]. Zero passes: the page checks decide whether a 0 may stand.
inline bool OutsideBounds(double v, double low, double high) { return v != 0 && (v < low || v > high); }

// Refusals by a fixed message. Refused when v < 0.
std::function<QString(double)> RefuseNegative(const QString &message);
// Refused when OutsideBounds.
std::function<QString(double)> RefuseOutside(double low, double high, const QString &message);

} // namespace ui
