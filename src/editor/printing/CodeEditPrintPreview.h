#pragma once
// The print preview as a model: one page of a print engine drawn as a sheet with a
// shadow on a background, scaled to the whole page, to the page width or to a percentage
// of its real size, with paging, scrolling and the mouse wheel. The window is reached
// only through ICodePreviewHost (editor/widget implements it); without a host the model
// acts as a control whose window does not exist yet.

#include "platform/core/objects/Component.h"
#include "platform/core/objects/Delegate.h"
#include "platform/core/graphics/ColorValue.h"
#include "platform/core/graphics/Rect.h"

#include <QString>

#include <cstdint>
#include <functional>

class TCanvas;
class TCodeEditPrint;

enum TCodePreviewScale : std::uint8_t { pscWholePage, pscPageWidth, pscUserScaled };

// The platform's scroll-bar messages.
enum class TPreviewScrollCode : std::uint8_t {
    LineUp,
    LineDown,
    PageUp,
    PageDown,
    ThumbPosition,
    ThumbTrack,
    Top,
    Bottom,
    EndScroll,
};

// One scroll bar as the platform's scroll information: a range, the page it shows, the
// position; the bar stays shown but disabled when the page covers the range.
struct TPreviewScrollBar {
    bool Visible = false;
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Position = 0;

    bool Enabled() const { return Visible && Max - Min + 1 > Page; }
    bool operator==(const TPreviewScrollBar&) const = default;
};

class ICodePreviewHost {
public:
    virtual ~ICodePreviewHost() = default;

    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    virtual int ScreenPixelsPerInchX() const = 0;
    virtual int ScreenPixelsPerInchY() const = 0;
    // A canvas of the control's kind to paginate on.
    virtual TCanvas& MeasuringCanvas() = 0;
    virtual void Invalidate() = 0;
    // Moves the client area's content (positive dy moves it down) and repaints the
    // uncovered band at once.
    virtual void ScrollContents(int dx, int dy) = 0;
    // The model's scroll bars changed; the host reads them back.
    virtual void ScrollBarsChanged() = 0;
    // The page hint at the control's top right corner; an empty text hides it.
    virtual void ShowScrollHint(const QString& text) = 0;
    // The window is re-created for a new border.
    virtual void BorderChanged() = 0;
};

enum class TPreviewBorder : std::uint8_t { bsNone, bsSingle };

class TCodeEditPrintPreview : public TComponent {
    KP_CLASS(TCodeEditPrintPreview, TComponent)
public:
    explicit TCodeEditPrintPreview(TComponent* owner = nullptr);
    ~TCodeEditPrintPreview() override;

    // Attaching a host makes the window: sizes are computed from its client area.
    void SetHost(ICodePreviewHost* host);
    ICodePreviewHost* Host() const { return host_; }

    TCodeEditPrint* CodeEditPrint() const { return codeEditPrint_; }
    void SetCodeEditPrint(TCodeEditPrint* value);

    TCodePreviewScale ScaleMode() const { return scaleMode_; }
    void SetScaleMode(TCodePreviewScale value);
    int ScalePercent() const { return scalePercent_; }
    void SetScalePercent(int value);
    TColor PageBGColor() const { return pageBGColor_; }
    void SetPageBGColor(TColor value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TPreviewBorder BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TPreviewBorder value);
    bool ShowScrollHint() const { return showScrollHint_; }
    void SetShowScrollHint(bool value) { showScrollHint_ = value; }
    int PageNumber() const { return pageNumber_; }

    TPoint PageSize() const { return pageSize_; }
    TPoint VirtualSize() const { return virtualSize_; }
    TPoint VirtualOffset() const { return virtualOffset_; }
    TPoint ScrollPosition() const { return scrollPosition_; }
    const TPreviewScrollBar& HorzScrollBar() const { return horzBar_; }
    const TPreviewScrollBar& VertScrollBar() const { return vertBar_; }

    // Paginates again for the control's canvas and repaints.
    void UpdatePreview();
    void FirstPage();
    void LastPage();
    void NextPage();
    void PreviousPage();
    // Prints every page through the engine, then UpdatePreview.
    void Print();

    virtual void ScrollHorzTo(int x);
    virtual void ScrollVertTo(int y);
    void ScrollHorzFor(int delta) { ScrollHorzTo(scrollPosition_.X + delta); }
    void ScrollVertFor(int delta) { ScrollVertTo(scrollPosition_.Y + delta); }
    virtual void UpdateScrollbars();
    virtual void ComputePageSize();

    // --- window messages ---
    void Resized() { ComputePageSize(); }
    void VerticalScroll(TPreviewScrollCode code, int thumbPosition);
    void HorizontalScroll(TPreviewScrollCode code, int thumbPosition);
    // Scrolls 120 pixels for each whole notch collected.
    void MouseWheel(int delta);
    // Draws the control's client area; nothing when the clip rectangle is empty.
    void Paint(TCanvas& canvas, const TRect& clip);
    // The sheet's rectangle in client pixels as Paint draws it.
    TRect SheetRect() const;

    std::function<void(TObject* sender, int pageNumber)> OnPreviewPage;
    TNotifyEvent OnScaleChange;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    int EnginePageCount() const;
    void PreviewPageChanged();
    void Invalidate();
    void ScaleChanged();
    void PaintPage(TCanvas& canvas, const TRect& sheet);

    ICodePreviewHost* host_ = nullptr;
    TCodeEditPrint* codeEditPrint_ = nullptr;
    TPreviewBorder borderStyle_ = TPreviewBorder::bsSingle;
    TCodePreviewScale scaleMode_ = pscUserScaled;
    int scalePercent_ = 100;
    TPoint virtualSize_;
    TPoint virtualOffset_;
    TPoint pageSize_;
    TPoint scrollPosition_;
    TColor pageBGColor_ = clWhite;
    TColor color_ = clAppWorkSpace;
    int pageNumber_ = 1;
    bool showScrollHint_ = true;
    int wheelAccumulator_ = 0;
    TPreviewScrollBar horzBar_;
    TPreviewScrollBar vertBar_;
};
