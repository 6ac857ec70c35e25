#pragma once
// What texture and material tests share: a context without a window system, made
// current so texture names can be allocated against the recording OpenGL table,
// extension flags that are put back afterwards, small pictures, and a folder of its own
// per test for tests that read and write files.

#include "NullContext.h"
#include "platform/core/Graphics.h"
#include "scene/GLStateCache.h"
#include "scene/RenderContextInfo.h"
#include "scene/TexCoordRouter.h"
#include "scene/base/GLRecordingTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

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

// A folder of its own per test (with the subfolders given), removed afterwards.
class TTempFolderTest : public ::testing::Test {
protected:
    explicit TTempFolderTest(std::initializer_list<const char*> subfolders = {})
        : folder(std::filesystem::temp_directory_path() /
                 ("kerfpad-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
        std::filesystem::create_directories(folder);
        for (const char* name : subfolders) {
            std::filesystem::create_directories(folder / name);
        }
    }
    ~TTempFolderTest() override { std::filesystem::remove_all(folder); }

    std::string Path(const std::string& name) const { return (folder / name).string(); }
    void WriteText(const std::string& name, const std::string& text) const
    {
        std::ofstream(Path(name), std::ios::binary) << text;
    }
    std::string ReadText(const std::string& name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::filesystem::path folder;
};

} // namespace texturetest
