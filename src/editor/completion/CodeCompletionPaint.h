#pragma once
// The completion pop-up drawn on a canvas whose origin is the window's top left corner:
// a one-pixel frame; for a list, the visible rows below the title bar (the selected one
// in the selection colours) and the title bar with its raised bevel; for a hint or a
// parameter hint, every item in pretty text. The window paints through it; tests read
// it back from a recording canvas.

#include "editor/completion/CodeCompletionForm.h"
#include "platform/core/graphics/Canvas.h"

// `width` and `height` are the window's client size.
void PaintCompletionPopup(TCodeBaseCompletionProposalForm& form, TCanvas& canvas, int width, int height);

// Draws an item's pretty text with its top at y in the canvas's current font, restoring
// the canvas's font and colours afterwards. `highlighted` keeps the text colour the
// canvas has (the selected row); `align` lines the second column up behind the biggest
// word.
void PaintPrettyText(TCanvas& canvas, int x, int y, bool highlighted, int biggestWordWidth, bool align,
                     const QString& text);
