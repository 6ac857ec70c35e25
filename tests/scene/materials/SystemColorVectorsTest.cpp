#include "platform/core/Exceptions.h"
#include "platform/core/graphics/SystemColors.h"
#include "scene/materials/Color.h"
#include "scene/materials/SystemColorVectors.h"

#include <gtest/gtest.h>

TEST(SystemColorVectors, EachEntryIsItsSystemColourWithFullAlpha)
{
    InitSystemColors();
    for (int i = 0; i < SystemColorVectorCount; ++i) {
        const TVector& v = SystemColorVector(i);
        const TColor rgb = GetSysColor(i);
        EXPECT_EQ(VectorToColor(v), rgb) << "index " << i;
        EXPECT_EQ(v.W, 1) << "index " << i;
    }
    const TVector face = SystemColorVector(15);
    EXPECT_EQ(face.X, ColorToVector(clBtnFace).X);
    EXPECT_THROW(SystemColorVector(-1), EAssertionFailed);
    EXPECT_THROW(SystemColorVector(SystemColorVectorCount), EAssertionFailed);
}
