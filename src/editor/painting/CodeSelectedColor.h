#pragma once
// The colours of selected text.

#include "platform/core/graphics/ColorValue.h"
#include "platform/core/objects/Delegate.h"
#include "platform/core/objects/Persistent.h"

class TCodeSelectedColor : public TPersistent {
    KP_CLASS(TCodeSelectedColor, TPersistent)
public:
    TColor Background() const { return background_; }
    void SetBackground(TColor color);
    TColor Foreground() const { return foreground_; }
    void SetForeground(TColor color);

    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Changed();

    TColor background_ = clHighlight;
    TColor foreground_ = clHighlightText;
};
