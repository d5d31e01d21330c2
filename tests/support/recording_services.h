#pragma once
// Fakes of the dialog and report services: they record what the program asks for and answer from queues.

#include "platform/common_dialog.h"
#include "platform/report_engine.h"

#include <vector>

namespace testsupport {

// Answers are consumed from the front; an empty queue answers cancel.
class RecordingDialogs : public platform::DialogService {
public:
    std::vector<platform::FileDialogRequest> fileRequests;
    std::vector<std::int32_t> printerRequests;
    std::vector<QString> printerFiles;
    std::vector<std::optional<platform::FileDialogResult>> fileAnswers;
    std::vector<std::optional<platform::PrinterChoice>> printerAnswers;
    std::optional<platform::FileDialogResult> chooseFile(const platform::FileDialogRequest &request) override {
        fileRequests.push_back(request);
        return takeFront(fileAnswers);
    }
    std::optional<platform::PrinterChoice> choosePrinter(std::int32_t flags, const QString &pdfFile) override {
        printerRequests.push_back(flags);
        printerFiles.push_back(pdfFile);
        return takeFront(printerAnswers);
    }

private:
    template <typename T> static std::optional<T> takeFront(std::vector<std::optional<T>> &queue) {
        if (queue.empty() || !queue.front().has_value()) {
            if (!queue.empty())
                queue.erase(queue.begin());
            return std::nullopt;
        }
        T answer = std::move(*queue.front());
        queue.erase(queue.begin());
        return answer;
    }
};

// Statuses are consumed from the front; 0 (printed) when none is left.
class RecordingReports : public platform::ReportService {
public:
    std::vector<QString> printed;
    std::vector<std::int16_t> statuses;
    std::int16_t printReport(const QString &definitionFile) override {
        printed.push_back(definitionFile);
        if (statuses.empty())
            return platform::report::kPrinted;
        const std::int16_t status = statuses.front();
        statuses.erase(statuses.begin());
        return status;
    }
};

} // namespace testsupport
