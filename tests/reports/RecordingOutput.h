#pragma once
// A report output for unit tests: records what would have been printed and answers as planned.

#include "reports/Report.h"

#include <string>
#include <vector>

namespace derode::test {

class RecordingOutput : public reports::ReportOutput {
public:
    RecordingOutput() { reports::setReportOutput(this); }
    ~RecordingOutput() override { reports::setReportOutput(nullptr); }

    const reports::TextMeasurer& measurer() const override { return measurer_; }
    bool print(const reports::LaidOutReport& report, int copies, const std::string& title) override
    {
        ++calls;
        last = report;
        lastCopies = copies;
        lastTitle = title;
        return answer;
    }

    // Every text drawn, page after page.
    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const auto& page : last.pages)
            for (const auto& op : page.ops)
                if (const auto* t = std::get_if<reports::TextOp>(&op))
                    out.push_back(t->text);
        return out;
    }
    bool drew(const std::string& text) const
    {
        for (const auto& t : texts())
            if (t == text)
                return true;
        return false;
    }

    bool answer = true;
    int calls = 0;
    int lastCopies = 0;
    std::string lastTitle;
    reports::LaidOutReport last;

private:
    reports::FixedWidthMeasurer measurer_;
};

}  // namespace derode::test
