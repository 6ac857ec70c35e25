#pragma once
// What texture and material tests share: a context without a window system, made
// current so texture names can be allocated against the recording OpenGL table,
// extension flags that are put back afterwards, small pictures, and a folder of its own
// per test for tests that read and write files.

#include "../support/TempFolderTest.h"
#include "NullContext.h"
#include "platform/core/graphics/Graphics.h"
#include "scene/rendering/GLStateCache.h"
#include "scene/graph/RenderContextInfo.h"
#include "scene/rendering/TexCoordRouter.h"
#include "scene/base/GLRecordingTable.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace texturetest {

// A current context, a recorder, a state cache and a render record; extension and
// version flags are restored when it ends.
struct TRecordingScene {
    TRecordingScene()
    {
        // The router copies entry points when switched: start from the recorder's.
        MapTexCoordNowhere();
        rci.GLStates = &states;
        rci.modelViewMatrix = &modelView;
    }
    ~TRecordingScene()
    {
        MapTexCoordNowhere();
        GLExt = savedExt;
        GLVersion = savedVersion;
    }

    TGLExtensionFlags savedExt = GLExt;
    TGLVersionFlags savedVersion = GLVersion;
    TGLRecorder gl;
    scenetest::TNullContext context;
    TGLStateCache states;
    TMatrix modelView = IdentityMatrix;
    TRenderContextInfo rci;
};

// A 24-bit bitmap of one colour (blue, green, red as the platform stores it).
inline std::unique_ptr<TBitmap> SolidBitmap(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(width, height);
    bitmap->Fill(b, g, r);
    return bitmap;
}

using testsupport::TTempFolderTest;

} // namespace texturetest
