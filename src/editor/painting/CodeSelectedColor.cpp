#include "editor/painting/CodeSelectedColor.h"

void TCodeSelectedColor::Changed()
{
    if (OnChange) {
        OnChange(this);
    }
}

void TCodeSelectedColor::SetBackground(TColor color)
{
    if (color != background_) {
        background_ = color;
        Changed();
    }
}

void TCodeSelectedColor::SetForeground(TColor color)
{
    if (color != foreground_) {
        foreground_ = color;
        Changed();
    }
}

void TCodeSelectedColor::Assign(const TPersistent* source)
{
    if (const auto* other = ObjectCast<TCodeSelectedColor>(source)) {
        background_ = other->background_;
        foreground_ = other->foreground_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}
