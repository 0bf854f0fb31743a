// A print device for tests: fixed metrics (96 pixels per inch, Letter paper, no offset) and a
// record of every job and page with what was drawn on it.
#pragma once

#include "richtext/layout/FixedCanvas.h"
#include "richtext/layout/PrintDevice.h"

#include <string>
#include <vector>

namespace quillory {

struct RecordedPage {
    std::vector<FixedCanvas::TextCall> texts;
    std::vector<std::string> calls;
    // All drawn text joined with '|'.
    std::string text() const
    {
        std::string all;
        for (const auto& call : texts)
            all += (all.empty() ? "" : "|") + call.text;
        return all;
    }
};

struct RecordedJob {
    std::string title;
    std::vector<RecordedPage> pages;
    bool ended = false;
    bool aborted = false;
};

// A fixed canvas that records text where it lands on the page, the transform applied.
class PageCanvas : public FixedCanvas {
public:
    using FixedCanvas::FixedCanvas;
    void setTransform(double scaleX, double scaleY, int offsetX, int offsetY) override
    {
        FixedCanvas::setTransform(scaleX, scaleY, offsetX, offsetY);
        scaleX_ = scaleX;
        scaleY_ = scaleY;
        offsetX_ = offsetX;
        offsetY_ = offsetY;
    }
    void drawText(int x, int baseline, std::string_view text, std::span<const int> advances, RGBColor color) override
    {
        FixedCanvas::drawText(int(x * scaleX_) + offsetX_, int(baseline * scaleY_) + offsetY_, text, advances, color);
    }
    void drawShapedText(int x, int baseline, std::string_view text, bool rightToLeft, RGBColor color) override
    {
        FixedCanvas::drawShapedText(int(x * scaleX_) + offsetX_, int(baseline * scaleY_) + offsetY_, text, rightToLeft,
                                    color);
    }

private:
    double scaleX_ = 1;
    double scaleY_ = 1;
    int offsetX_ = 0;
    int offsetY_ = 0;
};

class RecordingDevice : public PrintDevice {
public:
    PrinterMetrics metrics() const override { return {96, 96, 0, 0, 816, 1056}; }
    Canvas& measuringCanvas() override { return measuring_; }
    bool beginJob(const std::string& title) override
    {
        if (refuse)
            return false;
        jobs.push_back({title, {RecordedPage{}}, false, false});
        canvas_.reset();
        return true;
    }
    Canvas& canvas() override { return canvas_; }
    bool newPage() override
    {
        Keep();
        jobs.back().pages.emplace_back();
        return true;
    }
    bool endJob() override
    {
        Keep();
        jobs.back().ended = true;
        return true;
    }
    void abortJob() override
    {
        if (!jobs.empty() && !jobs.back().ended)
            jobs.back().aborted = true;
    }
    std::string lastError() const override { return refuse ? "The printer is out of paper" : ""; }

    bool refuse = false;
    std::vector<RecordedJob> jobs;

private:
    void Keep()
    {
        RecordedPage& page = jobs.back().pages.back();
        page.texts.insert(page.texts.end(), canvas_.texts().begin(), canvas_.texts().end());
        page.calls.insert(page.calls.end(), canvas_.calls().begin(), canvas_.calls().end());
        canvas_.reset();
    }

    FixedCanvas measuring_{96};
    PageCanvas canvas_{96};
};

} // namespace quillory
