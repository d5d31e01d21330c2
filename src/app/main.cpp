#include "data/connections.h"
#include "data/modmain.h"
#include "platform/widgets/qt_common_dialog.h"
#include "platform/widgets/qt_help_viewer.h"
#include "platform/widgets/qt_message_box.h"
#include "platform/widgets/qt_report_engine.h"
#include "ui/frm_main.h"

#include <QApplication>
#include <QLocale>
#include <QTranslator>
#include <clocale>
#include <memory>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    // QApplication takes the regional settings for every C function; numbers in files stay in the C form.
    std::setlocale(LC_NUMERIC, "C");
    // Without a translation for the regional settings Qt's dialogs stay in English.
    const auto qtTexts = platform::InstallQtTranslation(QLocale::system());
    platform::setMessageService(std::make_shared<platform::QtMessageService>());
    platform::setDialogService(std::make_shared<platform::QtDialogService>());
    platform::setHelpService(std::make_shared<platform::QtHelpViewer>());
    platform::setReportService(std::make_shared<platform::QtReportService>([] { return modMain::cnInddata; }));

    std::unique_ptr<frmMain> window;
    modMain::ShowMainWindow = [&window] {
        window = std::make_unique<frmMain>();
        // A help window left open does not keep the program running.
        QObject::connect(window.get(), &frmMain::unloaded, &QCoreApplication::quit);
        window->show();
    };
    if (!modMain::Main(QCoreApplication::applicationDirPath()))
        return 1;
    const int status = app.exec();
    window.reset();
    // The help window must go before the application does.
    platform::setHelpService(std::make_shared<platform::RecordingHelp>());
    return status;
}
