#include "scene/objects/text/FontManager.h"

#include "../../ErrorTextTestSupport.h"
#include "../../FakeGlyphProvider.h"
#include "../../NullContext.h"
#include "scene/base/GLRecordingTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace scenetest;

class TClient : public TFontManagerClient {
public:
    void FontEntryReleased() override { ++released; }
    int released = 0;
};

class FontManager : public ::testing::Test {
protected:
    FontManager() : scope(&provider) { recorder.NextName = 40; }

    // How many times the block at `base` of `count` lists was deleted.
    int Deletions(GLuint base, int count) const
    {
        int n = 0;
        for (const TGLCall& call : recorder.CallsTo("glDeleteLists")) {
            n += call.Args == std::vector<double>{double(base), double(count)};
        }
        return n;
    }

    TGLRecorder recorder;
    TNullContext context;
    TFakeGlyphProvider provider;
    TGlyphProviderScope scope;
    TFontManager manager;
};

// The control characters: the fake font gives them no ink, so their lists need no
// tessellator.
constexpr int First = 0, Last = 31;

TEST_F(FontManager, SameFontInAnotherLetterCaseSharesOneBlock)
{
    TClient a, b;
    TFontEntry* first = manager.GetFontBase("Arial", TFont::fsBold, 0.2f, 0, First, Last, &a);
    TFontEntry* second = manager.GetFontBase("ARIAL", TFont::fsBold, 0.2f, 0, First, Last, &b);
    EXPECT_EQ(first, second);
    EXPECT_EQ(manager.Count(), 1);
    EXPECT_EQ(first->RefCount, 2);
    EXPECT_EQ(recorder.Count("glGenLists"), 1);
    EXPECT_EQ(first->ListBase(), 40u);
    EXPECT_EQ(first->Clients, (std::vector<TFontManagerClient*>{&a, &b}));

    manager.Release(first, &a);
    EXPECT_EQ(a.released, 1);
    EXPECT_EQ(Deletions(40, 32), 0);
    EXPECT_EQ(manager.Count(), 1);
    manager.Release(second, &b);
    EXPECT_EQ(b.released, 1);
    EXPECT_EQ(Deletions(40, 32), 1);
    EXPECT_EQ(manager.Count(), 0);
}

TEST_F(FontManager, AnyOtherAttributeGetsItsOwnBlock)
{
    struct Case {
        const char* what;
        const char* name;
        TFontStyles style;
        float extrusion, deviation;
        int first, last;
    };
    const Case cases[] = {{"name", "Courier", 0, 0.2f, 0, First, Last},
                          {"style", "Arial", TFont::fsItalic, 0.2f, 0, First, Last},
                          {"extrusion", "Arial", 0, 0.3f, 0, First, Last},
                          {"deviation", "Arial", 0, 0.2f, 0.01f, First, Last},
                          {"first", "Arial", 0, 0.2f, 0, 1, Last},
                          {"last", "Arial", 0, 0.2f, 0, First, 30}};
    for (const Case& c : cases) {
        TClient a, b;
        TFontEntry* first = manager.GetFontBase("Arial", 0, 0.2f, 0, First, Last, &a);
        TFontEntry* other = manager.GetFontBase(c.name, c.style, c.extrusion, c.deviation, c.first, c.last, &b);
        EXPECT_NE(first, other) << c.what;
        EXPECT_EQ(manager.Count(), 2) << c.what;
        EXPECT_EQ(first->RefCount, 1) << c.what;
        EXPECT_EQ(other->RefCount, 1) << c.what;
        EXPECT_EQ(manager.FindFont(c.name, c.style, c.extrusion, c.deviation, c.first, c.last), other) << c.what;
        manager.Release(first, &a);
        manager.Release(other, &b);
    }
}

TEST_F(FontManager, EveryRequestTakesAReferenceButListsTheClientOnce)
{
    TClient a;
    TFontEntry* entry = manager.GetFontBase("Arial", 0, 0, 0, First, Last, &a);
    manager.GetFontBase("Arial", 0, 0, 0, First, Last, &a);
    EXPECT_EQ(entry->RefCount, 2);
    EXPECT_EQ(entry->Clients.size(), 1u);
    manager.Release(entry, &a);
    manager.Release(entry, nullptr);
    EXPECT_EQ(manager.Count(), 0);
    manager.Release(nullptr, &a); // releasing nothing does nothing
    EXPECT_EQ(a.released, 1);
}

TEST_F(FontManager, TheLastReleaseTellsTheClientsStillListed)
{
    TClient a, b;
    TFontEntry* entry = manager.GetFontBase("Arial", 0, 0, 0, First, Last, &a);
    manager.GetFontBase("Arial", 0, 0, 0, First, Last, &b);
    // a's reference goes back without a naming a client: b is still listed at the end.
    manager.Release(entry, nullptr);
    EXPECT_EQ(a.released + b.released, 0);
    manager.Release(entry, nullptr);
    EXPECT_EQ(a.released, 1);
    EXPECT_EQ(b.released, 1);
    EXPECT_EQ(manager.Count(), 0);
    EXPECT_EQ(Deletions(40, 32), 1);
}

struct TFailureCase {
    const char* what;
    bool failSelect;
    bool noProvider;
    bool noLists;
    int first, last;
    const char* message;
};

class FontManagerFailure : public FontManager, public ::testing::WithParamInterface<TFailureCase> {};

TEST_P(FontManagerFailure, RaisesAndKeepsNoReferenceOrHalfBuiltBlock)
{
    const TFailureCase& c = GetParam();
    provider.failSelect = c.failSelect;
    if (c.noProvider) {
        SetGlyphOutlineProvider(nullptr);
    }
    if (c.noLists) {
        recorder.NextName = 0;
    }
    TClient a;
    EXPECT_EQ(ErrorText<EGLWorldFontError>([&] { manager.GetFontBase("Arial", 0, 0, 0, c.first, c.last, &a); }),
              c.message)
        << c.what;
    EXPECT_EQ(manager.Count(), 0) << c.what;
    EXPECT_EQ(a.released, 0);
    if (!c.noLists && c.first <= c.last) {
        // The lists made for the failed block are gone again.
        EXPECT_EQ(recorder.Count("glDeleteLists"), recorder.Count("glGenLists")) << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FontManagerFailure,
    ::testing::Values(
        TFailureCase{"no such font", true, false, false, First, Last, "FontManager: font creation failed"},
        TFailureCase{"no provider", false, true, false, First, Last, "FontManager: font creation failed"},
        TFailureCase{"no lists", false, false, true, First, Last, "FontManager: no more display lists available"},
        TFailureCase{"reversed range", false, false, false, 5, 4, "FontManager: font creation failed"},
        TFailureCase{"range too wide", false, false, false, 0, 256, "FontManager: font creation failed"}));

TEST_F(FontManager, AFailedRequestForASharedEntryLeavesTheOtherHolderAlone)
{
    TClient a, b;
    TFontEntry* entry = manager.GetFontBase("Arial", 0, 0, 0, First, Last, &a);
    // The context lost the block (say it was re-created): the next request rebuilds it,
    // and that fails.
    entry->FontBase->DestroyHandle();
    provider.failSelect = true;
    EXPECT_THROW(manager.GetFontBase("Arial", 0, 0, 0, First, Last, &b), EGLWorldFontError);
    ASSERT_EQ(manager.Count(), 1);
    EXPECT_EQ(entry->RefCount, 1);
    EXPECT_EQ(entry->Clients, std::vector<TFontManagerClient*>{&a});
    EXPECT_EQ(entry->ListBase(), 0u);
    // A later request succeeds and builds a new block.
    provider.failSelect = false;
    EXPECT_EQ(manager.GetFontBase("Arial", 0, 0, 0, First, Last, &b), entry);
    EXPECT_NE(entry->ListBase(), 0u);
    EXPECT_EQ(entry->RefCount, 2);
    manager.Release(entry, &a);
    manager.Release(entry, &b);
}

TEST_F(FontManager, GlyphMetricsArePerCharacterOfTheRange)
{
    TClient a;
    TFontEntry* entry = manager.GetFontBase("Arial", 0, 0, 0, First, Last, &a);
    for (int k = 0; k < entry->ListCount(); ++k) {
        EXPECT_FLOAT_EQ(entry->GlyphMetrics[k].CellIncX, TFakeGlyphProvider::Advance(First + k));
    }
    EXPECT_EQ(provider.glyphRequests, 32);
    // Sharing does not read the font again.
    manager.GetFontBase("Arial", 0, 0, 0, First, Last, &a);
    EXPECT_EQ(provider.glyphRequests, 32);
    manager.Release(entry, &a);
    manager.Release(entry, &a);
}

TEST_F(FontManager, DestroyingTheManagerFreesEveryBlockAndTellsEveryClient)
{
    TClient a, b;
    {
        TFontManager local;
        local.GetFontBase("Arial", 0, 0, 0, First, Last, &a);
        local.GetFontBase("Arial", 0, 1, 0, First, Last, &b);
        recorder.Clear();
    }
    EXPECT_EQ(a.released, 1);
    EXPECT_EQ(b.released, 1);
    EXPECT_EQ(recorder.Count("glDeleteLists"), 2);
}

TEST_F(FontManager, TheProcessWideManagerIsMadeOnceAndCanBeReleased)
{
    TFontManager* first = GetFontManager();
    EXPECT_EQ(GetFontManager(), first);
    TClient a;
    first->GetFontBase("Arial", 0, 0, 0, First, Last, &a);
    ReleaseFontManager();
    EXPECT_EQ(a.released, 1);
    EXPECT_NE(GetFontManager(), nullptr);
    ReleaseFontManager();
}

} // namespace
