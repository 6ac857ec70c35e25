#include "editor/painting/CodeTextDrawer.h"

#include "platform/core/Assert.h"
#include "platform/core/graphics/SystemColors.h"

#include <algorithm>
#include <cstdlib>

namespace {
const char* const kBaseFontMissing = "SetBaseFont: 'Value' must be specified.";
}

// --- TheFontsInfoManager ---------------------------------------------------------------

TheFontsInfoManager& GetFontsInfoManager()
{
    static TheFontsInfoManager manager;
    return manager;
}

// Records still referenced when the process ends belong to stocks that outlive it;
// they are freed with the manager.
TheFontsInfoManager::~TheFontsInfoManager() = default;

void TheFontsInfoManager::LockFontsInfo(TheSharedFontsInfo* info)
{
    KP_ASSERT(info != nullptr);
    ++info->lockCount;
}

void TheFontsInfoManager::UnlockFontsInfo(TheSharedFontsInfo* info)
{
    KP_ASSERT(info != nullptr && info->lockCount > 0);
    if (--info->lockCount == 0) {
        for (TheFontData& data : info->fontsData) {
            data.created = false;
            data.handle = TCanvasFont{};
        }
    }
}

TheSharedFontsInfo* TheFontsInfoManager::GetFontsInfo(const TCodeEditFont& font, const TCanvasFont& description)
{
    for (const auto& record : records_) {
        if (record->description == description) {
            ++record->refCount;
            return record.get();
        }
    }
    auto record = std::make_unique<TheSharedFontsInfo>();
    record->refCount = 1;
    record->baseFont.Assign(&font);
    record->description = description;
    records_.push_back(std::move(record));
    return records_.back().get();
}

void TheFontsInfoManager::ReleaseFontsInfo(TheSharedFontsInfo* info)
{
    KP_ASSERT(info != nullptr);
    if (info->refCount >= 2) {
        --info->refCount;
        return;
    }
    KP_ASSERT_MSG(info->lockCount == 0, "Call DeactivateFontsInfo before calling this.");
    auto it = std::find_if(records_.begin(), records_.end(), [info](const auto& r) { return r.get() == info; });
    KP_ASSERT(it != records_.end());
    records_.erase(it);
}

// --- TheFontStock ------------------------------------------------------------------------

TheFontStock::TheFontStock(const TCodeEditFont* baseFont) { SetBaseFont(baseFont); }

TheFontStock::~TheFontStock()
{
    ReleaseFontHandles();
    if (info_) {
        GetFontsInfoManager().ReleaseFontsInfo(info_);
    }
}

TCanvas& TheFontStock::InternalGetDC()
{
    if (dcRefCount_ == 0) {
        dc_ = CreateMeasuringCanvas();
        if (!dc_) {
            throw EheFontStockException("No canvas to measure fonts on: the measuring canvas is not installed.");
        }
    }
    ++dcRefCount_;
    return *dc_;
}

void TheFontStock::InternalReleaseDC()
{
    KP_ASSERT(dcRefCount_ > 0);
    if (--dcRefCount_ == 0) {
        dc_.reset();
    }
}

TCanvasFont TheFontStock::InternalCreateFont(TFontStyles style) const
{
    TCanvasFont font = description_;
    font.style = style & (fsBold | fsItalic | fsUnderline | fsStrikeOut);
    return font;
}

void TheFontStock::CalcFontAdvance(TCanvas& canvas, TheFontData& data) const
{
    const TTextMetrics metrics = canvas.TextMetrics();
    data.charAdvance = canvas.CharAdvance(U'M') + metrics.overhang;
    data.charHeight = std::abs(metrics.height);
    data.ascent = metrics.ascent;
    data.averageWidth = metrics.averageCharWidth;
    data.maximumWidth = metrics.maxCharWidth;
    // No face here has the double-byte character set the grid would need a second
    // advance for.
    data.doubleByteAdvance = NoDoubleByteAdvance;
}

void TheFontStock::SetBaseFont(const TCodeEditFont* font)
{
    if (!font) {
        throw EheFontStockException(kBaseFontMissing);
    }
    if (pixelsPerInch_ == 0) {
        pixelsPerInch_ = InternalGetDC().PixelsPerInch();
        InternalReleaseDC();
    }
    const TCanvasFont description =
        CanvasFont(font->Name().toStdString(), font->Size(), font->Style() & fsBold, pixelsPerInch_);
    TheFontsInfoManager& manager = GetFontsInfoManager();
    TheSharedFontsInfo* info = manager.GetFontsInfo(*font, description);
    if (info == info_) {
        manager.ReleaseFontsInfo(info);
        return;
    }
    ReleaseFontHandles();
    if (info_) {
        manager.ReleaseFontsInfo(info_);
    }
    info_ = info;
    description_ = info->description;
    currentData_ = nullptr;
    SetStyle(font->Style());
}

void TheFontStock::SetStyle(TFontStyles style)
{
    KP_ASSERT(style <= MaxFontStyleIndex);
    KP_ASSERT(info_ != nullptr);
    if (!usingFontHandles_) {
        GetFontsInfoManager().LockFontsInfo(info_);
        usingFontHandles_ = true;
    }
    style_ = style;
    TheFontData& data = info_->fontsData[style];
    if (&data == currentData_) {
        return;
    }
    if (!data.created) {
        TheFontData made;
        made.handle = InternalCreateFont(style);
        TCanvas& dc = InternalGetDC();
        dc.SetFont(made.handle);
        try {
            CalcFontAdvance(dc, made);
        } catch (...) {
            InternalReleaseDC();
            throw;
        }
        InternalReleaseDC();
        made.created = true;
        data = made;
    }
    currentData_ = &data;
    currentFont_ = data.handle;
    currentAdvance_ = data.charAdvance;
}

int TheFontStock::GetCharHeight() const { return currentData_ ? currentData_->charHeight : 0; }

int TheFontStock::GetDoubleByteAdvance() const
{
    return currentData_ ? currentData_->doubleByteAdvance : NoDoubleByteAdvance;
}

int TheFontStock::GetAscent() const { return currentData_ ? currentData_->ascent : 0; }

const TheFontData& TheFontStock::GetFontData(int index) const
{
    KP_ASSERT(info_ != nullptr && index >= 0 && index <= MaxFontStyleIndex);
    return info_->fontsData[static_cast<std::size_t>(index)];
}

void TheFontStock::ReleaseFontHandles()
{
    if (usingFontHandles_) {
        usingFontHandles_ = false;
        currentData_ = nullptr;
        GetFontsInfoManager().UnlockFontsInfo(info_);
    }
}

// --- TheTextDrawer -------------------------------------------------------------------------

TheTextDrawer::TheTextDrawer(TFontStyles calcExtentBaseStyle, const TCodeEditFont* baseFont)
    : calcExtentBaseStyle_(calcExtentBaseStyle)
{
    if (!baseFont) {
        throw EheTextDrawerException(kBaseFontMissing);
    }
    stock_ = std::make_unique<TheFontStock>(baseFont);
    SetBaseFont(baseFont);
}

TheTextDrawer::~TheTextDrawer() = default;

int TheTextDrawer::GetAverageCharWidth() const { return stock_->GetFontData(calcExtentBaseStyle_).averageWidth; }
int TheTextDrawer::GetMaximumCharWidth() const { return stock_->GetFontData(calcExtentBaseStyle_).maximumWidth; }

void TheTextDrawer::ApplyBaseStyle()
{
    stock_->SetStyle(calcExtentBaseStyle_);
    baseCharWidth_ = stock_->GetCharAdvance();
    baseCharHeight_ = stock_->GetCharHeight();
}

void TheTextDrawer::SetBaseFont(const TCodeEditFont* font)
{
    if (!font) {
        throw EheTextDrawerException(kBaseFontMissing);
    }
    ReleaseETODist();
    stock_->SetBaseFont(font);
    baseFont_.Assign(font);
    ApplyBaseStyle();
    SetStyle(font->Style());
}

void TheTextDrawer::SetBaseStyle(TFontStyles style)
{
    if (style == calcExtentBaseStyle_) {
        return;
    }
    calcExtentBaseStyle_ = style;
    ReleaseETODist();
    const TFontStyles current = stock_->Style();
    ApplyBaseStyle();
    SetStyle(current);
}

void TheTextDrawer::SetStyle(TFontStyles style)
{
    stock_->SetStyle(style);
    AfterStyleSet();
}

void TheTextDrawer::AfterStyleSet()
{
    if (canvas_) {
        canvas_->SetFont(stock_->FontHandle());
    }
}

void TheTextDrawer::SetForeColor(TColor color)
{
    if (color == foreColor_) {
        return;
    }
    foreColor_ = color;
    if (canvas_) {
        canvas_->SetTextColor(ResolveSystemColor(color));
    }
}

void TheTextDrawer::SetBackColor(TColor color)
{
    if (color == backColor_) {
        return;
    }
    backColor_ = color;
    if (canvas_) {
        canvas_->SetBackgroundColor(ResolveSystemColor(color));
    }
}

// The canvas has no spacing of its own: the extra pixels go into every advance.
void TheTextDrawer::SetCharExtra(int pixels)
{
    if (pixels == charExtra_) {
        return;
    }
    charExtra_ = pixels;
    ReleaseETODist();
}

void TheTextDrawer::BeginDrawing(TCanvas& canvas)
{
    if (canvas_ == &canvas) {
        KP_ASSERT(drawingCount_ > 0);
        ++drawingCount_;
        return;
    }
    KP_ASSERT(canvas_ == nullptr && drawingCount_ == 0);
    canvas.Save();
    canvas_ = &canvas;
    drawingCount_ = 1;
    canvas.SetFont(stock_->FontHandle());
    canvas.SetTextColor(ResolveSystemColor(foreColor_));
    canvas.SetBackgroundColor(ResolveSystemColor(backColor_));
}

void TheTextDrawer::EndDrawing()
{
    KP_ASSERT(drawingCount_ > 0 && canvas_ != nullptr);
    if (--drawingCount_ == 0) {
        canvas_->Restore();
        canvas_ = nullptr;
    }
}

void TheTextDrawer::TextOut(int x, int y, std::u16string_view text)
{
    KP_ASSERT(canvas_ != nullptr);
    const int baseline = y + stock_->GetAscent();
    if (charExtra_ == 0) {
        canvas_->TextOut(x, baseline, text);
        return;
    }
    std::vector<int> advances(text.size(), 0);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        const bool pair = c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                          text[i + 1] < 0xE000;
        if (pair) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
        }
        advances[i] = canvas_->CharAdvance(c) + charExtra_;
        i += pair ? 1 : 0;
    }
    canvas_->ExtTextOut(x, baseline, 0, nullptr, text, advances.data());
}

void TheTextDrawer::ExtTextOut(int x, int y, TTextOutOptions options, const TRect& rect, std::u16string_view text)
{
    KP_ASSERT(canvas_ != nullptr);
    const auto length = static_cast<int>(text.size());
    if (length > static_cast<int>(etoDist_.size())) {
        etoDist_.resize(static_cast<std::size_t>((length & ~63) + 64), GetCharWidth());
    }
    canvas_->ExtTextOut(x, y + stock_->GetAscent(), options, &rect, text, etoDist_.data());
}

void TheTextDrawer::ReleaseTemporaryResources() { stock_->ReleaseFontHandles(); }

TCodeEditFontMetrics MeasureFont(TheTextDrawer& drawer, const TCodeEditFont& font)
{
    drawer.SetBaseFont(&font);
    return TCodeEditFontMetrics{drawer.GetCharWidth(), drawer.GetCharHeight(), drawer.GetAverageCharWidth(),
                                drawer.GetMaximumCharWidth()};
}
