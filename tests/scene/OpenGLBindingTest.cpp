#include "scene/base/GLRecordingTable.h"
#include "scene/base/OpenGLBinding.h"

#include <gtest/gtest.h>

namespace {

struct VersionCase {
    const char* text;
    int major;
    int minor;
};

class SplitVersionStringTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(SplitVersionStringTest, SplitsAroundTheFirstDot)
{
    const VersionCase& c = GetParam();
    int major = -1;
    int minor = -1;
    SplitVersionString(c.text, major, minor);
    EXPECT_EQ(major, c.major) << c.text;
    EXPECT_EQ(minor, c.minor) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Texts, SplitVersionStringTest,
                         ::testing::Values(VersionCase{"1.5.0 NVIDIA 53.03", 1, 5}, VersionCase{"2.0", 2, 0},
                                           VersionCase{"4.5 (Compatibility Profile) Mesa 22.3.6", 4, 5},
                                           VersionCase{"OpenGL ES 3.2 Mesa", 3, 2}, VersionCase{"12.34", 12, 34},
                                           VersionCase{"no dot here", 0, 0}, VersionCase{".5", 0, 0},
                                           VersionCase{"1.", 0, 0}, VersionCase{"x.5", 0, 0},
                                           VersionCase{"1.x", 0, 0}, VersionCase{"", 0, 0},
                                           // Too large for an integer: the failure is caught.
                                           VersionCase{"99999999999.1", 0, 0}));

struct ExtensionCase {
    const char* name;
    const char* extensions;
    bool expected;
};

class HasGLExtensionTest : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(HasGLExtensionTest, LooksAtTheFirstOccurrenceOnly)
{
    const ExtensionCase& c = GetParam();
    EXPECT_EQ(HasGLExtension(c.name, c.extensions), c.expected) << c.name << " in '" << c.extensions << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Strings, HasGLExtensionTest,
    ::testing::Values(ExtensionCase{"GL_ARB_multitexture", "GL_ARB_texture_cube_map GL_ARB_multitexture", true},
                      ExtensionCase{"GL_ARB_texture_cube_map", "GL_ARB_texture_cube_map GL_ARB_multitexture", true},
                      // The first occurrence is followed by "_", so the later exact one is not seen.
                      ExtensionCase{"GL_ARB_shadow", "GL_ARB_shadow_ambient GL_ARB_shadow", false},
                      ExtensionCase{" GL_ARB_multisample", "GL_ARB_multisample GL_EXT_abgr", false},
                      ExtensionCase{" GL_ARB_multisample", "GL_EXT_abgr GL_ARB_multisample", true},
                      ExtensionCase{" GL_ARB_multisample", "WGL_ARB_multisample", false},
                      // What precedes the occurrence is not examined.
                      ExtensionCase{"GL_EXT_abgr", "XGL_EXT_abgr", true},
                      ExtensionCase{"GL_EXT_bgra", "", false}, ExtensionCase{"GL_EXT_bgra", "GL_EXT_bgr", false}));

TEST(HasWGLExtension, IsAPlainSubstringTest)
{
    EXPECT_TRUE(HasWGLExtension("WGL_ARB_pixel_format", "WGL_ARB_pixel_format_float"));
    EXPECT_FALSE(HasWGLExtension("WGL_ARB_pbuffer ", "WGL_ARB_extensions_string WGL_ARB_pbuffer"));
    EXPECT_TRUE(HasWGLExtension("WGL_ARB_pbuffer ", "WGL_ARB_pbuffer WGL_ARB_pixel_format"));
}

struct VersionFlagsCase {
    const char* version;
    bool gl11, gl12, gl13, gl14, gl15;
};

class GLVersionFlagsTest : public ::testing::TestWithParam<VersionFlagsCase> {};

TEST_P(GLVersionFlagsTest, FollowTheVersionString)
{
    const VersionFlagsCase& c = GetParam();
    TGLRecorder gl;
    gl.Version = c.version;
    ReadGLVersionAndExtensions();
    EXPECT_TRUE(GLVersion.OpenGL_1_0);
    EXPECT_EQ(GLVersion.OpenGL_1_1, c.gl11);
    EXPECT_EQ(GLVersion.OpenGL_1_2, c.gl12);
    EXPECT_EQ(GLVersion.OpenGL_1_3, c.gl13);
    EXPECT_EQ(GLVersion.OpenGL_1_4, c.gl14);
    EXPECT_EQ(GLVersion.OpenGL_1_5, c.gl15);
}

INSTANTIATE_TEST_SUITE_P(Versions, GLVersionFlagsTest,
                         ::testing::Values(VersionFlagsCase{"1.5.0 Vendor 1.2", true, true, true, true, true},
                                           VersionFlagsCase{"2.0", true, true, true, true, true},
                                           VersionFlagsCase{"1.1", true, false, false, false, false},
                                           VersionFlagsCase{"1.3.1", true, true, true, false, false},
                                           VersionFlagsCase{"version one", false, false, false, false, false}));

TEST(GLUVersionFlags, FollowTheGLUVersionString)
{
    TGLRecorder gl;
    gl.GLUVersion = "1.2.2";
    ReadGLVersionAndExtensions();
    EXPECT_TRUE(GLVersion.GLU_1_1);
    EXPECT_TRUE(GLVersion.GLU_1_2);
    EXPECT_FALSE(GLVersion.GLU_1_3);
    gl.GLUVersion = "garbage";
    ReadGLVersionAndExtensions();
    EXPECT_TRUE(GLVersion.GLU_1_1);
    EXPECT_FALSE(GLVersion.GLU_1_2);
}

TEST(GLExtensionFlags, AreReadWithTheirMatchingTexts)
{
    TGLRecorder gl;
    gl.Extensions = "GL_ARB_multisample GL_ARB_texture_cube_map GL_ARB_shadow_ambient GL_ARB_shadow "
                    "GL_EXT_stencil_two_side GL_3DFX_tbuffer GL_ARB_multitexture";
    gl.GLUExtensions = "GLU_EXT_nurbs_tessellator GLU_EXT_object_space_tess";
    ReadGLVersionAndExtensions();
    EXPECT_FALSE(GLExt.ARB_multisample); // at the very start: no leading blank
    EXPECT_TRUE(GLExt.ARB_texture_cube_map);
    EXPECT_FALSE(GLExt.ARB_shadow);
    EXPECT_TRUE(GLExt.EXT_stencil_two_side);
    EXPECT_TRUE(GLExt._3DFX_tbuffer);
    EXPECT_TRUE(GLExt.ARB_multitexture);
    EXPECT_FALSE(GLExt.EXT_abgr);
    EXPECT_TRUE(GLUExt.EXT_nurbs_tessellator);
    EXPECT_TRUE(GLUExt.EXT_object_space_tess);
    EXPECT_FALSE(GLUExt.EXT_TEXTURE);
}

TEST(WGLExtensionFlags, ComeFromThePlatformString)
{
    TGLRecorder gl;
    gl.Extensions = "WGL_ARB_extensions_string";
    const TGLPlatformHooks saved = GLPlatformHooks;
    GLPlatformHooks.ExtensionsString = [] { return std::string("WGL_ARB_multisample WGL_ARB_pixel_format WGL_ARB_pbuffer"); };
    ReadGLVersionAndExtensions();
    EXPECT_TRUE(WGLExt.ARB_multisample);
    EXPECT_TRUE(WGLExt.ARB_pixel_format);
    EXPECT_FALSE(WGLExt.ARB_pbuffer); // ends the string without the trailing blank
    // Set from the OpenGL string first, then again from the platform string.
    EXPECT_FALSE(WGLExt.ARB_extensions_string);
    GLPlatformHooks.ExtensionsString = nullptr;
    ReadWGLExtensions();
    EXPECT_FALSE(WGLExt.ARB_multisample);
    GLPlatformHooks = saved;
}

TEST(GLRecorder, LogsCallsAndRestoresTheTable)
{
    const TGLProcTable before = GL;
    {
        TGLRecorder gl;
        GL.glEnable(GL_BLEND);
        const GLfloat color[4] = {0.5f, 0.25f, 1, 1};
        GL.glMaterialfv(GL_FRONT, GL_DIFFUSE, color);
        ASSERT_EQ(gl.Calls().size(), 2u);
        EXPECT_EQ(gl.Calls()[0].Text, "glEnable(3042)");
        EXPECT_EQ(gl.Calls()[1].Text, "glMaterialfv(1028, 4609, @)");
        EXPECT_EQ(gl.Calls()[1].Data, (std::vector<double>{0.5, 0.25, 1, 1}));
    }
    EXPECT_EQ(GL.glEnable, before.glEnable);
}

TEST(GLRecorder, AnswersQueriesFromItsFields)
{
    TGLRecorder gl;
    gl.Integers[GL_VIEWPORT] = {0, 0, 640, 480};
    gl.Floats[GL_LINE_WIDTH] = {2.5f};
    gl.PendingErrors = {GL_INVALID_VALUE};
    GLint viewport[4] = {};
    GL.glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    GLfloat width = 0;
    GL.glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 2.5f);
    GLdouble unknown = 7;
    GL.glGetDoublev(GL_POINT_SIZE, &unknown);
    EXPECT_EQ(unknown, 0);
    EXPECT_EQ(GL.glGetError(), GLenum(GL_INVALID_VALUE));
    EXPECT_EQ(GL.glGetError(), GLenum(GL_NO_ERROR));
    const GLuint first = GL.glGenLists(3);
    EXPECT_EQ(GL.glGenLists(1), first + 3);
    GLuint texture = 0;
    GL.glGenTextures(1, &texture);
    EXPECT_TRUE(GL.glIsTexture(texture));
    GL.glDeleteTextures(1, &texture);
    EXPECT_FALSE(GL.glIsTexture(texture));
    EXPECT_EQ(gl.CallsTo("glDeleteTextures")[0].Data, (std::vector<double>{double(texture)}));
    EXPECT_STREQ(reinterpret_cast<const char*>(GL.glGetString(GL_VERSION)), "1.1");
    EXPECT_EQ(GL.glGetString(GL_SHADING_LANGUAGE_VERSION), nullptr);
}

TEST(OpenGLLibraries, FailToLoadUnknownNamesAndLeaveNothingLoaded)
{
    EXPECT_FALSE(LoadOpenGLLibraries("libNoSuchGL.so.1", GLULibraryName));
    EXPECT_FALSE(OpenGLLibrariesLoaded());
    EXPECT_EQ(OpenGLLibraryHandle(), nullptr);
    EXPECT_EQ(GL.glEnable, nullptr);
}

} // namespace
