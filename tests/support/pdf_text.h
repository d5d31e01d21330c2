#pragma once
// The text of a PDF file as pdftotext reads it, with the page layout kept, and where its words lie.

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <algorithm>
#include <vector>

namespace testsupport {

// Empty when pdftotext fails or the file is no PDF.
inline QString PdfText(const QString &pdfFile, const QString &mode = QStringLiteral("-layout")) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {mode, QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdfFile, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The space in points between a word (its first occurrence) and the lowest text above it on its page; -1 if none.
inline double SpaceAbove(const QString &pdfFile, const QString &word) {
    static const QRegularExpression box(
        QStringLiteral("yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"([0-9.]+)\">([^<]*)<"));
    for (const QString &page : PdfText(pdfFile, QStringLiteral("-bbox")).split(QStringLiteral("<page "))) {
        std::vector<std::pair<double, double>> lines; // yMin, yMax of each word
        double top = -1;
        for (auto it = box.globalMatch(page); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            lines.emplace_back(m.captured(1).toDouble(), m.captured(2).toDouble());
            if (top < 0 && m.captured(3) == word)
                top = lines.back().first;
        }
        if (top < 0)
            continue;
        double above = -1;
        for (const auto &[yMin, yMax] : lines)
            if (yMax <= top)
                above = std::max(above, yMax);
        return above < 0 ? -1 : top - above;
    }
    return -1;
}

} // namespace testsupport
