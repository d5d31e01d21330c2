#pragma once
// The common dialog of the old platform: file open and save, printer choice and help, with the properties the
// program sets on it. The dialogs themselves come from one replaceable service: Qt dialogs in the program,
// a recording fake in tests.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace platform {

// The error a cancelled dialog raises when CancelError is set.
inline constexpr std::int32_t kCancelError = 32755;

// Flags the program passes (the old dialog's published values).
namespace cdl {
inline constexpr std::int32_t OFNOverwritePrompt = 0x2;
inline constexpr std::int32_t OFNHideReadOnly = 0x4;
inline constexpr std::int32_t OFNFileMustExist = 0x1000;
inline constexpr std::int32_t OFNLongNames = 0x200000;
inline constexpr std::int32_t PDNoSelection = 0x4;
inline constexpr std::int32_t PDNoPageNums = 0x8;
inline constexpr std::int32_t PDHidePrintToFile = 0x100000;
inline constexpr std::int32_t HelpContents = 3; // HelpCommand
} // namespace cdl

// One entry of a filter text "description|patterns|description|patterns", patterns separated by ";".
struct FileFilter {
    QString description;
    QStringList patterns;
    bool operator==(const FileFilter &) const = default;
};
std::vector<FileFilter> ParseFilter(const QString &filter);

struct FileDialogRequest {
    bool save = false;
    QString title;
    QString filter;
    int filterIndex = 1; // 1-based, as the property counts
    QString defaultExt;
    QString initDir;
    QString fileName;
    std::int32_t flags = 0;
};

struct FileDialogResult {
    QString fileName; // the chosen file's full path
    int filterIndex = 1;
};

// Where a report goes: a printer by name (empty: the system's default printer) or, when outputFile is set,
// a PDF file.
struct PrinterChoice {
    QString printerName;
    QString outputFile;
    int copies = 1;
    bool operator==(const PrinterChoice &) const = default;
};

class DialogService {
public:
    virtual ~DialogService() = default;
    // Empty when the user cancels.
    virtual std::optional<FileDialogResult> chooseFile(const FileDialogRequest &request) = 0;
    // pdfFile, when given, is the file proposed for printing to a file.
    virtual std::optional<PrinterChoice> choosePrinter(std::int32_t flags, const QString &pdfFile) = 0;
};

DialogService &dialogs();
void setDialogService(std::shared_ptr<DialogService> service);

// The printer the last printer dialog chose, as the old platform's default printer: the report engine prints
// there. Before any choice: the system's default printer.
const PrinterChoice &CurrentPrinter();
void SetCurrentPrinter(const PrinterChoice &choice);

class CommonDialog {
public:
    bool CancelError = false;
    std::int32_t Flags = 0;
    QString Filter;
    int FilterIndex = 1;
    QString DefaultExt;
    QString InitDir;
    QString DialogTitle;
    QString FileName;
    QString HelpFile;
    std::int32_t HelpCommand = 0;

    // On a choice FileName and FilterIndex take the user's; on cancel they stay, and with CancelError set the
    // dialog raises kCancelError.
    void ShowOpen();
    void ShowSave();
    // On a choice the printer becomes CurrentPrinter(); cancel as above. FileName is the file proposed for printing
    // to a file.
    void ShowPrinter();
    // Opens HelpFile at its contents; the program asks for nothing else (another HelpCommand raises 5).
    void ShowHelp();

private:
    void showFile(bool save);
};

} // namespace platform
