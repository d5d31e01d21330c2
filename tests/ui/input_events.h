#pragma once
// Real key and mouse events for the window tests: they enter Qt where the window system's events do
// (shortcuts and access keys included) and reach the focus widget or the widget under the mouse.

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <QWindow>

// Qt's own entry points for synthetic window-system events.
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow *w, QEvent::Type t, int k, Qt::KeyboardModifiers mods,
                                    const QString &text = QString(), bool autorep = false, ushort count = 1);
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow *window, const QPointF &local, const QPointF &global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);

namespace uitest {

inline void processEvents() { QApplication::processEvents(); }

inline void wait(int ms) {
    QElapsedTimer timer;
    timer.start();
    do {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    } while (timer.elapsed() < ms);
}

inline bool waitForWindowActive(QWidget *w, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!w->isActiveWindow() && timer.elapsed() < timeoutMs)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return w->isActiveWindow();
}

// A key pressed and released in the window of w; it goes to the window's focus widget.
inline void keyClick(QWidget *w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                     const QString &text = QString()) {
    QPointer<QWindow> window = w->window()->windowHandle();
    qt_handleKeyEvent(window, QEvent::KeyPress, key, mods, text);
    processEvents();
    if (window)
        qt_handleKeyEvent(window, QEvent::KeyRelease, key, mods, text);
    processEvents();
}

// Typed characters, one key each.
inline void keyClicks(QWidget *w, const QString &text) {
    for (const QChar c : text)
        keyClick(w, static_cast<Qt::Key>(c.toUpper().unicode()), Qt::NoModifier, QString(c));
}

// A left click in the middle of w.
inline void mouseClick(QWidget *w) {
    static int timestamp = 1000;
    QWidget *top = w->window();
    const QPointF local = w->mapTo(top, w->rect().center());
    const QPointF global = top->mapToGlobal(local);
    QPointer<QWindow> window = top->windowHandle();
    qt_handleMouseEvent(window, local, global, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress, Qt::NoModifier,
                        timestamp);
    processEvents();
    if (window)
        qt_handleMouseEvent(window, local, global, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease,
                            Qt::NoModifier, timestamp);
    timestamp += 1000; // never a double click
    processEvents();
}

} // namespace uitest
