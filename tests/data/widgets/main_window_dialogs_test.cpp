// The two dialogs as the main window's button bar opens them.

#include "data/save_load.h"
#include "data/widgets/fil.h"
#include "data/widgets/indstillinger.h"
#include "platform/common_dialog.h"
#include "ui/command_button.h"
#include "ui/main_window_fixture.h"

#include <QApplication>
#include <QTimer>

using uitest::MainWindowTest;

namespace {

// Runs action on the modal window once its own event loop runs; a window of another kind is closed.
template <class Dialog> void WhenShown(std::function<void(Dialog &)> action) {
    QTimer::singleShot(0, [action] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *d = qobject_cast<Dialog *>(modal))
            action(*d);
        else if (modal)
            modal->close();
    });
}

TEST_F(MainWindowTest, LoadedProjectReachesTheLoadPageWhenTheDialogCloses) {
    auto dialogs = std::make_shared<platform::RecordingDialogs>();
    platform::setDialogService(dialogs);
    store(QStringLiteral("inddatalast"), QStringLiteral("Lasttype"), QStringLiteral("Hjultryk"));
    const QString file = folder.file(QStringLiteral("hjul.epx"));
    ASSERT_TRUE(SaveLoad::SaveInddata(modMain::cnInddata, file, 4, SaveLoad::kInputTables));
    modMain::ClearInddata();
    modMain::InitInddata();
    ChangeCheck::SaveInddataValues();
    showLoadPage();
    ASSERT_EQ(w->cmbLastType->currentText(), "<ingen last>");

    dialogs->fileAnswers.push_back(platform::FileDialogResult{file, 2});
    bool shown = false;
    WhenShown<Fil>([&shown](Fil &fil) {
        shown = true;
        fil.Command1_Click(0);
    });
    w->Command1_Click(2);
    EXPECT_TRUE(shown);
    EXPECT_EQ(w->focusWidget(), static_cast<QWidget *>(w->Command1[2]));
    EXPECT_EQ(w->cmbLastType->currentText(), "Hjultryk");
    EXPECT_FALSE(ChangeCheck::InddataChanged());
    EXPECT_TRUE(messages->shown.empty());
    platform::setDialogService(std::make_shared<platform::RecordingDialogs>());
}

TEST_F(MainWindowTest, MasterDataEditedOnTheButtonBarAreStored) {
    showLoadPage();
    bool shown = false;
    WhenShown<Indstillinger>([&shown](Indstillinger &d) {
        shown = true;
        d.txtProjektID->setText(QStringLiteral("P-9"));
        d.btnOK_Click();
    });
    w->Command1_Click(4);
    EXPECT_TRUE(shown);
    EXPECT_EQ(stored(QStringLiteral("projekt"), QStringLiteral("projektid")), engine::Variant(QStringLiteral("P-9")));
    EXPECT_TRUE(ChangeCheck::InddataChanged());
    EXPECT_TRUE(messages->shown.empty());
}

} // namespace
