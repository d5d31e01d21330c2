#pragma once
// Real key and mouse events for the window tests: QTest's window-level events enter Qt where the window
// system's do (shortcuts and access keys included) and reach the focus widget or the widget under the mouse.

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <optional>

namespace uitest {

inline void processEvents() { QApplication::processEvents(); }

inline void wait(int ms) { QTest::qWait(ms); }

inline bool waitForWindowActive(QWidget *w, int timeoutMs = 5000) { return QTest::qWaitForWindowActive(w, timeoutMs); }

// A key pressed and released in the window of w; it goes to the window's focus widget.
inline void keyClick(QWidget *w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                     const QString &text = QString()) {
    QTest::sendKeyEvent(QTest::Click, w->window()->windowHandle(), key, text, mods);
    processEvents();
}

// Typed characters, one key each.
inline void keyClicks(QWidget *w, const QString &text) {
    for (const QChar c : text)
        keyClick(w, static_cast<Qt::Key>(c.toUpper().unicode()), Qt::NoModifier, QString(c));
}

// A left click at a point of w, in its middle unless given.
inline void mouseClick(QWidget *w, std::optional<QPoint> at = std::nullopt) {
    QWidget *top = w->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      w->mapTo(top, at.value_or(w->rect().center())));
    processEvents();
}

} // namespace uitest
