#include "editor/painting/CodeEditFont.h"

TCodeEditFont::TCodeEditFont(const QString& name, int size, TFontStyles style)
    : name_(name), size_(size), style_(style)
{
}

void TCodeEditFont::Changed()
{
    if (OnChange) {
        OnChange(this);
    }
}

void TCodeEditFont::SetName(const QString& name)
{
    if (name != name_) {
        name_ = name;
        Changed();
    }
}

void TCodeEditFont::SetSize(int size)
{
    if (size != size_) {
        size_ = size;
        Changed();
    }
}

void TCodeEditFont::SetStyle(TFontStyles style)
{
    if (style != style_) {
        style_ = style;
        Changed();
    }
}

void TCodeEditFont::SetColor(TColor color)
{
    if (color != color_) {
        color_ = color;
        Changed();
    }
}

bool TCodeEditFont::operator==(const TCodeEditFont& other) const
{
    return name_ == other.name_ && size_ == other.size_ && style_ == other.style_ && color_ == other.color_;
}

void TCodeEditFont::Assign(const TPersistent* source)
{
    if (const auto* other = ObjectCast<TCodeEditFont>(source)) {
        if (*this == *other) {
            return;
        }
        name_ = other->name_;
        size_ = other->size_;
        style_ = other->style_;
        color_ = other->color_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}
