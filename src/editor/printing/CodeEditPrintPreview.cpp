#include "editor/printing/CodeEditPrintPreview.h"

#include "editor/printing/CodeEditPrint.h"
#include "platform/core/graphics/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The sheet's margin in the virtual area: 12 pixels before it, 14 after (its shadow).
constexpr int VirtualMargin = 26;
constexpr int SheetOffset = 12;
constexpr int WheelNotch = 120;

} // namespace

TCodeEditPrintPreview::TCodeEditPrintPreview(TComponent* owner) : TComponent(owner) {}

TCodeEditPrintPreview::~TCodeEditPrintPreview() { Destroying(); }

void TCodeEditPrintPreview::SetHost(ICodePreviewHost* host)
{
    host_ = host;
    if (host_) {
        ComputePageSize();
    }
}

void TCodeEditPrintPreview::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == codeEditPrint_) {
        codeEditPrint_ = nullptr;
        if (!IsDestroying()) {
            ComputePageSize();
            Invalidate();
        }
    }
}

void TCodeEditPrintPreview::SetCodeEditPrint(TCodeEditPrint* value)
{
    if (value == codeEditPrint_) {
        return;
    }
    if (codeEditPrint_) {
        codeEditPrint_->RemoveFreeNotification(this);
    }
    codeEditPrint_ = value;
    if (codeEditPrint_) {
        codeEditPrint_->FreeNotification(this);
    }
    ComputePageSize();
    Invalidate();
}

void TCodeEditPrintPreview::Invalidate()
{
    if (host_) {
        host_->Invalidate();
    }
}

int TCodeEditPrintPreview::EnginePageCount() const { return codeEditPrint_ ? codeEditPrint_->PageCount() : 0; }

void TCodeEditPrintPreview::ScaleChanged()
{
    if (OnScaleChange) {
        OnScaleChange(this);
    }
}

void TCodeEditPrintPreview::SetScaleMode(TCodePreviewScale value)
{
    if (value == scaleMode_) {
        return;
    }
    scaleMode_ = value;
    scrollPosition_ = {};
    ComputePageSize();
    ScaleChanged();
    Invalidate();
}

void TCodeEditPrintPreview::SetScalePercent(int value)
{
    if (value != scalePercent_) {
        scaleMode_ = pscUserScaled;
        scrollPosition_ = {};
        scalePercent_ = value;
        ComputePageSize();
        Invalidate();
    } else {
        SetScaleMode(pscUserScaled);
    }
    ScaleChanged();
}

void TCodeEditPrintPreview::SetPageBGColor(TColor value)
{
    if (value != pageBGColor_) {
        pageBGColor_ = value;
        Invalidate();
    }
}

void TCodeEditPrintPreview::SetColor(TColor value)
{
    if (value != color_) {
        color_ = value;
        Invalidate();
    }
}

void TCodeEditPrintPreview::SetBorderStyle(TPreviewBorder value)
{
    if (value != borderStyle_) {
        borderStyle_ = value;
        if (host_) {
            host_->BorderChanged();
        }
        Invalidate();
    }
}

void TCodeEditPrintPreview::ComputePageSize()
{
    if (!host_) {
        return;
    }
    // Without an engine the sheet keeps the proportions of a paper sheet, 141 : 100.
    int physicalWidth = 100;
    int physicalHeight = 141;
    int userWidth = 0;
    int userHeight = 0;
    if (codeEditPrint_) {
        TCodeEditPrinterInfo& info = codeEditPrint_->PrinterInfo();
        physicalWidth = std::max(1, info.PhysicalWidth());
        physicalHeight = std::max(1, info.PhysicalHeight());
        userWidth = MulDiv(MulDiv(physicalWidth, host_->ScreenPixelsPerInchX(), info.DpiX()),
                                scalePercent_, 100);
        userHeight = MulDiv(MulDiv(physicalHeight, host_->ScreenPixelsPerInchY(), info.DpiY()),
                                 scalePercent_, 100);
    } else {
        userWidth = MulDiv(physicalWidth, scalePercent_, 100);
        userHeight = MulDiv(physicalHeight, scalePercent_, 100);
    }
    const int clientWidth = host_->ClientWidth();
    const int clientHeight = host_->ClientHeight();
    int width = clientWidth - VirtualMargin;
    int height = clientHeight - VirtualMargin;
    switch (scaleMode_) {
    case pscWholePage: {
        const int widthForHeight = MulDiv(height, physicalWidth, physicalHeight);
        if (widthForHeight < width) {
            width = widthForHeight;
        } else {
            height = MulDiv(width, physicalHeight, physicalWidth);
        }
        break;
    }
    case pscPageWidth: height = MulDiv(width, physicalHeight, physicalWidth); break;
    case pscUserScaled:
        width = userWidth;
        height = userHeight;
        break;
    }
    pageSize_ = {std::max(1, width), std::max(1, height)};
    virtualSize_ = {pageSize_.X + VirtualMargin, pageSize_.Y + VirtualMargin};
    virtualOffset_ = {SheetOffset + std::max(0, (clientWidth - virtualSize_.X) / 2),
                      SheetOffset + std::max(0, (clientHeight - virtualSize_.Y) / 2)};
    scrollPosition_ = {};
    UpdateScrollbars();
}

void TCodeEditPrintPreview::UpdateScrollbars()
{
    const int clientWidth = host_ ? host_->ClientWidth() : 0;
    const int clientHeight = host_ ? host_->ClientHeight() : 0;
    const TPreviewScrollBar pixels{true, 0, virtualSize_.Y, clientHeight, -scrollPosition_.Y};
    switch (scaleMode_) {
    case pscWholePage:
        horzBar_ = {};
        vertBar_ = {true, 1, std::max(1, codeEditPrint_ ? EnginePageCount() : 1), 1, pageNumber_};
        break;
    case pscPageWidth:
        horzBar_ = {};
        vertBar_ = pixels;
        break;
    case pscUserScaled:
        horzBar_ = {true, 0, virtualSize_.X, clientWidth, -scrollPosition_.X};
        vertBar_ = pixels;
        break;
    }
    if (host_) {
        host_->ScrollBarsChanged();
    }
}

void TCodeEditPrintPreview::ScrollHorzTo(int x)
{
    const int clientWidth = host_ ? host_->ClientWidth() : 0;
    x = std::min(std::max(x, clientWidth - virtualSize_.X), 0);
    if (x == scrollPosition_.X) {
        return;
    }
    const int delta = x - scrollPosition_.X;
    scrollPosition_.X = x;
    UpdateScrollbars();
    if (!host_) {
        return;
    }
    if (std::abs(delta) <= clientWidth / 2) {
        host_->ScrollContents(delta, 0);
    } else {
        host_->Invalidate();
    }
}

void TCodeEditPrintPreview::ScrollVertTo(int y)
{
    const int clientHeight = host_ ? host_->ClientHeight() : 0;
    y = std::min(std::max(y, clientHeight - virtualSize_.Y), 0);
    if (y == scrollPosition_.Y) {
        return;
    }
    const int delta = y - scrollPosition_.Y;
    scrollPosition_.Y = y;
    UpdateScrollbars();
    if (!host_) {
        return;
    }
    if (std::abs(delta) <= clientHeight / 2) {
        host_->ScrollContents(0, delta);
    } else {
        host_->Invalidate();
    }
}

void TCodeEditPrintPreview::PreviewPageChanged()
{
    if (scaleMode_ == pscWholePage) {
        // The page bar shows the page; keep its thumb with it.
        UpdateScrollbars();
    }
    if (OnPreviewPage) {
        OnPreviewPage(this, pageNumber_);
    }
    Invalidate();
}

void TCodeEditPrintPreview::FirstPage()
{
    pageNumber_ = 1;
    PreviewPageChanged();
}

void TCodeEditPrintPreview::LastPage()
{
    if (codeEditPrint_) {
        pageNumber_ = EnginePageCount();
    }
    PreviewPageChanged();
}

void TCodeEditPrintPreview::NextPage()
{
    pageNumber_ = codeEditPrint_ ? std::min(pageNumber_ + 1, EnginePageCount()) : pageNumber_ + 1;
    PreviewPageChanged();
}

void TCodeEditPrintPreview::PreviousPage()
{
    pageNumber_ = codeEditPrint_ ? std::max(pageNumber_ - 1, 1) : pageNumber_ - 1;
    PreviewPageChanged();
}

void TCodeEditPrintPreview::UpdatePreview()
{
    const TCodePreviewScale oldMode = scaleMode_;
    const int oldPercent = scalePercent_;
    SetScalePercent(100);
    if (codeEditPrint_ && host_) {
        codeEditPrint_->UpdatePages(host_->MeasuringCanvas());
    }
    ComputePageSize();
    SetScaleMode(oldMode);
    if (scaleMode_ == pscUserScaled) {
        SetScalePercent(oldPercent);
    }
    if (OnPreviewPage) {
        OnPreviewPage(this, pageNumber_);
    }
}

void TCodeEditPrintPreview::Print()
{
    if (!codeEditPrint_) {
        return;
    }
    codeEditPrint_->Print();
    UpdatePreview();
}

void TCodeEditPrintPreview::VerticalScroll(TPreviewScrollCode code, int thumbPosition)
{
    const int clientHeight = host_ ? host_->ClientHeight() : 0;
    if (scaleMode_ != pscWholePage) {
        switch (code) {
        case TPreviewScrollCode::LineUp: ScrollVertFor(clientHeight / 10); break;
        case TPreviewScrollCode::LineDown: ScrollVertFor(-(clientHeight / 10)); break;
        case TPreviewScrollCode::PageUp: ScrollVertFor(clientHeight / 2); break;
        case TPreviewScrollCode::PageDown: ScrollVertFor(-(clientHeight / 2)); break;
        case TPreviewScrollCode::ThumbPosition:
        case TPreviewScrollCode::ThumbTrack: ScrollVertTo(-thumbPosition); break;
        case TPreviewScrollCode::Top: ScrollVertTo(0); break;
        case TPreviewScrollCode::Bottom: ScrollVertTo(-virtualSize_.Y); break;
        case TPreviewScrollCode::EndScroll: break;
        }
        return;
    }
    if (!codeEditPrint_) {
        return;
    }
    const int count = EnginePageCount();
    switch (code) {
    case TPreviewScrollCode::LineUp:
    case TPreviewScrollCode::PageUp: pageNumber_ = std::max(1, pageNumber_ - 1); break;
    case TPreviewScrollCode::LineDown:
    case TPreviewScrollCode::PageDown: pageNumber_ = std::min(count, pageNumber_ + 1); break;
    case TPreviewScrollCode::Top: pageNumber_ = 1; break;
    case TPreviewScrollCode::Bottom: pageNumber_ = count; break;
    case TPreviewScrollCode::ThumbPosition:
    case TPreviewScrollCode::ThumbTrack:
        pageNumber_ = std::clamp(thumbPosition, 1, std::max(1, count));
        if (showScrollHint_ && host_) {
            host_->ShowScrollHint(QStringLiteral("Page: %1").arg(pageNumber_));
        }
        break;
    case TPreviewScrollCode::EndScroll:
        if (host_) {
            host_->ShowScrollHint(QString());
        }
        break;
    }
    scrollPosition_.Y = -(pageNumber_ - 1);
    UpdateScrollbars();
    if (OnPreviewPage) {
        OnPreviewPage(this, pageNumber_);
    }
    Invalidate();
}

void TCodeEditPrintPreview::HorizontalScroll(TPreviewScrollCode code, int thumbPosition)
{
    if (scaleMode_ == pscWholePage) {
        return;
    }
    const int clientWidth = host_ ? host_->ClientWidth() : 0;
    switch (code) {
    case TPreviewScrollCode::LineUp: ScrollHorzFor(clientWidth / 10); break;
    case TPreviewScrollCode::LineDown: ScrollHorzFor(-(clientWidth / 10)); break;
    case TPreviewScrollCode::PageUp: ScrollHorzFor(clientWidth / 2); break;
    case TPreviewScrollCode::PageDown: ScrollHorzFor(-(clientWidth / 2)); break;
    case TPreviewScrollCode::ThumbPosition:
    case TPreviewScrollCode::ThumbTrack: ScrollHorzTo(-thumbPosition); break;
    case TPreviewScrollCode::Top: ScrollHorzTo(0); break;
    case TPreviewScrollCode::Bottom: ScrollHorzTo(-virtualSize_.X); break;
    case TPreviewScrollCode::EndScroll: break;
    }
}

void TCodeEditPrintPreview::MouseWheel(int delta)
{
    wheelAccumulator_ += delta;
    while (std::abs(wheelAccumulator_) >= WheelNotch) {
        if (wheelAccumulator_ > 0) {
            wheelAccumulator_ -= WheelNotch;
            ScrollVertFor(WheelNotch);
        } else {
            wheelAccumulator_ += WheelNotch;
            ScrollVertFor(-WheelNotch);
        }
    }
}

TRect TCodeEditPrintPreview::SheetRect() const
{
    if (!codeEditPrint_) {
        return Rect(SheetOffset, SheetOffset, 55, 42);
    }
    const int left = virtualOffset_.X + scrollPosition_.X;
    const int top = virtualOffset_.Y + (scaleMode_ == pscWholePage ? 0 : scrollPosition_.Y);
    return Rect(left, top, left + pageSize_.X, top + pageSize_.Y);
}

void TCodeEditPrintPreview::Paint(TCanvas& canvas, const TRect& clip)
{
    if (clip.Width() <= 0 || clip.Height() <= 0) {
        return;
    }
    const TRect sheet = SheetRect();
    canvas.Save();
    // The background around the sheet, its frame and shadow included in the hole.
    canvas.ExcludeClipRect(Rect(sheet.Left, sheet.Top, sheet.Right + 1, sheet.Bottom + 1));
    canvas.FillRect(clip, color_);
    canvas.Restore();

    canvas.SetPen(TPen{clBlack, TPenStyle::Solid, 1});
    for (int offset = 1; offset <= 2; ++offset) {
        const TPoint shadow[] = {{sheet.Left + offset, sheet.Bottom + offset - 1},
                                 {sheet.Right + offset - 1, sheet.Bottom + offset - 1},
                                 {sheet.Right + offset - 1, sheet.Top + offset - 1}};
        canvas.Polyline(shadow);
    }
    canvas.SetBrush(TBrush{pageBGColor_, TBrushStyle::Solid});
    canvas.Rectangle(sheet);
    if (codeEditPrint_) {
        PaintPage(canvas, sheet);
    }
}

void TCodeEditPrintPreview::PaintPage(TCanvas& canvas, const TRect& sheet)
{
    TCodeEditPrinterInfo& info = codeEditPrint_->PrinterInfo();
    const int physicalWidth = std::max(1, info.PhysicalWidth());
    const int physicalHeight = std::max(1, info.PhysicalHeight());
    canvas.Save();
    TCanvasMapping mapping;
    mapping.windowExtent = {physicalWidth, physicalHeight};
    mapping.viewportExtent = {pageSize_.X, pageSize_.Y};
    mapping.viewportOrigin = {sheet.Left + MulDiv(info.LeftOffset(), pageSize_.X, physicalWidth),
                              sheet.Top + MulDiv(info.TopOffset(), pageSize_.Y, physicalHeight)};
    canvas.SetMapping(mapping);
    canvas.IntersectClipRect(Rect(0, 0, info.PrintableWidth(), info.PrintableHeight()));
    codeEditPrint_->PrintToCanvas(canvas, pageNumber_);
    canvas.Restore();
}
