#include "editor/painting/CodeGutter.h"

#include "editor/document/CodeEditMiscProcs.h"

TCodeGutter::TCodeGutter() { font_.OnChange = MakeDelegate<&TCodeGutter::FontChanged>(this); }

void TCodeGutter::Changed()
{
    if (OnChange) {
        OnChange(this);
    }
}

void TCodeGutter::FontChanged(TObject*) { Changed(); }

void TCodeGutter::SetColor(TColor color) { Store(color_, color); }
void TCodeGutter::SetWidth(int width) { Store(width_, Max(0, width)); }
void TCodeGutter::SetShowLineNumbers(bool show) { Store(showLineNumbers_, show); }
void TCodeGutter::SetLeadingZeros(bool on) { Store(leadingZeros_, on); }
void TCodeGutter::SetZeroStart(bool on) { Store(zeroStart_, on); }
void TCodeGutter::SetLeftOffset(int offset) { Store(leftOffset_, Max(0, offset)); }
void TCodeGutter::SetRightOffset(int offset) { Store(rightOffset_, Max(0, offset)); }
void TCodeGutter::SetVisible(bool visible) { Store(visible_, visible); }
void TCodeGutter::SetUseFontStyle(bool on) { Store(useFontStyle_, on); }
void TCodeGutter::SetAutoSize(bool on) { Store(autoSize_, on); }

void TCodeGutter::SetDigitCount(int count)
{
    count = Clamp(count, MinDigits, MaxDigits);
    if (count != digitCount_) {
        digitCount_ = count;
        autoSizeDigitCount_ = count;
        Changed();
    }
}

namespace {
int DecimalDigits(int n)
{
    int digits = 1;
    for (; n >= 10; n /= 10) {
        ++digits;
    }
    return digits;
}
} // namespace

void TCodeGutter::FitDigitCount(int lineCount)
{
    if (visible_ && autoSize_ && showLineNumbers_) {
        const int n = zeroStart_ ? lineCount - 1 : lineCount;
        const int digits = Max(DecimalDigits(n), digitCount_);
        if (digits != autoSizeDigitCount_) {
            autoSizeDigitCount_ = digits;
            Changed();
        }
    } else {
        autoSizeDigitCount_ = digitCount_;
    }
}

QString TCodeGutter::LineNumberText(int line) const
{
    const int number = zeroStart_ ? line - 1 : line;
    const QChar fill = leadingZeros_ ? QLatin1Char('0') : QLatin1Char(' ');
    return QString::number(number).rightJustified(autoSizeDigitCount_, fill);
}

int TCodeGutter::PixelWidth(int charWidth) const
{
    if (!visible_) {
        return 0;
    }
    if (showLineNumbers_) {
        return leftOffset_ + rightOffset_ + autoSizeDigitCount_ * charWidth + 2;
    }
    return width_;
}

void TCodeGutter::Assign(const TPersistent* source)
{
    const auto* other = ObjectCast<TCodeGutter>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    // The font's own change event would fire a second time; hold it while copying.
    font_.OnChange = nullptr;
    font_.Assign(&other->font_);
    font_.OnChange = MakeDelegate<&TCodeGutter::FontChanged>(this);
    useFontStyle_ = other->useFontStyle_;
    color_ = other->color_;
    visible_ = other->visible_;
    width_ = other->width_;
    showLineNumbers_ = other->showLineNumbers_;
    leadingZeros_ = other->leadingZeros_;
    zeroStart_ = other->zeroStart_;
    leftOffset_ = other->leftOffset_;
    digitCount_ = other->digitCount_;
    rightOffset_ = other->rightOffset_;
    autoSize_ = other->autoSize_;
    autoSizeDigitCount_ = other->autoSizeDigitCount_;
    Changed();
}
