#include "scene/objects/text/SpaceText.h"

#include "../../ErrorTextTestSupport.h"
#include "../../FakeGlyphProvider.h"
#include "../../NullContext.h"
#include "../../ObjectTestSupport.h"
#include "../../RealGluTessellator.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace scenetest;

std::vector<int> calledOffsets;

void APIENTRY CaptureCallLists(GLsizei n, GLenum type, const void* lists)
{
    TGLCall call;
    call.Name = "glCallLists";
    call.Args = {double(n), double(type)};
    TGLRecorder::Current()->Record(std::move(call));
    calledOffsets.assign(static_cast<const GLubyte*>(lists), static_cast<const GLubyte*>(lists) + n);
}

class SpaceText : public ObjectRecording {
protected:
    SpaceText() : scope(&provider)
    {
        recorder.NextName = 100;
        GL.glCallLists = CaptureCallLists;
        calledOffsets.clear();
    }
    ~SpaceText() override
    {
        texts.clear();
        ReleaseFontManager();
    }
    void SetUp() override
    {
        if (!glu.Available()) {
            GTEST_SKIP() << "libGLU is not installed";
        }
    }

    TGLSpaceText& NewText(const std::string& text)
    {
        texts.push_back(std::make_unique<TGLSpaceText>());
        texts.back()->SetText(text);
        return *texts.back();
    }
    void Render(TGLSpaceText& text) { text.DoRender(rci, false, false); }
    std::vector<TGLCall> Build(TGLSpaceText& text)
    {
        recorder.Clear();
        text.BuildList(rci);
        return recorder.Calls();
    }

    TRealGluTessellator glu;
    TNullContext context;
    TFakeGlyphProvider provider;
    TGlyphProviderScope scope;
    std::vector<std::unique_ptr<TGLSpaceText>> texts;
};

TEST_F(SpaceText, ANegativeExtrusionFailsAndIsNotStoredANegativeDeviationIsZero)
{
    TGLSpaceText& text = NewText("X");
    text.SetAllowedDeviation(0.01f);
    text.SetAllowedDeviation(-1);
    EXPECT_EQ(text.AllowedDeviation(), 0);
    text.SetExtrusion(0.2f);
    const std::string error = ErrorText<EAssertionFailed>([&] { text.SetExtrusion(-0.1f); });
    EXPECT_EQ(error.rfind("Extrusion must be >=0", 0), 0u) << error;
    EXPECT_EQ(text.Extrusion(), 0.2f);
}

TEST_F(SpaceText, TheFirstRenderAcquiresTheGlyphsOfTheFont)
{
    TGLSpaceText& text = NewText("X");
    TFont bold;
    bold.SetName("Arial");
    bold.SetStyle(TFont::fsBold);
    text.SetFont(bold);
    text.SetExtrusion(0.2f);
    Render(text);
    ASSERT_NE(text.FontEntry(), nullptr);
    EXPECT_EQ(text.FontEntry()->RefCount, 1);
    EXPECT_EQ(text.FontEntry()->Extrusion, 0.2f);
    EXPECT_EQ(text.FontEntry()->FirstChar, 0);
    EXPECT_EQ(text.FontEntry()->LastChar, 255);
    EXPECT_EQ(provider.selected, std::vector<std::string>{"Arial/1"});
    // Later renders reuse it.
    Render(text);
    EXPECT_EQ(recorder.Count("glGenLists"), 1);
}

TEST_F(SpaceText, AnEmptyTextAcquiresNothing)
{
    TGLSpaceText& text = NewText("");
    Render(text);
    EXPECT_EQ(text.FontEntry(), nullptr);
    EXPECT_EQ(recorder.Count("glGenLists"), 0);
    EXPECT_TRUE(Build(text).empty());
}

TEST_F(SpaceText, TextsOfTheSameFontInAnotherCaseShareOneBlockUntilBothAreGone)
{
    TGLSpaceText& a = NewText("X");
    TGLSpaceText& b = NewText("Y");
    TFont upper;
    upper.SetName("ARIAL");
    b.SetFont(upper);
    Render(a);
    Render(b);
    ASSERT_EQ(a.FontEntry(), b.FontEntry());
    EXPECT_EQ(a.FontEntry()->RefCount, 2);
    EXPECT_EQ(GetFontManager()->Count(), 1);
    texts[0].reset();
    EXPECT_EQ(recorder.Count("glDeleteLists"), 0);
    EXPECT_EQ(b.FontEntry()->RefCount, 1);
    texts[1].reset();
    EXPECT_EQ(recorder.Count("glDeleteLists"), 1);
    EXPECT_EQ(GetFontManager()->Count(), 0);
}

TEST_F(SpaceText, ChangingOnlyTheTextKeepsTheGlyphsChangingTheStyleRebuildsThem)
{
    TGLSpaceText& text = NewText("X");
    Render(text);
    const int requests = provider.glyphRequests;
    text.SetText("XYZ");
    EXPECT_NE(text.Changes() & ChangeBit(ocStructure), 0);
    Render(text);
    EXPECT_EQ(provider.glyphRequests, requests);
    EXPECT_EQ(recorder.Count("glGenLists"), 1);

    TFont italic;
    italic.SetName("Arial");
    italic.SetStyle(TFont::fsItalic);
    text.SetFont(italic);
    Render(text);
    EXPECT_EQ(recorder.Count("glGenLists"), 2);
    EXPECT_EQ(text.FontEntry()->Styles, TFont::fsItalic);
    // The old block had no other user.
    EXPECT_EQ(recorder.Count("glDeleteLists"), 1);
    EXPECT_EQ(GetFontManager()->Count(), 1);
}

TEST_F(SpaceText, ChangesThatAffectTheGlyphsAcquireThemAgain)
{
    const std::pair<const char*, void (*)(TGLSpaceText&)> cases[] = {
        {"extrusion", [](TGLSpaceText& t) { t.SetExtrusion(1); }},
        {"deviation", [](TGLSpaceText& t) { t.SetAllowedDeviation(0.1f); }},
        {"range", [](TGLSpaceText& t) { t.SetCharacterRange(stcrAlphaNum); }},
        {"adjust", [](TGLSpaceText& t) { t.Adjust().SetHorz(haCenter); }},
        {"handle destroyed", [](TGLSpaceText& t) { t.DestroyHandle(); }},
        {"lists lost", [](TGLSpaceText& t) { const_cast<TFontEntry*>(t.FontEntry())->FontBase->DestroyHandle(); }}};
    for (const auto& [what, change] : cases) {
        texts.clear();
        ReleaseFontManager();
        recorder.Clear();
        TGLSpaceText& text = NewText("X");
        Render(text);
        change(text);
        Render(text);
        EXPECT_EQ(recorder.Count("glGenLists"), 2) << what;
        ASSERT_NE(text.FontEntry(), nullptr) << what;
        EXPECT_EQ(text.FontEntry()->RefCount, 1) << what;
        EXPECT_EQ(GetFontManager()->Count(), 1) << what;
    }
}

TEST_F(SpaceText, AManagerNotificationOrAGoneManagerMakesTheTextForgetItsEntry)
{
    TGLSpaceText& text = NewText("X");
    Render(text);
    ReleaseFontManager(); // the manager tells its clients: no dangling entry
    EXPECT_EQ(text.FontEntry(), nullptr);
    Render(text);
    EXPECT_NE(text.FontEntry(), nullptr);
    TFontManager manager;
    text.NotifyChange(&manager);
    EXPECT_EQ(text.FontEntry(), nullptr);
    ReleaseFontManager();
    Render(text);
    ASSERT_NE(text.FontEntry(), nullptr);
    EXPECT_EQ(text.FontEntry()->RefCount, 1);
}

TEST_F(SpaceText, AFailedGlyphBuildIsRetriedABoundedNumberOfTimesWithoutLeaking)
{
    TGLSpaceText& text = NewText("X");
    provider.failSelect = true;
    for (int i = 0; i < TGLSpaceText::MaxFontAttempts; ++i) {
        EXPECT_THROW(Render(text), EGLWorldFontError) << "attempt " << i;
        EXPECT_EQ(text.FontEntry(), nullptr);
        EXPECT_EQ(GetFontManager()->Count(), 0);
    }
    const std::size_t asked = provider.selected.size();
    EXPECT_NO_THROW(Render(text));
    EXPECT_EQ(provider.selected.size(), asked);
    EXPECT_EQ(text.FailedFontAttempts(), TGLSpaceText::MaxFontAttempts);
    // Nothing to draw, and nothing read out of a missing block.
    EXPECT_TRUE(Build(text).empty());
    // A font change tries again.
    provider.failSelect = false;
    TFont other;
    other.SetName("Courier");
    text.SetFont(other);
    Render(text);
    ASSERT_NE(text.FontEntry(), nullptr);
    EXPECT_EQ(text.FontEntry()->RefCount, 1);
    EXPECT_EQ(text.FailedFontAttempts(), 0);
}

TEST_F(SpaceText, MetricsSumAdvancesAndFindTheExtremes)
{
    struct Case {
        const char* text;
        TSpaceTextCharRange range;
        float width, minY, maxY;
    };
    const Case cases[] = {{"Wp", stcrAll, 1.6f, -0.2f, 0.7f},
                          {"", stcrAll, 0, 0, 0},
                          {" ", stcrAll, 0.6f, 0, 0},
                          {"12", stcrNumbers, 1.2f, 0, 0.6f},
                          {"A1g", stcrNumbers, 0.6f, 0, 0.6f}, // outside the range: skipped
                          {"\xC3\xA9", stcrAll, 0.6f, 0, 0.7f},
                          {"\xE2\x82\xAC" "W", stcrAll, 1.0f, 0, 0.7f},
                          {"\xC3\xA9", stcrAlphaNum, 0, 0, 0}};
    for (const Case& c : cases) {
        TGLSpaceText& text = NewText("0");
        text.SetCharacterRange(c.range);
        Render(text);
        float width = -1, minY = -1, maxY = -1;
        const std::string measured = c.text;
        text.TextMetrics(&measured, width, minY, maxY);
        EXPECT_NEAR(width, c.width, 1e-6) << c.text;
        EXPECT_NEAR(minY, c.minY, 1e-6) << c.text;
        EXPECT_NEAR(maxY, c.maxY, 1e-6) << c.text;
    }
}

TEST_F(SpaceText, MetricsWithoutGlyphsAreZero)
{
    TGLSpaceText& text = NewText("Wp");
    float width = -1, minY = -1, maxY = -1;
    text.TextMetrics(nullptr, width, minY, maxY);
    EXPECT_EQ((std::vector<float>{width, minY, maxY}), (std::vector<float>{0, 0, 0}));
}

TEST_F(SpaceText, DrawsOneListPerCharacterOfTheRange)
{
    TGLSpaceText& text = NewText("a1b2");
    text.SetCharacterRange(stcrNumbers);
    Render(text);
    const auto calls = Build(text);
    EXPECT_EQ(recorder.CallsTo("glListBase")[0].Args[0], text.FontEntry()->ListBase());
    EXPECT_EQ(calledOffsets, (std::vector<int>{1, 2}));
    EXPECT_EQ(recorder.CallsTo("glCallLists")[0].Args[1], GL_UNSIGNED_BYTE);
    const unsigned saved = static_cast<unsigned>(recorder.CallsTo("glPushAttrib")[0].Args[0]);
    EXPECT_NE(saved & GL_POLYGON_BIT, 0u);
    EXPECT_NE(saved & GL_LIST_BIT, 0u);
    EXPECT_EQ(recorder.Count("glPushMatrix"), recorder.Count("glPopMatrix"));
    EXPECT_EQ(recorder.Count("glPushAttrib"), recorder.Count("glPopAttrib"));
    // Left and on the base line: no measuring, no moving.
    EXPECT_EQ(recorder.Count("glTranslatef"), 0);
    EXPECT_EQ(recorder.Count("glScalef"), 0);
}

TEST_F(SpaceText, AllCharactersMapToTheirCodes)
{
    TGLSpaceText& text = NewText("A\xC3\xA9");
    Render(text);
    Build(text);
    EXPECT_EQ(calledOffsets, (std::vector<int>{'A', 0xE9}));
}

struct TLayoutCase {
    const char* what;
    TGLTextHorzAdjust horz;
    TGLTextVertAdjust vert;
    float textHeight;
    std::vector<std::vector<double>> scales;
    std::vector<std::vector<double>> translations;
};

TEST_F(SpaceText, LayoutScalesAndMovesByTheMetrics)
{
    const TLayoutCase cases[] = {
        // Tallest glyph 1 high, centred both ways.
        {"centre, height 1", haCenter, vaCenter, 1, {{1 / 0.7, 1 / 0.7, 1}}, {{-0.8, 0, 0}, {0, -0.25, 0}}},
        {"right, top", haRight, vaTop, 0, {}, {{-1.6, 0, 0}, {0, -0.7, 0}}},
        {"left, bottom", haLeft, vaBottom, 0, {}, {{0, 0.2, 0}}},
        {"aligned, base line, height 2", haAligned, vaBaseLine, 2, {{2 / 0.7, 2 / 0.7, 1}}, {}},
        {"left, base line", haLeft, vaBaseLine, 0, {}, {}}};
    for (const TLayoutCase& c : cases) {
        TGLSpaceText& text = NewText("Wp"); // width 1.6, rise 0.7, descent 0.2
        text.Adjust().SetHorz(c.horz);
        text.Adjust().SetVert(c.vert);
        text.SetTextHeight(c.textHeight);
        Render(text);
        Build(text);
        for (const auto& [name, expected] : {std::pair{"glScalef", c.scales}, {"glTranslatef", c.translations}}) {
            const auto calls = recorder.CallsTo(name);
            ASSERT_EQ(calls.size(), expected.size()) << c.what << " " << name;
            for (std::size_t i = 0; i < calls.size(); ++i) {
                for (int k = 0; k < 3; ++k) {
                    EXPECT_NEAR(calls[i].Args[k], expected[i][k], 1e-6) << c.what << " " << name;
                }
            }
        }
    }
}

TEST_F(SpaceText, AspectRatioAndObliqueComeFirst)
{
    TGLSpaceText& text = NewText("X");
    text.SetAspectRatio(2);
    text.SetOblique(15);
    Render(text);
    Build(text);
    const auto texts = recorder.Texts();
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 3),
              (std::vector<std::string>{"glPushMatrix()", "glScalef(2, 1, 1)", "glRotatef(15, 0, 0, 1)"}));
}

TEST_F(SpaceText, ATextWithoutInkAboveTheBaseLineIsNotScaledToInfinity)
{
    TGLSpaceText& text = NewText("  ");
    text.SetTextHeight(1);
    Render(text);
    Build(text);
    EXPECT_EQ(recorder.Count("glScalef"), 0);
}

TEST(TextAdjust, AssignCopiesBothAndFiresOnce)
{
    TGLTextAdjust source, target;
    source.SetHorz(haRight);
    source.SetVert(vaTop);
    int fired = 0;
    struct TCounter {
        int* n;
        void Count(TObject*) { ++*n; }
    } counter{&fired};
    target.OnChange = TNotifyEvent::Make<&TCounter::Count>(&counter);
    target.Assign(&source);
    EXPECT_EQ(target.Horz(), haRight);
    EXPECT_EQ(target.Vert(), vaTop);
    EXPECT_EQ(fired, 1);
    target.SetHorz(haRight); // unchanged
    EXPECT_EQ(fired, 1);
    target.SetVert(vaCenter);
    EXPECT_EQ(fired, 2);
}

} // namespace
