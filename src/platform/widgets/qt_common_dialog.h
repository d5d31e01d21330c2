#pragma once
// The common dialog's file and printer dialogs as Qt shows them.

#include "platform/common_dialog.h"

#include <QFileDialog>
#include <memory>

class QLocale;
class QPrintDialog;
class QPrinter;
class QTranslator;
class QWidget;

namespace platform {

// The file dialog for a request, ready to exec(). Filters keep their descriptions as given; "*.*" matches
// every file, as it did on the old platform. A name typed without extension gets the default extension.
std::unique_ptr<QFileDialog> MakeFileDialog(const FileDialogRequest &request, QWidget *parent = nullptr);
// What an accepted file dialog chose.
FileDialogResult ResultOf(const QFileDialog &dialog);

// The printer dialog for the flags, ready to exec(). A PDF file stays one of the choices: printing to a file
// that the flags hide was the old dialog's raw-data option, not a printer. pdfFile, when given, is the file that
// printing to a file proposes.
std::unique_ptr<QPrintDialog> MakePrintDialog(QPrinter &printer, std::int32_t flags, const QString &pdfFile = {},
                                              QWidget *parent = nullptr);
PrinterChoice ChoiceOf(const QPrinter &printer);
// Points a printer at a choice (for the report engine).
void ApplyPrinterChoice(QPrinter &printer, const PrinterChoice &choice);

// Qt's own texts (the buttons and labels of its file and printer dialogs) in the language of the locale, from Qt's
// translations folder; installed as long as the translator lives. Null when none is installed for that language.
std::unique_ptr<QTranslator> InstallQtTranslation(const QLocale &locale);

class QtDialogService : public DialogService {
public:
    std::optional<FileDialogResult> chooseFile(const FileDialogRequest &request) override;
    std::optional<PrinterChoice> choosePrinter(std::int32_t flags, const QString &pdfFile) override;
};

} // namespace platform
