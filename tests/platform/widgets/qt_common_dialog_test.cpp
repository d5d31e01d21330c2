#include "platform/widgets/qt_common_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTranslator>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

platform::FileDialogRequest projectFileRequest(const QString &dir, bool save) {
    platform::FileDialogRequest r;
    r.save = save;
    r.title = save ? QStringLiteral("Gem inddata") : QStringLiteral("Hent inddata");
    r.filter = QStringLiteral("All Files (*.*)|*.*|Polystra files (*.epx)|*.epx");
    r.filterIndex = 2;
    r.defaultExt = QStringLiteral("epx");
    r.initDir = dir;
    r.flags = 0x200006;
    return r;
}

} // namespace

TEST(QtFileDialog, ShowsTheRequestAsGiven) {
    QTemporaryDir dir;
    auto d = platform::MakeFileDialog(projectFileRequest(dir.path(), false));
    EXPECT_EQ(d->windowTitle(), "Hent inddata");
    EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptOpen);
    // A typed name of a file that does not exist is handed back (the load then reports it).
    EXPECT_EQ(d->fileMode(), QFileDialog::AnyFile);
    EXPECT_EQ(d->defaultSuffix(), "epx");
    EXPECT_EQ(QDir(d->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
    EXPECT_EQ(d->nameFilters(),
              (QStringList{QStringLiteral("All Files (*.*) (*)"), QStringLiteral("Polystra files (*.epx) (*.epx)")}));
    EXPECT_EQ(d->selectedNameFilter(), QStringLiteral("Polystra files (*.epx)"));

    d->show();
    auto *types = d->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 2);
    EXPECT_EQ(types->itemText(0), "All Files (*.*)");
    EXPECT_EQ(types->itemText(1), "Polystra files (*.epx)");
    EXPECT_EQ(types->currentIndex(), 1);
}

TEST(QtFileDialog, FlagsDecideOverwriteQuestionAndExistence) {
    QTemporaryDir dir;
    platform::FileDialogRequest save = projectFileRequest(dir.path(), true);
    auto s = platform::MakeFileDialog(save);
    EXPECT_EQ(s->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(s->testOption(QFileDialog::DontConfirmOverwrite));
    save.flags = 0;
    EXPECT_TRUE(platform::MakeFileDialog(save)->testOption(QFileDialog::DontConfirmOverwrite));

    platform::FileDialogRequest open = projectFileRequest(dir.path(), false);
    open.flags |= platform::cdl::OFNFileMustExist;
    EXPECT_EQ(platform::MakeFileDialog(open)->fileMode(), QFileDialog::ExistingFile);
}

TEST(QtFileDialog, AcceptedNameGetsTheDefaultExtension) {
    QTemporaryDir dir;
    auto d = platform::MakeFileDialog(projectFileRequest(dir.path(), true));
    d->show();
    d->selectFile(dir.path() + QStringLiteral("/hal"));
    static_cast<QDialog *>(d.get())->accept(); // QFileDialog hides the slot it overrides
    EXPECT_EQ(d->result(), QDialog::Accepted);
    const platform::FileDialogResult r = platform::ResultOf(*d);
    EXPECT_EQ(QFileInfo(r.fileName).fileName(), "hal.epx");
    EXPECT_EQ(r.filterIndex, 2);
}

TEST(QtPrintDialog, OffersNoRangeNorSelectionButKeepsPdf) {
    QPrinter printer;
    auto d = platform::MakePrintDialog(printer, 0x10000C);
    EXPECT_FALSE(d->testOption(QAbstractPrintDialog::PrintSelection));
    EXPECT_FALSE(d->testOption(QAbstractPrintDialog::PrintPageRange));
    EXPECT_TRUE(d->testOption(QAbstractPrintDialog::PrintToFile));
    auto all = platform::MakePrintDialog(printer, 0);
    EXPECT_TRUE(all->testOption(QAbstractPrintDialog::PrintSelection));
    EXPECT_TRUE(all->testOption(QAbstractPrintDialog::PrintPageRange));
}

TEST(QtPrintDialog, PrintingToAFileTakesTheProposedFile) {
    QTemporaryDir dir;
    const QString proposed = dir.filePath(QStringLiteral("Hal 2.pdf"));
    QPrinter printer;
    auto d = platform::MakePrintDialog(printer, 0x10000C, proposed);
    d->show();
    auto *printers = d->findChild<QComboBox *>(QStringLiteral("printers"));
    ASSERT_NE(printers, nullptr);
    printers->setCurrentIndex(printers->count() - 1); // the file is the last choice
    d->accept();
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer.outputFileName(), proposed);
}

TEST(QtPrintDialog, ChoiceSurvivesTheWayToTheReportEngine) {
    QPrinter chosen;
    chosen.setOutputFormat(QPrinter::PdfFormat);
    chosen.setOutputFileName(QStringLiteral("/tmp/rapport.pdf"));
    chosen.setCopyCount(2);
    const platform::PrinterChoice choice = platform::ChoiceOf(chosen);
    EXPECT_EQ(choice.outputFile, "/tmp/rapport.pdf");
    EXPECT_EQ(choice.copies, 2);

    QPrinter used;
    platform::ApplyPrinterChoice(used, choice);
    EXPECT_EQ(used.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(used.outputFileName(), "/tmp/rapport.pdf");
    EXPECT_EQ(used.copyCount(), 2);
}

TEST(QtFileDialog, TheNameColumnHoldsALongProjectName) {
    QTemporaryDir dir;
    auto d = platform::MakeFileDialog(projectFileRequest(dir.path(), true));
    d->show();
    QApplication::processEvents();
    auto *view = d->findChild<QTreeView *>(QStringLiteral("treeView"));
    ASSERT_NE(view, nullptr);
    EXPECT_GE(view->header()->sectionSize(0),
              view->fontMetrics().horizontalAdvance(QStringLiteral("Lagerhal 2 Vejle - gulv med truckkørsel.epx")) +
                  40);
}

TEST(QtDialogTexts, DanishWhenQtHasTheTranslationEnglishOtherwise) {
    const auto fileNameLabel = [] {
        auto d = platform::MakeFileDialog(projectFileRequest(QDir::tempPath(), true));
        return d->findChild<QLabel *>(QStringLiteral("fileNameLabel"))->text();
    };
    {
        const auto danish = platform::InstallQtTranslation(QLocale(QLocale::Danish, QLocale::Denmark));
        ASSERT_NE(danish, nullptr);
        EXPECT_EQ(fileNameLabel(), "&Filnavn:");
        EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print"), "Udskriv");
    }
    EXPECT_EQ(platform::InstallQtTranslation(QLocale::c()), nullptr);
    EXPECT_EQ(fileNameLabel(), "File &name:");
}
