#include "platform/core/Font.h"

void TFont::SetName(const std::string& value)
{
    if (value != name_) {
        name_ = value;
        Changed();
    }
}

void TFont::SetSize(int value)
{
    if (value != size_) {
        size_ = value;
        Changed();
    }
}

void TFont::SetStyle(TFontStyles value)
{
    if (value != style_) {
        style_ = value;
        Changed();
    }
}

void TFont::SetColor(TColor value)
{
    if (value != color_) {
        color_ = value;
        Changed();
    }
}

void TFont::Assign(const TPersistent* source)
{
    if (const auto* font = ObjectCast<TFont>(source)) {
        name_ = font->name_;
        size_ = font->size_;
        style_ = font->style_;
        color_ = font->color_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TFont::Changed()
{
    if (OnChange) {
        OnChange(this);
    }
}
