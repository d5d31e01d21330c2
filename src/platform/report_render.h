#pragma once
// Printing a report definition: its fields are read from the working database, its body is laid out as a
// rich-text document and painted page by page, with the header and footer bands, onto a paged device
// (a printer or a PDF file).

#include "engine/engine.h"
#include "platform/report_definition.h"

#include <QLocale>
#include <QString>
#include <cstdint>

class QPagedPaintDevice;

namespace platform::report {

// A definition with its fields filled in: the body as HTML, the bands as texts in which only the page
// fields ({side}, {sider}) are left.
struct FilledReport {
    Page page;
    QString html;
};

// Reads the fields from cn; a table or field that the database lacks raises its engine::RuntimeError.
FilledReport Fill(const Definition &definition, const engine::Connection &cn, const QLocale &locale);

// Lays out and paints the report; the device takes the definition's paper, orientation and margins.
// Returns kPrinted, kNoPrinter when the device cannot be opened, or kPrintFailed.
std::int16_t Paint(const FilledReport &report, QPagedPaintDevice &device);

// The whole print of a definition file (its name is found without regard to case), in the regional settings.
std::int16_t PrintDefinition(const QString &definitionFile, const engine::Connection &cn, QPagedPaintDevice &device);

} // namespace platform::report
