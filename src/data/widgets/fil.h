#pragma once
// Fil: the small modal dialog from which the user saves the input to a project file or loads one into the
// input. It hides itself after each action; the main window then binds its pages to the input anew.

#include "platform/common_dialog.h"

#include <QDialog>
#include <QPointer>
#include <array>
#include <cstdint>

class QGroupBox;

namespace ui {
class CommandButton;
}

class Fil : public QDialog {
    Q_OBJECT
public:
    // The file dialog outlives the window, as the form stayed loaded for the whole run: its file name
    // carries over to the next showing. returnFocus takes the focus when the dialog hides itself.
    Fil(QWidget *parent, platform::CommonDialog &commonDialog, QWidget *returnFocus);
    ~Fil() override;

    // Statement number of the running procedure of this window.
    std::int32_t LogNr = 0;

    // 0 loads a project file, 1 saves the input, 2 closes; other indices do nothing.
    void Command1_Click(int Index);

    QGroupBox *Frame1;
    std::array<ui::CommandButton *, 3> Command1{};
    platform::CommonDialog &CommonDialog1;

private:
    void Load();
    void Save();
    void Close();
    // The mouse pointer as an hourglass while a file loads.
    void Hourglass(bool on);

    QPointer<QWidget> returnFocus_;
    bool hourglass_ = false;
};
