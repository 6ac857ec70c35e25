#include "../../support/ByteText.h"
#include "../SceneObjectTestSupport.h"

#include "platform/core/objects/ClassRegistry.h"
#include "platform/core/Exceptions.h"
#include "platform/core/objects/Filer.h"
#include "scene/graph/Behaviours.h"
#include "scene/base/VectorGeometry.h"

#include <gtest/gtest.h>

#include <string>

using namespace scenetest;

namespace {

class TStepBehaviour : public TGLBehaviour {
    KP_CLASS(TStepBehaviour, TGLBehaviour)
    KP_XCOLLECTION_ITEM(TStepBehaviour)
public:
    static std::string ClassTitle() { return "Step"; }
    void DoProgress(const TProgressTimes& t) override { total += t.deltaTime; }
    double total = 0;
};

class TGlowEffect : public TGLObjectPostEffect {
    KP_CLASS(TGlowEffect, TGLObjectPostEffect)
    KP_XCOLLECTION_ITEM(TGlowEffect)
public:
    static std::string ClassTitle() { return "Glow"; }
};

struct Registration {
    Registration()
    {
        RegisterXCollectionItemClass<TStepBehaviour>();
        RegisterXCollectionItemClass<TGlowEffect>();
        RegisterSceneObjectClasses();
    }
};
const Registration registration;

std::string Text(const std::string& s) { return Bytes({6, static_cast<int>(s.size())}) + s; }

TEST(SceneObjectStreamingTest, BehavioursAndEffectsDataBytesAndNoneForEmptyCollections)
{
    TGLBaseSceneObject o;
    EXPECT_TRUE(TBinaryPropertyWriter::Collect(o).empty());
    o.Behaviours();
    o.Effects();
    EXPECT_TRUE(TBinaryPropertyWriter::Collect(o).empty()) << "created but empty";
    CreateXCollectionItem<TStepBehaviour>(&o.Behaviours());
    CreateXCollectionItem<TGlowEffect>(&o.Effects());
    const auto props = TBinaryPropertyWriter::Collect(o);
    ASSERT_EQ(props.size(), 2u);
    EXPECT_EQ(props[0].first, "BehavioursData");
    // count 1, class name, item version 0 and name, behaviour version 0
    EXPECT_EQ(props[0].second, Bytes({2, 1}) + Text("TStepBehaviour") + Bytes({2, 0}) + Text("Step") + Bytes({2, 0}));
    EXPECT_EQ(props[1].first, "EffectsData");
    // ... and the effect's own version 0
    EXPECT_EQ(props[1].second,
              Bytes({2, 1}) + Text("TGlowEffect") + Bytes({2, 0}) + Text("Glow") + Bytes({2, 0, 2, 0}));

    TGLBaseSceneObject copy;
    TBinaryPropertyReader::Apply(copy, props);
    ASSERT_EQ(copy.Behaviours().Count(), 1);
    EXPECT_TRUE(copy.Behaviours()[0]->Is<TStepBehaviour>());
    EXPECT_EQ(copy.Behaviours()[0]->Name(), "Step");
    ASSERT_EQ(copy.Effects().Count(), 1);
    EXPECT_TRUE(copy.Effects()[0]->Is<TGlowEffect>());
}

TEST(SceneObjectStreamingTest, DamagedDataIsRefused)
{
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"truncated", Bytes({2, 1}) + Text("TStepBehaviour") + Bytes({2, 0})},
        {"other version", Bytes({2, 1}) + Text("TStepBehaviour") + Bytes({2, 0}) + Text("Step") + Bytes({2, 1})},
        {"count beyond the data", Bytes({4, 0x10, 0x27, 0, 0})},
    };
    for (const Case& c : cases) {
        TGLBaseSceneObject o;
        EXPECT_ANY_THROW(TBinaryPropertyReader::Apply(o, {{"BehavioursData", c.bytes}})) << c.what;
    }
}

TEST(SceneObjectStreamingTest, AssignCopiesPlacementOptionsSubtreeAndItems)
{
    TRecordingWorld world;
    auto* source = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(world.ObjectRoot());
    source->Position().SetPoint(1, 2, 3);
    source->Turn(30);
    source->SetVisible(false);
    source->SetShowAxes(true);
    source->SetObjectsSorting(osRenderFarthestFirst);
    source->SetVisibilityCulling(vcHierarchical);
    source->SetTag(7);
    source->SetTagFloat(2.5f);
    int progressed = 0;
    source->OnProgress = [&](TObject*, double, double) { ++progressed; };
    auto* child = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(source);
    child->Position().SetPoint(0, 4, 0);
    TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(child);
    CreateXCollectionItem<TStepBehaviour>(&source->Behaviours());

    TGLBaseSceneObject target;
    TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(&target); // replaced
    target.Effects();                                               // dropped: the source has none
    target.Assign(source);

    EXPECT_FALSE(target.Visible());
    EXPECT_TRUE(target.ShowAxes());
    EXPECT_EQ(target.ObjectsSorting(), osRenderFarthestFirst);
    EXPECT_EQ(target.VisibilityCulling(), vcHierarchical);
    EXPECT_EQ(target.Tag(), 7);
    EXPECT_EQ(target.TagFloat(), 2.5f);
    EXPECT_EQ(target.Scene(), &world);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(target.Matrix().V[r][c], source->Matrix().V[r][c], 1e-6);
        }
    }
    EXPECT_FLOAT_EQ(target.TurnAngle(), source->TurnAngle());
    ASSERT_EQ(target.Count(), 1);
    EXPECT_NE(target.Children(0), child);
    EXPECT_EQ(target.Children(0)->Position().Y(), 4);
    EXPECT_EQ(target.Children(0)->Count(), 1);
    ASSERT_TRUE(target.HasBehaviours());
    EXPECT_EQ(target.Behaviours().Count(), 1);
    EXPECT_FALSE(target.HasEffects());
    target.DoProgress({0.1, 1});
    EXPECT_EQ(progressed, 1);
    // Assigning from itself changes nothing; from its own subtree is refused.
    TGLBaseSceneObject* copied = target.Children(0);
    target.Assign(&target);
    EXPECT_EQ(target.Children(0), copied);
    EXPECT_THROW(target.Assign(copied), EAssertionFailed);
    EXPECT_EQ(target.Children(0), copied);
    // target lies outside the scene's tree but took its scene link; free it first.
    target.DeleteChildren();
}

TEST(SceneObjectStreamingTest, ProgressStepsChildrenLastFirstThenItems)
{
    TGLBaseSceneObject parent;
    std::vector<std::string> order;
    auto* a = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(&parent);
    auto* b = TGLBaseSceneObject::CreateAsChild<TGLBaseSceneObject>(&parent);
    a->OnProgress = [&](TObject*, double, double) { order.push_back("a"); };
    b->OnProgress = [&](TObject*, double, double) { order.push_back("b"); };
    double delta = 0, now = 0;
    parent.OnProgress = [&](TObject* sender, double d, double t) {
        EXPECT_EQ(sender, &parent);
        delta = d;
        now = t;
        order.push_back("parent");
    };
    auto* step = CreateXCollectionItem<TStepBehaviour>(&parent.Behaviours());
    parent.DoProgress({0.25, 3});
    EXPECT_EQ(order, (std::vector<std::string>{"b", "a", "parent"}));
    EXPECT_EQ(step->total, 0.25);
    EXPECT_EQ(delta, 0.25);
    EXPECT_EQ(now, 3);
}

} // namespace
