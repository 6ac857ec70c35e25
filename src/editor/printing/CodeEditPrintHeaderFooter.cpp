#include "editor/printing/CodeEditPrintHeaderFooter.h"

#include "editor/printing/CodeEditPrintMargins.h"
#include "platform/core/graphics/Canvas.h"
#include "platform/core/services/Clock.h"

#include <QLocale>

#include <algorithm>

namespace {

bool IsBlankOrControl(QChar c) { return c.unicode() <= u' '; }

// Upper case of the ASCII letters only, as macro names are compared.
QString AsciiUpper(QStringView text)
{
    QString result = text.toString();
    for (QChar& c : result) {
        if (c >= u'a' && c <= u'z') {
            c = QChar(c.unicode() - (u'a' - u'A'));
        }
    }
    return result;
}

} // namespace

QString THeaderFooterItem::GetExpandedText(int pageCount, int pageNumber, bool roman, const QString& title,
                                           const QString& time, const QString& date) const
{
    const auto blank = std::all_of(Text.begin(), Text.end(), IsBlankOrControl);
    if (blank) {
        return QString();
    }
    const auto macroValue = [&](const QString& name, QString& value) {
        if (name == u"$PAGENUM$") {
            value = roman ? IntToRoman(pageNumber) : QString::number(pageNumber);
        } else if (name == u"$PAGECOUNT$") {
            value = QString::number(pageCount);
        } else if (name == u"$TITLE$") {
            value = title;
        } else if (name == u"$DATE$") {
            value = date;
        } else if (name == u"$TIME$") {
            value = time;
        } else if (name == u"$DATETIME$") {
            value = date + u' ' + time;
        } else if (name == u"$TIMEDATE$") {
            value = time + u' ' + date;
        } else {
            return false;
        }
        return true;
    };
    const QStringView text(Text);
    const qsizetype length = text.size();
    QString result;
    qsizetype start = 0;
    qsizetype run = 0;
    while (run < length) {
        if (text[run] != u'$') {
            ++run;
            continue;
        }
        result += text.mid(start, run - start);
        start = run;
        bool matched = false;
        for (qsizetype close = run + 1; close < length; ++close) {
            if (text[close] != u'$') {
                continue;
            }
            QString value;
            if (macroValue(AsciiUpper(text.mid(start, close - start + 1)), value)) {
                result += value;
                start = run = close + 1;
                matched = true;
                break;
            }
            // This dollar may open the macro.
            result += text.mid(start, close - start);
            start = close;
        }
        if (!matched) {
            run = length;
        }
    }
    result += text.mid(start);
    return result;
}

THeaderFooter::THeaderFooter(TKind kind) : kind_(kind)
{
    defaultFont_.SetName("Arial");
    defaultFont_.SetSize(10);
    defaultFont_.SetColor(clBlack);
}

THeaderFooter::~THeaderFooter() = default;

void THeaderFooter::Changed()
{
    if (OnChange) {
        OnChange(this);
    }
}

int THeaderFooter::Add(const QString& text, const TFont* font, TAlignment alignment, int lineNumber)
{
    auto item = std::make_unique<THeaderFooterItem>();
    item->Font.Assign(font ? font : &defaultFont_);
    item->Alignment = alignment;
    item->LineNumber = lineNumber;
    item->Text = text;
    item->Index = Count();
    items_.push_back(std::move(item));
    Changed();
    return Count() - 1;
}

void THeaderFooter::Clear()
{
    if (items_.empty()) {
        return;
    }
    items_.clear();
    Changed();
}

void THeaderFooter::SetItemResolution(int pixelsPerInch)
{
    for (const auto& item : items_) {
        item->Font.SetPixelsPerInch(pixelsPerInch);
    }
}

void THeaderFooter::SetFrameTypes(TFrameTypes value)
{
    if (value != frameTypes_) {
        frameTypes_ = value;
        Changed();
    }
}

void THeaderFooter::SetShadedColor(TColor value)
{
    if (value != shadedColor_) {
        shadedColor_ = value;
        Changed();
    }
}

void THeaderFooter::SetLineColor(TColor value)
{
    if (value != lineColor_) {
        lineColor_ = value;
        Changed();
    }
}

void THeaderFooter::SetRomanNumbers(bool value)
{
    if (value != romanNumbers_) {
        romanNumbers_ = value;
        Changed();
    }
}

void THeaderFooter::SetMirrorPosition(bool value)
{
    if (value != mirrorPosition_) {
        mirrorPosition_ = value;
        Changed();
    }
}

void THeaderFooter::Assign(const TPersistent* source)
{
    const auto* other = ObjectCast<THeaderFooter>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    items_.clear();
    kind_ = other->kind_;
    frameTypes_ = other->frameTypes_;
    shadedColor_ = other->shadedColor_;
    lineColor_ = other->lineColor_;
    for (const auto& item : other->items_) {
        Add(item->Text, &item->Font, item->Alignment, item->LineNumber);
    }
    defaultFont_.Assign(&other->defaultFont_);
    romanNumbers_ = other->romanNumbers_;
    mirrorPosition_ = other->mirrorPosition_;
    Changed();
}

void THeaderFooter::InitPrint(TCanvas& canvas, int pageCount, const QString& title, TCodeEditPrintMargins* margins)
{
    const TCanvasSaver saved(canvas);
    const QLocale locale;
    const QDateTime now = DateTimeFromNumber(NowAsDateTime());
    date_ = locale.toString(now, locale.dateFormat(QLocale::ShortFormat));
    time_ = locale.toString(now, locale.timeFormat(QLocale::LongFormat));
    pageCount_ = pageCount;
    margins_ = margins;
    title_ = title;

    std::stable_sort(items_.begin(), items_.end(),
                     [](const auto& a, const auto& b) { return a->LineNumber < b->LineNumber; });
    lineInfo_.clear();
    int previousNumber = 0;
    for (const auto& item : items_) {
        if (lineInfo_.empty() || item->LineNumber != previousNumber) {
            previousNumber = item->LineNumber;
            lineInfo_.push_back({});
        }
        item->LineNumber = static_cast<int>(lineInfo_.size());
    }

    if (items_.empty()) {
        frameHeight_ = -1;
        return;
    }
    frameHeight_ = 0;
    int lineTop = 0; // the frame height reached before the current line
    int currentLine = 0;
    for (const auto& item : items_) {
        if (item->LineNumber != currentLine) {
            currentLine = item->LineNumber;
            lineTop = frameHeight_;
        }
        canvas.SetFont(item->Font);
        const TTextMetrics metric = canvas.TextMetrics();
        const int height = canvas.TextHeight(u"W");
        TLineInfo& line = lineInfo_[static_cast<std::size_t>(currentLine - 1)];
        line.LineHeight = std::max(line.LineHeight, height);
        line.MaxAscent = std::max(line.MaxAscent, metric.height - metric.descent);
        frameHeight_ = std::max(frameHeight_, lineTop + height);
    }
    frameHeight_ += 2 * (margins_ ? margins_->PixelHFInternalMargin : 0);
}

void THeaderFooter::DrawFrame(TCanvas& canvas)
{
    if (frameTypes_ == 0) {
        return;
    }
    const TCodeEditPrintMargins& m = *margins_;
    canvas.SetPen(TPen{lineColor_, (frameTypes_ & ftBox) ? TPenStyle::Solid : TPenStyle::Clear, 1});
    canvas.SetBrush(TBrush{shadedColor_, (frameTypes_ & ftShaded) ? TBrushStyle::Solid : TBrushStyle::Clear});
    if (frameTypes_ & (ftBox | ftShaded)) {
        if (kind_ == hfHeader) {
            canvas.Rectangle(Rect(m.PixelLeft, m.PixelHeader - frameHeight_, m.PixelRight, m.PixelHeader));
        } else {
            canvas.Rectangle(Rect(m.PixelLeft, m.PixelFooter, m.PixelRight, m.PixelFooter + frameHeight_));
        }
    }
    if (frameTypes_ & ftLine) {
        canvas.SetPen(TPen{lineColor_, TPenStyle::Solid, 1});
        const int y = kind_ == hfHeader ? m.PixelHeader : m.PixelFooter;
        canvas.Line(m.PixelLeft, y, m.PixelRight, y);
    }
}

void THeaderFooter::Print(TCanvas& canvas, int pageNumber)
{
    if (frameHeight_ <= 0 || !margins_) {
        return;
    }
    const TCanvasSaver saved(canvas);
    DrawFrame(canvas);
    canvas.SetBrush(TBrush{canvas.Brush().color, TBrushStyle::Clear});
    const TCodeEditPrintMargins& m = *margins_;
    int rowTop = (kind_ == hfHeader ? m.PixelHeader - frameHeight_ : m.PixelFooter) + m.PixelHFInternalMargin;
    int currentLine = 1;
    for (const auto& item : items_) {
        canvas.SetFont(item->Font);
        if (item->LineNumber != currentLine) {
            rowTop += lineInfo_[static_cast<std::size_t>(currentLine - 1)].LineHeight;
            currentLine = item->LineNumber;
        }
        const QString text = item->GetExpandedText(pageCount_, pageNumber, romanNumbers_, title_, time_, date_);
        if (text.isEmpty()) {
            continue;
        }
        TAlignment alignment = item->Alignment;
        if (mirrorPosition_ && pageNumber % 2 == 0 && alignment != taCenter) {
            alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
        }
        const int width = canvas.TextWidth(Utf16View(text));
        int x = m.PixelLeftHFTextIndent;
        if (alignment == taRightJustify) {
            x = m.PixelRightHFTextIndent - width;
        } else if (alignment == taCenter) {
            x = (m.PixelLeftHFTextIndent + m.PixelRightHFTextIndent - width) / 2;
        }
        const int baseline = rowTop + lineInfo_[static_cast<std::size_t>(currentLine - 1)].MaxAscent;
        canvas.TextOut(x, baseline, Utf16View(text));
    }
}
