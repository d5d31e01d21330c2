#include "platform/widgets/qt_common_dialog.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QSplitter>
#include <QTranslator>
#include <QTreeView>

namespace platform {

namespace {
// Qt reads a filter's patterns from its last parentheses and hides them from the list when asked, so each
// description is shown exactly as the program wrote it.
QStringList qtFilters(const QString &filter) {
    QStringList out;
    for (const FileFilter &f : ParseFilter(filter)) {
        QStringList patterns;
        for (const QString &p : f.patterns)
            patterns << (p == QLatin1String("*.*") ? QStringLiteral("*") : p);
        out << QStringLiteral("%1 (%2)").arg(f.description, patterns.join(QLatin1Char(' ')));
    }
    return out;
}
// Qt sizes the list's columns for short names and cuts longer ones in the middle: the name column takes the room the
// others leave, and they are as wide as what they show.
void ShowWholeNames(QFileDialog &dialog) {
    dialog.resize(dialog.fontMetrics().averageCharWidth() * 150, dialog.fontMetrics().height() * 30);
    if (auto *view = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        QHeaderView *header = view->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
    if (auto *splitter = dialog.findChild<QSplitter *>(QStringLiteral("splitter")))
        splitter->setSizes({dialog.width() / 6, dialog.width() * 5 / 6});
}

} // namespace

std::unique_ptr<QFileDialog> MakeFileDialog(const FileDialogRequest &request, QWidget *parent) {
    auto dialog = std::make_unique<QFileDialog>(parent);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setWindowTitle(request.title);
    dialog->setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (request.save)
        dialog->setFileMode(QFileDialog::AnyFile);
    else
        dialog->setFileMode((request.flags & cdl::OFNFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, !(request.flags & cdl::OFNOverwritePrompt));
    const QStringList filters = qtFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog->setNameFilters(filters);
        const int index = request.filterIndex >= 1 && request.filterIndex <= filters.size() ? request.filterIndex : 1;
        dialog->selectNameFilter(filters[index - 1]);
    }
    dialog->setDefaultSuffix(request.defaultExt);
    if (!request.initDir.isEmpty())
        dialog->setDirectory(request.initDir);
    if (!request.fileName.isEmpty())
        dialog->selectFile(request.fileName);
    ShowWholeNames(*dialog);
    return dialog;
}

FileDialogResult ResultOf(const QFileDialog &dialog) {
    FileDialogResult result;
    const QStringList files = dialog.selectedFiles();
    if (!files.isEmpty())
        result.fileName = files.front();
    // With the patterns hidden the dialog names the chosen filter by its description alone.
    const QString chosen = dialog.selectedNameFilter();
    const QStringList filters = dialog.nameFilters();
    for (qsizetype i = 0; i < filters.size(); ++i) {
        const QString description = filters[i].left(filters[i].lastIndexOf(QLatin1Char('('))).trimmed();
        if (filters[i] == chosen || description == chosen)
            result.filterIndex = static_cast<int>(i) + 1;
    }
    return result;
}

std::unique_ptr<QPrintDialog> MakePrintDialog(QPrinter &printer, std::int32_t flags, const QString &pdfFile,
                                              QWidget *parent) {
    auto dialog = std::make_unique<QPrintDialog>(&printer, parent);
    // Qt would propose print.pdf in the home folder; its dialog has no other way to be told.
    if (auto *file = dialog->findChild<QLineEdit *>(QStringLiteral("filename")); file && !pdfFile.isEmpty())
        file->setText(QDir::toNativeSeparators(pdfFile));
    dialog->setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog->setOption(QAbstractPrintDialog::PrintSelection, !(flags & cdl::PDNoSelection));
    dialog->setOption(QAbstractPrintDialog::PrintPageRange, !(flags & cdl::PDNoPageNums));
    dialog->setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog;
}

PrinterChoice ChoiceOf(const QPrinter &printer) {
    PrinterChoice choice;
    if (printer.outputFormat() == QPrinter::PdfFormat)
        choice.outputFile = printer.outputFileName();
    else
        choice.printerName = printer.printerName();
    choice.copies = printer.copyCount();
    return choice;
}

void ApplyPrinterChoice(QPrinter &printer, const PrinterChoice &choice) {
    if (!choice.outputFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(choice.outputFile);
    } else {
        printer.setOutputFormat(QPrinter::NativeFormat);
        if (!choice.printerName.isEmpty())
            printer.setPrinterName(choice.printerName);
    }
    printer.setCopyCount(choice.copies);
}

std::unique_ptr<QTranslator> InstallQtTranslation(const QLocale &locale) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator.get()))
        return nullptr;
    return translator;
}

std::optional<FileDialogResult> QtDialogService::chooseFile(const FileDialogRequest &request) {
    auto dialog = MakeFileDialog(request, QApplication::activeWindow());
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    return ResultOf(*dialog);
}

std::optional<PrinterChoice> QtDialogService::choosePrinter(std::int32_t flags, const QString &pdfFile) {
    QPrinter printer(QPrinter::HighResolution);
    ApplyPrinterChoice(printer, CurrentPrinter());
    auto dialog = MakePrintDialog(printer, flags, pdfFile, QApplication::activeWindow());
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    return ChoiceOf(printer);
}

} // namespace platform
