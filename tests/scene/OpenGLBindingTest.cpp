#include "scene/base/GLRecordingTable.h"
#include "scene/base/OpenGLBinding.h"

#include <gtest/gtest.h>

namespace {

TEST(SplitVersionStringTest, SplitsAroundTheFirstDot)
{
    const struct {
        const char* text;
        int major, minor;
    } cases[] = {{"1.5.0 NVIDIA 53.03", 1, 5}, {"2.0", 2, 0}, {"4.5 (Compatibility Profile) Mesa 22.3.6", 4, 5},
                 {"OpenGL ES 3.2 Mesa", 3, 2}, {"12.34", 12, 34}, {"no dot here", 0, 0}, {".5", 0, 0}, {"1.", 0, 0},
                 {"x.5", 0, 0}, {"1.x", 0, 0}, {"", 0, 0},
                 // Too large for an integer: the failure is caught.
                 {"99999999999.1", 0, 0}};
    for (const auto& c : cases) {
        int major = -1;
        int minor = -1;
        SplitVersionString(c.text, major, minor);
        EXPECT_EQ(major, c.major) << c.text;
        EXPECT_EQ(minor, c.minor) << c.text;
    }
}

TEST(HasGLExtensionTest, LooksAtTheFirstOccurrenceOnly)
{
    const struct {
        const char* name;
        const char* extensions;
        bool expected;
    } cases[] = {{"GL_ARB_multitexture", "GL_ARB_texture_cube_map GL_ARB_multitexture", true},
                 {"GL_ARB_texture_cube_map", "GL_ARB_texture_cube_map GL_ARB_multitexture", true},
                 // The first occurrence is followed by "_", so the later exact one is not seen.
                 {"GL_ARB_shadow", "GL_ARB_shadow_ambient GL_ARB_shadow", false},
                 {" GL_ARB_multisample", "GL_ARB_multisample GL_EXT_abgr", false},
                 {" GL_ARB_multisample", "GL_EXT_abgr GL_ARB_multisample", true},
                 {" GL_ARB_multisample", "WGL_ARB_multisample", false},
                 // What precedes the occurrence is not examined.
                 {"GL_EXT_abgr", "XGL_EXT_abgr", true}, {"GL_EXT_bgra", "", false},
                 {"GL_EXT_bgra", "GL_EXT_bgr", false}};
    for (const auto& c : cases)
        EXPECT_EQ(HasGLExtension(c.name, c.extensions), c.expected) << c.name << " in '" << c.extensions << "'";
}

TEST(HasWGLExtension, IsAPlainSubstringTest)
{
    EXPECT_TRUE(HasWGLExtension("WGL_ARB_pixel_format", "WGL_ARB_pixel_format_float"));
    EXPECT_FALSE(HasWGLExtension("WGL_ARB_pbuffer ", "WGL_ARB_extensions_string WGL_ARB_pbuffer"));
    EXPECT_TRUE(HasWGLExtension("WGL_ARB_pbuffer ", "WGL_ARB_pbuffer WGL_ARB_pixel_format"));
}

TEST(GLVersionFlagsTest, FollowTheVersionString)
{
    const struct {
        const char* version;
        bool gl11, gl12, gl13, gl14, gl15;
    } cases[] = {{"1.5.0 Vendor 1.2", true, true, true, true, true}, {"2.0", true, true, true, true, true},
                 {"1.1", true, false, false, false, false}, {"1.3.1", true, true, true, false, false},
                 {"version one", false, false, false, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
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
}

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
