#pragma once
// What the page procedures do to their controls, in the terms they use: show or hide a group, lock a box (shown but not
// editable), refresh a frame, place an exponent after its unit, and raise the window's refresh counter around a
// procedure run on another's behalf.

#include <QString>
#include <array>
#include <cstdint>
#include <initializer_list>

class QLabel;
class QLineEdit;
class QWidget;

namespace ui {

void SetVisible(std::initializer_list<QWidget *> controls, bool visible);
void SetLocked(std::initializer_list<QLineEdit *> boxes, bool locked);

// Repaints a frame at once.
void RefreshFrame(QWidget *frame);

// A unit with an exponent: item 0 takes the unit text and its own width, item 1 the exponent right after it.
void SetUnit(const std::array<QLabel *, 2> &unit, const QString &text, const QString &exponent);

// Raises a refresh counter for its lifetime; the counter is lowered again however the scope is left, so an error inside
// the refresh cannot leave the window's redraws switched off for good.
class RaisedCounter {
public:
    explicit RaisedCounter(std::int16_t &counter) : counter_(counter) { ++counter_; }
    ~RaisedCounter() { --counter_; }
    RaisedCounter(const RaisedCounter &) = delete;
    RaisedCounter &operator=(const RaisedCounter &) = delete;

private:
    std::int16_t &counter_;
};

} // namespace ui
