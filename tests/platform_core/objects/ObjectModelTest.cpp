#include "platform/core/Assert.h"
#include "platform/core/objects/ClassRegistry.h"
#include "platform/core/objects/Component.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class TShape : public TPersistent {
    KP_CLASS(TShape, TPersistent)
public:
    int size = 0;
    void Assign(const TPersistent* source) override
    {
        if (auto s = ObjectCast<TShape>(source)) {
            size = s->size;
        } else {
            TPersistent::Assign(source);
        }
    }
};

class TRoundShape : public TShape {
    KP_CLASS(TRoundShape, TShape)
};

class TOther : public TPersistent {
    KP_CLASS(TOther, TPersistent)
};

class TWatcher : public TComponent {
    KP_CLASS(TWatcher, TComponent)
public:
    using TComponent::TComponent;
    std::vector<TComponent*>* removed = nullptr;
    TComponent* watched = nullptr;

protected:
    void Notification(TComponent* c, TOperation op) override
    {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove) {
            if (c == watched) {
                watched = nullptr;
            }
            if (removed) {
                removed->push_back(c);
            }
        }
    }
};

} // namespace

TEST(ObjectModel, ClassNamesAndInheritance)
{
    TRoundShape round;
    EXPECT_EQ(round.ClassName(), "TRoundShape");
    EXPECT_TRUE(round.Is<TShape>());
    EXPECT_TRUE(round.Is<TPersistent>());
    EXPECT_FALSE(round.Is<TComponent>());
    TShape shape;
    EXPECT_FALSE(shape.Is<TRoundShape>());
    EXPECT_EQ(ObjectCast<TRoundShape>(&shape), nullptr);
}

TEST(ObjectModel, RegistryFindsCaseInsensitivelyAndCreates)
{
    RegisterClass<TRoundShape>();
    RegisterClass<TRoundShape>();
    EXPECT_EQ(FindClass("troundshape"), TRoundShape::StaticClass());
    EXPECT_EQ(GetClass("TNoSuchThing"), nullptr);
    try {
        FindClass("TNoSuchThing");
        FAIL();
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message(), "Class TNoSuchThing not found");
    }
    std::unique_ptr<TObject> made(CreateObjectByName("TRoundShape"));
    EXPECT_EQ(made->ClassType(), TRoundShape::StaticClass());
    EXPECT_EQ(RegisteredClassesOf(TShape::StaticClass()).size(), 1u);
    UnRegisterClass(TRoundShape::StaticClass());
    EXPECT_EQ(GetClass("TRoundShape"), nullptr);
}

TEST(ObjectModel, AssignCopiesCompatibleAndRefusesOthers)
{
    TShape a, b;
    a.size = 5;
    b.Assign(&a);
    EXPECT_EQ(b.size, 5);
    auto other = std::make_unique<TOther>();
    try {
        b.Assign(other.get());
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TOther to a TShape");
    }
    EXPECT_THROW(b.Assign(nullptr), EConvertError);
}

TEST(ObjectModel, OwnerFreesWhatItOwnsAndNotifiesWatchers)
{
    std::vector<TComponent*> removed;
    auto* owner = new TComponent();
    auto* child = new TComponent(owner);
    child->SetName("Child");
    auto* grandChild = new TComponent(child);
    (void)grandChild;
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(owner->FindComponent("child"), child);

    TWatcher watcher;
    watcher.removed = &removed;
    watcher.watched = child;
    child->FreeNotification(&watcher);
    child->FreeNotification(&watcher); // added once only

    delete child;
    EXPECT_EQ(owner->ComponentCount(), 0);
    EXPECT_EQ(watcher.watched, nullptr);
    ASSERT_EQ(removed.size(), 1u);

    // After the watched component is gone, freeing the watcher must not touch it.
    auto* other = new TComponent(owner);
    other->FreeNotification(&watcher);
    other->RemoveFreeNotification(&watcher);
    delete owner;
    EXPECT_EQ(removed.size(), 1u);
}

TEST(ObjectModel, AssertionCarriesUnitAndLine)
{
    try {
        KP_ASSERT(1 + 1 == 3);
        FAIL();
    } catch (const EAssertionFailed& e) {
        EXPECT_NE(e.Message().find("Assertion failure (ObjectModelTest.cpp, line "), std::string::npos);
    }
    EXPECT_THROW(KP_ASSERT_MSG(false, "Bad index"), EAssertionFailed);
}
