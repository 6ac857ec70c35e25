#pragma once
// A canvas that draws nothing and records what it was asked, with fixed metrics: every
// character advances `charWidth` (`boldCharWidth` in a bold font) unless `widths`
// names it, and every font measures `metrics`. Tests read the calls back in order.
// TRecordingCanvasSource hands out such canvases as the measuring canvas.

#include "platform/core/graphics/Canvas.h"
#include "platform/core/text/StringUtils.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

struct TRecordingMetrics {
    int charWidth = 8;
    int boldCharWidth = 8;
    TTextMetrics metrics{16, 13, 3, 3, 1, 8, 8, 0};
    // Characters with an advance of their own, in every font.
    std::map<char32_t, int> widths;
    int pixelsPerInch = 96;
    // The device's area: the clip box before any clipping.
    TRect device{0, 0, 2000, 2000};
};

// UTF-16 to UTF-8 for readable expectations.
inline std::string Utf8(std::u16string_view text) { return Utf16ToUtf8(text); }

struct TCanvasCall {
    enum Kind { Text, Fill, Rectangle, Line, Polyline, Image, IntersectClip, ExcludeClip, Save, Restore };
    Kind kind = Text;
    TRect rect;                // fill, rectangle, clip, text rectangle, image source
    bool hasRect = false;      // text: a rectangle was given
    TColor color = clNone;     // fill: the colour
    int x = 0, y = 0;          // text origin (y = baseline), image corner, line start
    int x2 = 0, y2 = 0;        // line end
    std::vector<TPoint> points;
    TTextOutOptions options = 0;
    std::u16string text;
    std::vector<int> advances; // one per code unit, empty without
    TCanvasFont font;
    TColor textColor = clNone;
    TColor backgroundColor = clNone;
    TPen pen;
    TBrush brush;
    const TBitmap* image = nullptr;

    std::string Utf8Text() const { return Utf8(text); }
    // The x where the text ends: its origin plus its advances.
    int TextRight() const
    {
        int right = x;
        for (int a : advances) {
            right += a;
        }
        return right;
    }
};

class TRecordingCanvas : public TCanvas {
public:
    explicit TRecordingCanvas(TRecordingMetrics m = {}) : measures(std::move(m)) {}

    TRecordingMetrics measures;
    std::vector<TCanvasCall> calls;
    int measurements = 0; // TextMetrics, TextWidth and CharAdvance calls

    std::vector<TCanvasCall> Calls(TCanvasCall::Kind kind) const
    {
        std::vector<TCanvasCall> out;
        for (const TCanvasCall& c : calls) {
            if (c.kind == kind) {
                out.push_back(c);
            }
        }
        return out;
    }
    std::vector<TCanvasCall> Texts() const { return Calls(TCanvasCall::Text); }
    std::vector<TCanvasCall> Fills() const { return Calls(TCanvasCall::Fill); }
    std::vector<TCanvasCall> Lines() const { return Calls(TCanvasCall::Line); }
    std::vector<TCanvasCall> Images() const { return Calls(TCanvasCall::Image); }

    int PixelsPerInch() const override { return measures.pixelsPerInch; }

    TTextMetrics TextMetrics() override
    {
        ++measurements;
        return measures.metrics;
    }
    int TextWidth(std::u16string_view text) override
    {
        ++measurements;
        int width = 0;
        for (char16_t c : text) {
            if (c < 0xDC00 || c >= 0xE000) {
                width += Advance(c);
            }
        }
        return width;
    }
    int CharAdvance(char32_t c) override
    {
        ++measurements;
        return Advance(c);
    }

    void ExtTextOut(int x, int y, TTextOutOptions options, const TRect* rect, std::u16string_view text,
                    const int* advances) override
    {
        TCanvasCall call = Make(TCanvasCall::Text);
        call.x = x;
        call.y = y;
        call.options = options;
        if (rect) {
            call.rect = *rect;
            call.hasRect = true;
        }
        call.text = std::u16string(text);
        if (advances) {
            call.advances.assign(advances, advances + text.size());
        }
        calls.push_back(std::move(call));
    }
    void FillRect(const TRect& rect, TColor color) override
    {
        TCanvasCall call = Make(TCanvasCall::Fill);
        call.rect = rect;
        call.color = color;
        calls.push_back(std::move(call));
    }
    using TCanvas::FillRect;
    void Rectangle(const TRect& rect) override
    {
        TCanvasCall call = Make(TCanvasCall::Rectangle);
        call.rect = rect;
        calls.push_back(std::move(call));
    }
    void Line(int x1, int y1, int x2, int y2) override
    {
        TCanvasCall call = Make(TCanvasCall::Line);
        call.x = x1;
        call.y = y1;
        call.x2 = x2;
        call.y2 = y2;
        calls.push_back(std::move(call));
    }
    void Polyline(std::span<const TPoint> points) override
    {
        TCanvasCall call = Make(TCanvasCall::Polyline);
        call.points.assign(points.begin(), points.end());
        calls.push_back(std::move(call));
    }
    void DrawImage(int x, int y, const TBitmap& image, const TRect& source) override
    {
        TCanvasCall call = Make(TCanvasCall::Image);
        call.x = x;
        call.y = y;
        call.rect = source;
        call.image = &image;
        calls.push_back(std::move(call));
    }

    void IntersectClipRect(const TRect& rect) override
    {
        TRect& c = clip_;
        c = TRect{std::max(c.Left, rect.Left), std::max(c.Top, rect.Top), std::min(c.Right, rect.Right),
                  std::min(c.Bottom, rect.Bottom)};
        if (c.Right < c.Left || c.Bottom < c.Top) {
            c = TRect{c.Left, c.Top, c.Left, c.Top};
        }
        TCanvasCall call = Make(TCanvasCall::IntersectClip);
        call.rect = rect;
        calls.push_back(std::move(call));
    }
    // The clip box shrinks only when the excluded rectangle takes a whole side off it.
    void ExcludeClipRect(const TRect& rect) override
    {
        TRect& c = clip_;
        const bool spansX = rect.Left <= c.Left && rect.Right >= c.Right;
        const bool spansY = rect.Top <= c.Top && rect.Bottom >= c.Bottom;
        if (spansX && rect.Top <= c.Top && rect.Bottom > c.Top) {
            c.Top = std::min(rect.Bottom, c.Bottom);
        } else if (spansX && rect.Bottom >= c.Bottom && rect.Top < c.Bottom) {
            c.Bottom = std::max(rect.Top, c.Top);
        } else if (spansY && rect.Left <= c.Left && rect.Right > c.Left) {
            c.Left = std::min(rect.Right, c.Right);
        } else if (spansY && rect.Right >= c.Right && rect.Left < c.Right) {
            c.Right = std::max(rect.Left, c.Left);
        }
        TCanvasCall call = Make(TCanvasCall::ExcludeClip);
        call.rect = rect;
        calls.push_back(std::move(call));
    }
    TRect ClipBox() const override { return clip_; }

    void SetMapping(const TCanvasMapping& mapping) override { mapping_ = mapping; }
    TCanvasMapping Mapping() const override { return mapping_; }

protected:
    void SaveDevice() override
    {
        saved_.push_back({clip_, mapping_});
        calls.push_back(Make(TCanvasCall::Save));
    }
    void RestoreDevice() override
    {
        clip_ = saved_.back().clip;
        mapping_ = saved_.back().mapping;
        saved_.pop_back();
        calls.push_back(Make(TCanvasCall::Restore));
    }

private:
    struct TDeviceState {
        TRect clip;
        TCanvasMapping mapping;
    };

    int Advance(char32_t c) const
    {
        auto it = measures.widths.find(c);
        if (it != measures.widths.end()) {
            return it->second;
        }
        return (Font().style & TFont::fsBold) != 0 ? measures.boldCharWidth : measures.charWidth;
    }
    TCanvasCall Make(TCanvasCall::Kind kind) const
    {
        TCanvasCall call;
        call.kind = kind;
        call.font = Font();
        call.textColor = TextColor();
        call.backgroundColor = BackgroundColor();
        call.pen = Pen();
        call.brush = Brush();
        return call;
    }

    TRect clip_ = measures.device;
    TCanvasMapping mapping_;
    std::vector<TDeviceState> saved_;
};

// Measuring canvases for code that asks for one (the font stock); counts them.
class TRecordingCanvasSource : public IMeasuringCanvasSource {
public:
    explicit TRecordingCanvasSource(TRecordingMetrics m = {}) : measures(std::move(m)) {}
    TRecordingMetrics measures;
    int created = 0;
    std::unique_ptr<TCanvas> CreateMeasuringCanvas() override
    {
        ++created;
        return std::make_unique<TRecordingCanvas>(measures);
    }
};

} // namespace testsupport
