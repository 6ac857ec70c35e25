// The print preview's zoom by mouse clicks. (Apart from the shell's other tests: the
// preview's header and the editor control's cannot share a unit.)

#include "app/printing/PrintPreviewZoom.h"

#include "editor/printing/CodeEditPrintPreview.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(PreviewMouseZoom, LeftZoomsInFromTheWholePageRightZoomsOut)
{
    TCodeEditPrintPreview preview;
    preview.SetScaleMode(pscWholePage);
    std::vector<int> percents;
    for (int i = 0; i < 4; ++i) {
        PreviewMouseZoom(preview, true);
        percents.push_back(preview.ScalePercent());
    }
    EXPECT_EQ(percents, (std::vector<int>{100, 200, 400, 400}));
    EXPECT_EQ(preview.ScaleMode(), pscUserScaled);
    preview.SetScalePercent(100);
    percents.clear();
    for (int i = 0; i < 3; ++i) {
        PreviewMouseZoom(preview, false);
        percents.push_back(preview.ScalePercent());
    }
    EXPECT_EQ(percents, (std::vector<int>{50, 25, 25}));
}

} // namespace
