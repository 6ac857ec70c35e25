#include "editor/highlighting/CodeHighlighterAttributes.h"

TCodeHighlighterAttributes::TCodeHighlighterAttributes(const QString& name) : name_(name) {}

void TCodeHighlighterAttributes::Changed()
{
    if (OnChange) {
        OnChange(this);
    }
}

void TCodeHighlighterAttributes::SetBackground(TColor color)
{
    if (color != background_) {
        background_ = color;
        Changed();
    }
}

void TCodeHighlighterAttributes::SetForeground(TColor color)
{
    if (color != foreground_) {
        foreground_ = color;
        Changed();
    }
}

void TCodeHighlighterAttributes::SetStyle(TFontStyles style)
{
    if (style != style_) {
        style_ = style;
        Changed();
    }
}

void TCodeHighlighterAttributes::Assign(const TPersistent* source)
{
    const auto* other = ObjectCast<TCodeHighlighterAttributes>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    name_ = other->name_;
    const bool changed =
        background_ != other->background_ || foreground_ != other->foreground_ || style_ != other->style_;
    background_ = other->background_;
    foreground_ = other->foreground_;
    style_ = other->style_;
    if (changed) {
        Changed();
    }
}

void TCodeHighlighterAttributes::StoreCurrentAsDefaults()
{
    backgroundDefault_ = background_;
    foregroundDefault_ = foreground_;
    styleDefault_ = style_;
}
