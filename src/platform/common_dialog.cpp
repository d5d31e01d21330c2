#include "platform/common_dialog.h"

#include "engine/errors.h"
#include "platform/help_viewer.h"

namespace platform {

namespace {
// Until the program installs its dialogs, every dialog is cancelled.
class NoDialogs : public DialogService {
public:
    std::optional<FileDialogResult> chooseFile(const FileDialogRequest &) override { return std::nullopt; }
    std::optional<PrinterChoice> choosePrinter(std::int32_t, const QString &) override { return std::nullopt; }
};

std::shared_ptr<DialogService> &current() {
    static std::shared_ptr<DialogService> service = std::make_shared<NoDialogs>();
    return service;
}

PrinterChoice &currentPrinter() {
    static PrinterChoice choice;
    return choice;
}

[[noreturn]] void raiseCancel() { engine::raise(kCancelError, QStringLiteral("Cancel was selected.")); }
} // namespace

std::vector<FileFilter> ParseFilter(const QString &filter) {
    std::vector<FileFilter> out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &p : patterns)
            p = p.trimmed();
        out.push_back({parts[i], patterns});
    }
    return out;
}

DialogService &dialogs() { return *current(); }

void setDialogService(std::shared_ptr<DialogService> service) { current() = std::move(service); }

const PrinterChoice &CurrentPrinter() { return currentPrinter(); }

void SetCurrentPrinter(const PrinterChoice &choice) { currentPrinter() = choice; }

void CommonDialog::showFile(bool save) {
    FileDialogRequest request;
    request.save = save;
    request.title = DialogTitle;
    request.filter = Filter;
    request.filterIndex = FilterIndex;
    request.defaultExt = DefaultExt;
    request.initDir = InitDir;
    request.fileName = FileName;
    request.flags = Flags;
    const std::optional<FileDialogResult> result = dialogs().chooseFile(request);
    if (!result) {
        if (CancelError)
            raiseCancel();
        return;
    }
    FileName = result->fileName;
    FilterIndex = result->filterIndex;
}

void CommonDialog::ShowOpen() { showFile(false); }

void CommonDialog::ShowSave() { showFile(true); }

void CommonDialog::ShowPrinter() {
    const std::optional<PrinterChoice> choice = dialogs().choosePrinter(Flags, FileName);
    if (!choice) {
        if (CancelError)
            raiseCancel();
        return;
    }
    SetCurrentPrinter(*choice);
}

void CommonDialog::ShowHelp() {
    if (HelpCommand != cdl::HelpContents)
        engine::raise(engine::err::InvalidProcedureCall);
    ShowHelpContents(HelpFile);
}

} // namespace platform
