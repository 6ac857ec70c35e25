#include <gtest/gtest.h>

#include "scene/viewer/GLXAttributeList.h"

#include <GL/glx.h>

#include <vector>

namespace {

TEST(GLXAttributeList, KeepsPairsBeforeTheTerminator)
{
    TGLXAttributeList list;
    EXPECT_EQ(list.Values(), (std::vector<int>{0}));
    list.Add(GLX_DEPTH_SIZE, 24);
    list.Add(GLX_STENCIL_SIZE, 8);
    EXPECT_EQ(list.Values(), (std::vector<int>{GLX_DEPTH_SIZE, 24, GLX_STENCIL_SIZE, 8, 0}));
    list.Change(GLX_DEPTH_SIZE, 16);
    list.Change(GLX_SAMPLES, 4);
    EXPECT_EQ(list.Values(), (std::vector<int>{GLX_DEPTH_SIZE, 16, GLX_STENCIL_SIZE, 8, GLX_SAMPLES, 4, 0}));
    list.Drop(GLX_STENCIL_SIZE);
    list.Drop(GLX_AUX_BUFFERS); // absent: nothing
    EXPECT_EQ(list.Values(), (std::vector<int>{GLX_DEPTH_SIZE, 16, GLX_SAMPLES, 4, 0}));
    list.Clear();
    EXPECT_EQ(list.Values(), (std::vector<int>{0}));
}

TEST(GLXAttributeList, MatchesAttributesNotValues)
{
    TGLXAttributeList list;
    // A value that happens to equal an attribute name.
    list.Add(GLX_DRAWABLE_TYPE, GLX_DEPTH_SIZE);
    list.Change(GLX_DEPTH_SIZE, 24);
    EXPECT_EQ(list.Value(GLX_DRAWABLE_TYPE), GLX_DEPTH_SIZE);
    EXPECT_EQ(list.Value(GLX_DEPTH_SIZE), 24);
    list.Drop(GLX_DEPTH_SIZE);
    EXPECT_EQ(list.Values(), (std::vector<int>{GLX_DRAWABLE_TYPE, GLX_DEPTH_SIZE, 0}));
}

TEST(GLXAttributeList, ColorBitsSetEachChannel)
{
    const int cases[][2] = {{32, 8}, {24, 8}, {16, 5}, {15, 5}, {64, 16}, {128, 32}};
    for (const auto& [bits, channel] : cases) {
        TGLXAttributeList list;
        SetColorBits(list, bits);
        for (int attribute : {GLX_RED_SIZE, GLX_GREEN_SIZE, GLX_BLUE_SIZE}) {
            EXPECT_EQ(list.Value(attribute), channel) << bits << " bits, attribute " << attribute;
        }
    }
}

// Records every list it is asked about and accepts the n-th request.
struct FakeChooser {
    int acceptAt;
    std::vector<TGLXAttributeList> asked;
    int operator()(const TGLXAttributeList& list)
    {
        asked.push_back(list);
        return static_cast<int>(asked.size()) == acceptAt ? 3 : 0;
    }
};

TEST(ChooseFramebufferConfig, FallsBackThroughDepthColourAndConformance)
{
    TGLXFramebufferRequest request;
    request.DepthBits = 32;
    request.ColorBits = 32;
    FakeChooser chooser{5, {}};
    TGLXAttributeList list;
    const int count = ChooseFramebufferConfig(list, request, std::ref(chooser));
    EXPECT_EQ(count, 3);
    ASSERT_EQ(chooser.asked.size(), 5u);
    EXPECT_EQ(chooser.asked[0].Value(GLX_DEPTH_SIZE), 32);
    EXPECT_EQ(chooser.asked[1].Value(GLX_DEPTH_SIZE), 24);
    EXPECT_EQ(chooser.asked[2].Value(GLX_DEPTH_SIZE), 16);
    EXPECT_EQ(chooser.asked[3].Value(GLX_DEPTH_SIZE), 16);
    EXPECT_EQ(chooser.asked[3].Value(GLX_RED_SIZE), 5);
    // Last: the original request, without asking for a conformant configuration.
    EXPECT_EQ(chooser.asked[4].Value(GLX_DEPTH_SIZE), 32);
    EXPECT_EQ(chooser.asked[4].Value(GLX_RED_SIZE), 8);
    EXPECT_FALSE(chooser.asked[4].Has(GLX_CONFIG_CAVEAT));
    EXPECT_TRUE(chooser.asked[0].Has(GLX_CONFIG_CAVEAT));
}

TEST(ChooseFramebufferConfig, StopsAtTheFirstSuccessAndSmallRequestsGoStraightToTheLastResort)
{
    TGLXFramebufferRequest request;
    request.DepthBits = 24;
    FakeChooser chooser{2, {}};
    TGLXAttributeList list;
    EXPECT_EQ(ChooseFramebufferConfig(list, request, std::ref(chooser)), 3);
    EXPECT_EQ(chooser.asked.size(), 2u);
    EXPECT_EQ(list.Value(GLX_DEPTH_SIZE), 16);
    request.DepthBits = 16;
    request.ColorBits = 16;
    FakeChooser refusing{0, {}};
    TGLXAttributeList small;
    EXPECT_EQ(ChooseFramebufferConfig(small, request, std::ref(refusing)), 0);
    EXPECT_EQ(refusing.asked.size(), 2u);
}

TEST(ChooseFramebufferConfig, SampleAttributesFollowTheAntiAliasingWish)
{
    struct Case {
        TGLAntiAliasing aa;
        bool supported;
        int sampleBuffers; // -1: absent
        int samples;
    };
    const Case cases[] = {{aaDefault, true, -1, -1}, {aaNone, true, 0, -1}, {aa2x, true, 1, 2}, {aa2xHQ, true, 1, 2},
                          {aa4x, true, 1, 4},        {aa4xHQ, true, 1, 4},
                          {aa4x, false, -1, -1}}; // no multisampling: no sample attributes at all
    for (const Case& c : cases) {
        TGLXFramebufferRequest request;
        request.AntiAliasing = c.aa;
        request.MultisampleSupported = c.supported;
        FakeChooser chooser{1, {}};
        TGLXAttributeList list;
        ChooseFramebufferConfig(list, request, std::ref(chooser));
        EXPECT_EQ(list.Value(GLX_SAMPLE_BUFFERS), c.sampleBuffers) << int(c.aa) << " " << c.supported;
        EXPECT_EQ(list.Value(GLX_SAMPLES), c.samples) << int(c.aa) << " " << c.supported;
    }
}

TEST(ChooseFramebufferConfig, DropsTheSampleWishBeforeTheNextFallback)
{
    TGLXFramebufferRequest request;
    request.AntiAliasing = aa4x;
    request.MultisampleSupported = true;
    request.DepthBits = 24;
    FakeChooser chooser{2, {}};
    TGLXAttributeList list;
    ChooseFramebufferConfig(list, request, std::ref(chooser));
    EXPECT_TRUE(chooser.asked[0].Has(GLX_SAMPLES));
    EXPECT_FALSE(chooser.asked[1].Has(GLX_SAMPLES));
    EXPECT_FALSE(chooser.asked[1].Has(GLX_SAMPLE_BUFFERS));
}

TEST(ChooseFramebufferConfig, RequestsOnlyWhatIsAskedFor)
{
    TGLXFramebufferRequest request;
    request.DepthBits = 24;
    request.StencilBits = 8;
    request.AccumBits = 64;
    FakeChooser chooser{1, {}};
    TGLXAttributeList list;
    list.Add(GLX_DRAWABLE_TYPE, GLX_PBUFFER_BIT);
    ChooseFramebufferConfig(list, request, std::ref(chooser));
    EXPECT_EQ(list.Value(GLX_DRAWABLE_TYPE), GLX_PBUFFER_BIT);
    EXPECT_FALSE(list.Has(GLX_ALPHA_SIZE));
    EXPECT_FALSE(list.Has(GLX_AUX_BUFFERS));
    EXPECT_EQ(list.Value(GLX_STENCIL_SIZE), 8);
    EXPECT_EQ(list.Value(GLX_ACCUM_RED_SIZE), 16);
    EXPECT_EQ(list.Value(GLX_RENDER_TYPE), GLX_RGBA_BIT);
}

} // namespace
