#pragma once
// Small helpers for the controls of the program's windows, in the terms the window procedures use.

#include <QComboBox>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace ui {

// A control's own Visible property: true when it is not hidden itself and no frame around it is hidden,
// whether or not the window is on the screen yet.
inline bool Visible(const QWidget *w) { return w->isVisibleTo(w->window()); }

// The text of a pick list (its edit line).
inline QString ListText(const QComboBox *list) { return list->currentText(); }

// Sets a pick list's text; the list's selection follows when the text is one of its entries (case counts).
void SetListText(QComboBox *list, const QString &text);

// The entries of a pick list in their order.
QStringList ListEntries(const QComboBox *list);

// Window positions are given in twips, 15 to a pixel.
constexpr int kTwipsPerPixel = 15;
// Converts a length in twips to whole pixels.
constexpr int Twips(int twips) { return (twips + 7) / kTwipsPerPixel; }

// Sets a control's position and size, given in twips.
inline void Place(QWidget *w, int left, int top, int width, int height) {
    w->setGeometry(Twips(left), Twips(top), Twips(width), Twips(height));
}

} // namespace ui
