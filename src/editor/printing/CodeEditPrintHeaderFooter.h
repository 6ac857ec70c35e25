#pragma once
// The running header and footer of a printed page: text items on one or more lines,
// left, centred or right, whose macros give the page number, page count, title, date
// and time, drawn inside an optional frame (a line, a box, a shaded box).

#include "editor/printing/CodeEditPrintTypes.h"
#include "platform/core/graphics/ColorValue.h"
#include "platform/core/objects/Delegate.h"
#include "platform/core/graphics/Font.h"
#include "platform/core/objects/Persistent.h"

#include <QString>

#include <memory>
#include <vector>

class TCanvas;
class TCodeEditPrintMargins;

class THeaderFooterItem {
public:
    // The text with its macros expanded: $PAGENUM$ (Roman when asked), $PAGECOUNT$,
    // $TITLE$, $DATE$, $TIME$, $DATETIME$, $TIMEDATE$, named without regard to case.
    // Dollar signs that open no macro stay as they are.
    QString GetExpandedText(int pageCount, int pageNumber, bool roman, const QString& title, const QString& time,
                            const QString& date) const;

    QString Text;
    TFont Font;
    int LineNumber = 1; // 1-based; consecutive after InitPrint
    TAlignment Alignment = taLeftJustify;
    int Index = 0;      // its place in the list when added
};

enum TFrameType : std::uint8_t { ftLine = 1, ftBox = 2, ftShaded = 4 };
using TFrameTypes = std::uint8_t;

class THeaderFooter : public TPersistent {
    KP_CLASS(THeaderFooter, TPersistent)
public:
    enum TKind : std::uint8_t { hfHeader, hfFooter };

    explicit THeaderFooter(TKind kind);
    ~THeaderFooter() override;

    // Adds an item with a copy of font (DefaultFont when nullptr); returns its index.
    int Add(const QString& text, const TFont* font, TAlignment alignment, int lineNumber);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    const THeaderFooterItem& Item(int index) const { return *items_[static_cast<std::size_t>(index)]; }
    // Every item font gets the resolution, keeping its point size.
    void SetItemResolution(int pixelsPerInch);

    TKind Kind() const { return kind_; }
    TFrameTypes FrameTypes() const { return frameTypes_; }
    void SetFrameTypes(TFrameTypes value);
    TColor ShadedColor() const { return shadedColor_; }
    void SetShadedColor(TColor value);
    TColor LineColor() const { return lineColor_; }
    void SetLineColor(TColor value);
    TFont& DefaultFont() { return defaultFont_; }
    void SetDefaultFont(const TFont& font) { defaultFont_.Assign(&font); }
    bool RomanNumbers() const { return romanNumbers_; }
    void SetRomanNumbers(bool value);
    bool MirrorPosition() const { return mirrorPosition_; }
    void SetMirrorPosition(bool value);

    // Fixes date, time, page count and title for the job, numbers the lines 1, 2, ...
    // and measures them on the canvas.
    void InitPrint(TCanvas& canvas, int pageCount, const QString& title, TCodeEditPrintMargins* margins);
    // Draws the frame and the items of one page; nothing without items.
    void Print(TCanvas& canvas, int pageNumber);

    // −1 without items.
    int FrameHeight() const { return frameHeight_; }
    const QString& DateText() const { return date_; }
    const QString& TimeText() const { return time_; }

    void Assign(const TPersistent* source) override;

    // Fired when anything that changes the printed layout changes.
    TNotifyEvent OnChange;

private:
    struct TLineInfo {
        int LineHeight = 0;
        int MaxAscent = 0;
    };
    void Changed();
    void DrawFrame(TCanvas& canvas);

    TKind kind_;
    TFrameTypes frameTypes_ = ftLine;
    TColor shadedColor_ = clSilver;
    TColor lineColor_ = clBlack;
    std::vector<std::unique_ptr<THeaderFooterItem>> items_;
    TFont defaultFont_;
    QString date_;
    QString time_;
    int pageCount_ = 0;
    QString title_;
    TCodeEditPrintMargins* margins_ = nullptr;
    int frameHeight_ = -1;
    bool romanNumbers_ = false;
    std::vector<TLineInfo> lineInfo_;
    bool mirrorPosition_ = false;
};

class THeader : public THeaderFooter {
    KP_CLASS(THeader, THeaderFooter)
public:
    THeader() : THeaderFooter(hfHeader) {}
};

class TFooter : public THeaderFooter {
    KP_CLASS(TFooter, THeaderFooter)
public:
    TFooter() : THeaderFooter(hfFooter) {}
};
