#pragma once
// The text of a PDF file as pdftotext reads it, with the page layout kept.

#include <QProcess>
#include <QString>

namespace testsupport {

// Empty when pdftotext fails or the file is no PDF.
inline QString PdfText(const QString &pdfFile) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdfFile, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace testsupport
