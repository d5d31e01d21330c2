#include "kit/controls.h"

#include <QLineEdit>

namespace ui {

void SetListText(QComboBox *list, const QString &text) {
    const int index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index != list->currentIndex())
        list->setCurrentIndex(index);
    if (list->currentText() != text)
        list->setEditText(text);
}

QStringList ListEntries(const QComboBox *list) {
    QStringList entries;
    entries.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        entries.push_back(list->itemText(i));
    return entries;
}

} // namespace ui
