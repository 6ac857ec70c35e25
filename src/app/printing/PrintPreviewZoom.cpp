#include "app/printing/PrintPreviewZoom.h"

#include "editor/printing/CodeEditPrintPreview.h"

#include <algorithm>

void PreviewMouseZoom(TCodeEditPrintPreview& preview, bool leftButton)
{
    if (!leftButton) {
        preview.SetScalePercent(std::max(preview.ScalePercent() / 2, 25));
    } else if (preview.ScaleMode() == pscWholePage) {
        preview.SetScalePercent(100);
    } else {
        preview.SetScalePercent(std::min(preview.ScalePercent() * 2, 400));
    }
}
