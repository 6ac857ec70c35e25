#include "../ErrorTextTestSupport.h"
#include "platform/core/services/DebugLog.h"
#include "scene/rendering/GLContext.h"
#include "scene/base/GLRecordingTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// A context with no window system behind it: it logs what the base asks of it.
class TFakeContext : public TGLContext {
    KP_CLASS(TFakeContext, TGLContext)
public:
    explicit TFakeContext(std::vector<std::string>* log = nullptr) : FLog(log) {}
    ~TFakeContext() override
    {
        if (IsValid()) {
            DestroyContext();
        }
    }

    bool IsValid() const override { return FCreated; }
    void SwapBuffers() override { Note("swap"); }
    TGLOutputDevice RenderOutputDevice() const override { return FDevice; }

    std::string Name = "ctx";
    bool FailActivation = false;

protected:
    void DoActivate() override
    {
        if (FailActivation) {
            throw EGLContext("Context activation failed: 9, BadDrawable");
        }
        Note("activate");
    }
    void DoDeactivate() override { Note("deactivate"); }
    void DoCreateContext(TGLOutputDevice device) override
    {
        FCreated = true;
        FDevice = device;
        Note("create");
    }
    void DoCreateMemoryContext(TGLOutputDevice, int width, int height) override
    {
        FCreated = true;
        Note("memory " + std::to_string(width) + "x" + std::to_string(height));
    }
    void DoShareLists(TGLContext* other) override { Note("share with " + static_cast<TFakeContext*>(other)->Name); }
    void DoDestroyContext() override
    {
        FCreated = false;
        Note("destroy");
    }

private:
    void Note(const std::string& what)
    {
        if (FLog) {
            FLog->push_back(Name + ": " + what);
        }
    }
    std::vector<std::string>* FLog;
    bool FCreated = false;
    TGLOutputDevice FDevice = 0;
};

class GLContextTest : public ::testing::Test {
protected:
    std::unique_ptr<TFakeContext> Make(const std::string& name, bool create = true)
    {
        auto context = std::make_unique<TFakeContext>(&log);
        context->Name = name;
        if (create) {
            context->CreateContext(1);
        }
        return context;
    }

    TGLRecorder gl;
    std::vector<std::string> log;
};

TEST_F(GLContextTest, SettersWorkOnlyWhileInactiveAndMisuseRaisesWithItsMessage)
{
    auto c = Make("a", false);
    EXPECT_EQ(ErrorText<EGLContext>([&] { c->Activate(); }), "Context not created");
    EXPECT_THROW(c->ShareLists(c.get()), EGLContext);
    c->SetDepthBits(24);
    c->SetOptions(RCOption(rcoDoubleBuffered));
    c->CreateContext(7);
    EXPECT_EQ(ErrorText<EGLContext>([&] { c->CreateContext(1); }), "Context already created");
    c->Activate();
    EXPECT_THROW(c->SetDepthBits(16), EGLContext);
    EXPECT_THROW(c->SetAntiAliasing(aa4x), EGLContext);
    EXPECT_EQ(c->DepthBits(), 24);
    c->Deactivate();
    EXPECT_EQ(c->RenderOutputDevice(), 7u);
    auto m = Make("m", false);
    m->CreateMemoryContext(0, 64, 32);
    EXPECT_EQ(log.back(), "m: memory 64x32");
}

TEST_F(GLContextTest, NestedActivationsNeedAsManyDeactivations)
{
    auto c = Make("a");
    c->Activate();
    c->Activate();
    EXPECT_EQ(CurrentGLContext(), c.get());
    c->Deactivate();
    EXPECT_EQ(CurrentGLContext(), c.get());
    c->Deactivate();
    EXPECT_EQ(CurrentGLContext(), nullptr);
    EXPECT_THROW(c->Deactivate(), EAssertionFailed);
    EXPECT_EQ(c->ActivationCount(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"a: create", "a: activate", "a: deactivate"}));
    // setting Active false unwinds every level
    for (int i = 0; i < 3; ++i) {
        c->Activate();
    }
    c->SetActive(false);
    EXPECT_FALSE(c->Active());
    EXPECT_EQ(CurrentGLContext(), nullptr);
}

TEST_F(GLContextTest, OnlyOneContextIsCurrent)
{
    auto a = Make("a");
    auto b = Make("b");
    a->Activate();
    EXPECT_THROW(b->Activate(), EAssertionFailed);
    EXPECT_FALSE(b->Active());
    a->Deactivate();
}

TEST_F(GLContextTest, ActivationReportsAPendingErrorInsteadOfDroppingIt)
{
    std::vector<std::string> reports;
    auto saved = SetDebugLogSink([&](std::string_view m) { reports.emplace_back(m); });
    auto c = Make("a");
    gl.PendingErrors = {GL_INVALID_ENUM};
    c->Activate();
    c->Deactivate();
    SetDebugLogSink(saved);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "OpenGL error pending at context activation: invalid enumerant");
}

TEST_F(GLContextTest, SharingGroupsListEachOther)
{
    auto a = Make("a");
    auto b = Make("b");
    auto c = Make("c");
    a->ShareLists(b.get());
    a->ShareLists(b.get()); // already shared: nothing more
    c->ShareLists(a.get());
    for (TGLContext* x : {a.get(), b.get(), c.get()}) {
        EXPECT_EQ(x->SharedContexts().size(), 3u);
    }
    EXPECT_NE(a->FirstSharingContext(), a.get());
    EXPECT_NE(a->FirstSharingContext(), nullptr);
    EXPECT_EQ(std::count(log.begin(), log.end(), "a: share with b"), 1);
    b->DestroyContext();
    const auto sorted = [](std::vector<TGLContext*> v) {
        std::sort(v.begin(), v.end());
        return v;
    };
    EXPECT_EQ(sorted(a->SharedContexts()), sorted({a.get(), c.get()}));
    EXPECT_EQ(sorted(c->SharedContexts()), sorted({a.get(), c.get()}));
    EXPECT_TRUE(b->SharedContexts().empty());
}

TEST_F(GLContextTest, HandlesNeedACurrentContextAndAreOwnedByIt)
{
    auto a = Make("a");
    TGLListHandle list;
    EXPECT_THROW(list.AllocateHandle(), EAssertionFailed);
    a->Activate();
    list.AllocateHandle();
    EXPECT_NE(list.Handle(), 0u);
    EXPECT_EQ(list.RenderingContext(), a.get());
    EXPECT_EQ(a->OwnedHandles().size(), 1u);
    EXPECT_THROW(list.AllocateHandle(), EAssertionFailed);
    list.DestroyHandle();
    EXPECT_EQ(list.Handle(), 0u);
    EXPECT_TRUE(a->OwnedHandles().empty());
    EXPECT_EQ(gl.Count("glDeleteLists"), 1);
    a->Deactivate();
}

TEST_F(GLContextTest, VirtualHandleWithoutEventsStaysUnallocated)
{
    auto a = Make("a");
    a->Activate();
    TGLVirtualHandle handle;
    handle.AllocateHandle();
    EXPECT_EQ(handle.Handle(), 0u);
    EXPECT_TRUE(a->OwnedHandles().empty());
    GLuint destroyed = 0;
    handle.OnAllocate = [](TGLVirtualHandle*, GLuint& h) { h = 42; };
    handle.OnDestroy = [&](TGLVirtualHandle*, GLuint& h) { destroyed = h; };
    handle.AllocateHandle();
    EXPECT_EQ(handle.Handle(), 42u);
    handle.DestroyHandle();
    EXPECT_EQ(destroyed, 42u);
    a->Deactivate();
}

TEST_F(GLContextTest, TextureHandleDeletesOnlyExistingTextures)
{
    auto a = Make("a");
    a->Activate();
    TGLTextureHandle texture;
    texture.AllocateHandle();
    const GLuint name = texture.Handle();
    gl.ExistingTextures.clear(); // the driver lost it
    texture.DestroyHandle();
    EXPECT_EQ(gl.Count("glDeleteTextures"), 0);
    texture.AllocateHandle();
    EXPECT_NE(texture.Handle(), name);
    texture.DestroyHandle();
    EXPECT_EQ(gl.Count("glDeleteTextures"), 1);
    a->Deactivate();
}

TEST_F(GLContextTest, HandleDestroyedElsewhereSwitchesToItsOwnerAndBack)
{
    auto owner = Make("owner");
    auto other = Make("other");
    TGLListHandle list;
    owner->Activate();
    list.AllocateHandle();
    owner->Deactivate();
    other->Activate();
    other->Activate();
    log.clear();
    list.DestroyHandle();
    EXPECT_EQ(log, (std::vector<std::string>{"other: deactivate", "owner: activate", "owner: deactivate",
                                             "other: activate"}));
    EXPECT_EQ(CurrentGLContext(), other.get());
    EXPECT_EQ(other->ActivationCount(), 2); // every level restored
    other->SetActive(false);
}

TEST_F(GLContextTest, HandleOfASharingContextIsDestroyedInPlace)
{
    auto a = Make("a");
    auto b = Make("b");
    a->ShareLists(b.get());
    TGLListHandle list;
    a->Activate();
    list.AllocateHandle();
    a->Deactivate();
    b->Activate();
    log.clear();
    list.DestroyHandle();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(gl.Count("glDeleteLists"), 1);
    b->Deactivate();
}

TEST_F(GLContextTest, DestroyingASharingContextHandsItsNamesToTheSurvivor)
{
    auto a = Make("a");
    auto b = Make("b");
    a->ShareLists(b.get());
    TGLListHandle list;
    TGLTextureHandle texture;
    a->Activate();
    list.AllocateHandle();
    texture.AllocateHandle();
    a->Deactivate();
    a->DestroyContext();
    EXPECT_EQ(gl.Count("glDeleteLists") + gl.Count("glDeleteTextures"), 0);
    EXPECT_EQ(list.RenderingContext(), b.get());
    EXPECT_EQ(texture.RenderingContext(), b.get());
    EXPECT_EQ(b->OwnedHandles().size(), 2u);
    // The last member of the group deletes every name.
    b->DestroyContext();
    EXPECT_EQ(gl.Count("glDeleteLists"), 1);
    EXPECT_EQ(gl.Count("glDeleteTextures"), 1);
    EXPECT_EQ(list.Handle(), 0u);
    EXPECT_EQ(texture.RenderingContext(), nullptr);
}

TEST_F(GLContextTest, DestroyingAContextRestoresTheOneThatWasCurrent)
{
    auto a = Make("a");
    auto b = Make("b");
    b->Activate();
    a->DestroyContext();
    EXPECT_EQ(CurrentGLContext(), b.get());
    EXPECT_FALSE(a->IsValid());
    b->Deactivate();
}

TEST_F(GLContextTest, ContextWhoseDrawableIsGoneIsStillTornDown)
{
    std::vector<std::string> reports;
    auto saved = SetDebugLogSink([&](std::string_view m) { reports.emplace_back(m); });
    auto a = Make("a");
    TGLListHandle list;
    a->Activate();
    list.AllocateHandle();
    a->Deactivate();
    a->FailActivation = true;
    log.clear();
    EXPECT_NO_THROW(a->DestroyContext());
    SetDebugLogSink(saved);
    EXPECT_FALSE(a->IsValid());
    EXPECT_EQ(list.Handle(), 0u);
    EXPECT_EQ(gl.Count("glDeleteLists"), 0); // no context to delete it in: it went with the context
    EXPECT_EQ(log, (std::vector<std::string>{"a: destroy"}));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(CurrentGLContext(), nullptr);
}

TEST_F(GLContextTest, HandleOutlivingItsContextIsOrphanedSafely)
{
    auto list = std::make_unique<TGLListHandle>();
    {
        auto a = Make("a");
        a->Activate();
        list->AllocateHandle();
        a->Deactivate();
    }
    EXPECT_EQ(list->Handle(), 0u);
    EXPECT_EQ(list->RenderingContext(), nullptr);
    list.reset();
}

TEST(CheckOpenGLError, ReportsTheFirstAndDrainsTheRest)
{
    const struct {
        std::vector<GLenum> errors;
        const char* message;
        int getErrorCalls;
    } cases[] = {{{}, nullptr, 1},
                 {{GL_INVALID_VALUE}, "invalid value", 2},
                 {{GL_OUT_OF_MEMORY, GL_INVALID_ENUM, GL_INVALID_VALUE}, "out of memory", 4},
                 {std::vector<GLenum>(8, GL_INVALID_OPERATION), "invalid operation", 8},
                 {std::vector<GLenum>(10, GL_INVALID_OPERATION), "invalid operation", 8}};
    for (const auto& c : cases) {
        TGLRecorder gl;
        gl.PendingErrors.assign(c.errors.begin(), c.errors.end());
        EXPECT_EQ(ErrorText<EOpenGLError>([] { CheckOpenGLError(); }), c.message ? c.message : "no exception")
            << c.errors.size() << " errors";
        EXPECT_EQ(gl.Count("glGetError"), c.getErrorCalls) << c.errors.size() << " errors";
        EXPECT_EQ(gl.PendingErrors.size(), c.errors.size() > 8 ? c.errors.size() - 8 : 0u) << c.errors.size();
    }
    // ClearGLError drains at most seven errors
    TGLRecorder gl;
    gl.PendingErrors.assign(9, GL_INVALID_ENUM);
    ClearGLError();
    EXPECT_EQ(gl.PendingErrors.size(), 2u);
}

TEST(GLContextManager, CreatesContextsOfTheFirstRegisteredClass)
{
    TGLContextManager* m = GLContextManager();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->CreateContext(), nullptr);
    RegisterGLContextClass<TFakeContext>();
    const int before = m->ContextCount();
    std::unique_ptr<TGLContext> c(m->CreateContext());
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->Is<TFakeContext>());
    EXPECT_EQ(c->Manager(), m);
    EXPECT_EQ(m->ContextCount(), before + 1);
    c.reset();
    EXPECT_EQ(m->ContextCount(), before);
    UnregisterGLContextClass(TFakeContext::StaticClass());
}

TEST(GLContextManager, RegistrationMustBeBalanced)
{
    TGLContextManager* m = GLContextManager();
    TFakeContext c;
    EXPECT_EQ(ErrorText<EGLContext>([&] { m->RegisterContext(&c); }), "Invalid context registration");
    m->UnRegisterContext(&c);
    EXPECT_THROW(m->UnRegisterContext(&c), EGLContext);
    m->RegisterContext(&c); // back, for the destructor
}

TEST(GLContextManager, RunsQueuedNotificationsLastFirstWhenTheCountReachesZero)
{
    auto* m = new TGLContextManager();
    std::vector<int> order;
    m->BeginNotifications();
    m->BeginNotifications();
    m->QueueNotification(nullptr, [&](TObject*) { order.push_back(1); });
    m->QueueNotification(nullptr, [&](TObject*) { order.push_back(2); });
    m->EndNotifications();
    EXPECT_TRUE(order.empty());
    m->EndNotifications();
    EXPECT_EQ(order, (std::vector<int>{2, 1}));
    m->Terminate(); // no contexts: frees itself
}

} // namespace
