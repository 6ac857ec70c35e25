#include "engine/Clamps.h"

#include "EngineTestSupport.h"

#include "platform/core/Exceptions.h"
#include "scene/materials/Material.h"
#include "scene/objects/collision/Collision.h"
#include "scene/objects/shapes/Cubes.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

TArrayofCmds Clamp(std::initializer_list<const char*> args)
{
    TArrayofCmds cmds;
    cmds[0] = "[CLAMP]";
    int i = 1;
    for (const char* a : args) {
        cmds[i++] = a;
    }
    return cmds;
}

class ClampsTest : public ::testing::Test {
protected:
    TCollisionManager manager;
    TGLBaseSceneObject parent;
    TClampList clamps;
};

TEST_F(ClampsTest, AClampIsAMagentaWireBoxThatCollidesAsACube)
{
    clamps.Add(Clamp({"c1", "10", "5", "0", "2", "2", "1"}), &parent, &manager);
    ASSERT_EQ(clamps.Count(), 1);
    TGLCube* box = clamps[0].Cube;
    EXPECT_FALSE(clamps[0].WarningSuppressed);
    EXPECT_EQ(box->Parent(), &parent);
    EXPECT_EQ(box->Hint(), "c1");
    EXPECT_TRUE(box->Name().empty());
    EXPECT_TRUE(box->Position().Equals(TVector{10, 5, 0, 1}));
    EXPECT_EQ(box->CubeWidth(), 2);
    EXPECT_EQ(box->CubeHeight(), 2);
    EXPECT_EQ(box->CubeDepth(), 1);
    const TGLFaceProperties& front = *box->Material().FrontProperties();
    EXPECT_EQ(front.PolygonMode(), pmLines);
    for (const TGLColor* color : {front.Ambient(), front.Diffuse(), front.Emission()}) {
        const TVector& c = color->Color();
        EXPECT_TRUE(c.X == 1 && c.Y == 0 && c.Z == 1 && c.W == 1);
    }
    auto* collision = ObjectCast<TGLBCollision>(box->Behaviours().GetByClass(TGLBCollision::StaticClass()));
    ASSERT_NE(collision, nullptr);
    EXPECT_EQ(collision->BoundingMode, cbmCube);
    EXPECT_EQ(collision->GroupIndex(), 0);
    EXPECT_EQ(collision->Manager(), &manager);

    // The bit touching the box is reported with the clamp's box, found by its hint.
    TGLBaseSceneObject bit;
    bit.Position().SetPoint(10.9f, 5, 0);
    auto* bitCollision = CreateXCollectionItem<TGLBCollision>(&bit.Behaviours());
    bitCollision->BoundingMode = cbmCube;
    bitCollision->SetManager(&manager);
    TClampRec* hit = nullptr;
    manager.OnCollision = [&](TObject*, TGLBaseSceneObject* a, TGLBaseSceneObject* b) {
        const auto* other = ObjectCast<TGLCube>(a == &bit ? b : a);
        hit = other ? clamps.FindByHint(other->Hint()) : nullptr;
    };
    manager.CheckCollisions();
    EXPECT_EQ(hit, &clamps[0]);
}

TEST_F(ClampsTest, NumbersAreCheckedBeforeAnythingIsMade)
{
    struct Case {
        std::initializer_list<const char*> args;
        bool valid;
    };
    const Case cases[] = {
        {{"c1", "1", "2", "3", "4", "5", "6 ' left, right", "right"}, true},
        {{"c1", "1", "2", "3", "4", "5", "6 'note"}, true},
        {{"c1", "1", "2", "3", "4", "x", "6"}, false},
        {{"c1", "1", "2", "3", "4", "5 ' the depth", "6"}, false}, // the comment took the last number
        {{"c1", "1", "2", "3", "4", "5"}, false},
    };
    for (const Case& c : cases) {
        clamps.Free();
        if (c.valid) {
            EXPECT_EQ(clamps.Add(Clamp(c.args), &parent, &manager).Cube->CubeDepth(), 6);
            continue;
        }
        EXPECT_THROW(clamps.Add(Clamp(c.args), &parent, &manager), EConvertError);
        EXPECT_EQ(parent.Count(), 0) << "no orphan box";
        EXPECT_EQ(clamps.Count(), 0);
    }
}

TEST(ClampLines, ABadOneStopsTheRunNamingTheFieldAndTheLine)
{
    struct Case {
        const char* line;
        const char* error;
    };
    const Case cases[] = {
        {"[CLAMP]", "The [CLAMP] line's x is missing (line: 2)"},
        {"[CLAMP] c2, a, 0, 0, 1, 1, 1", "The [CLAMP] line's x \"a\" is not a number (line: 2)"},
        {"[CLAMP] c3, 1, 2, 3, 4, x, 6", "The [CLAMP] line's height \"x\" is not a number (line: 2)"},
        {"[CLAMP] c4, 1, 2, 3, 4, 5", "The [CLAMP] line's depth is missing (line: 2)"},
        {"[CLAMP] c5, 1, 2, 3, 4, 5 ' the depth, 6", "The [CLAMP] line's depth is missing (line: 2)"},
        {"[CLAMP] c6, 1, 2, 1e39, 1, 1, 1", "The [CLAMP] line's z \"1e39\" is out of range (line: 2)"},
        // A field with "-" is the evaluator's result.
        {"[CLAMP] c7, 1, 2, 3, -1e300, 1, 1", "The [CLAMP] line's width \"-1E300\" is out of range (line: 2)"},
        {"[CLAMP] c8, 1, &nosuch, 0, 1, 1, 1",
         "Cannot evaluate the expression \"&nosuch\" (line: 2): Unknown variable:NOSUCH"},
    };
    for (const Case& c : cases) {
        TEngineHarness h;
        const TRunOutcome out = h.Run(std::string("[CLAMP] good, 0, 0, 0, 1, 1, 1\n") + c.line + "\nM2, 1, 1");
        EXPECT_EQ(out.Error, c.error) << c.line;
        EXPECT_EQ(out.Trace, std::vector<int>{1}) << c.line << ": the run ends at the clamp line";
        EXPECT_EQ(h.Move.Clamps().Count(), 1) << c.line;
    }
}

TEST_F(ClampsTest, FreeingRemovesEveryBoxAndTheListForgetsFreedBoxes)
{
    clamps.Add(Clamp({"same", "0", "0", "0", "1", "1", "1"}), &parent, &manager);
    clamps.Add(Clamp({"same", "5", "0", "0", "1", "1", "1"}), &parent, &manager);
    EXPECT_EQ(clamps.FindByHint("same"), &clamps[0]) << "the first of equal names";
    EXPECT_EQ(manager.ClientCount(), 2);
    EXPECT_EQ(clamps[1].Cube->Parent(), &parent);
    EXPECT_EQ(clamps[1].Cube->Owner(), nullptr) << "no owner to tell every box of every other";
    clamps.Free();
    EXPECT_EQ(parent.Count(), 0);
    EXPECT_EQ(manager.ClientCount(), 0);
    EXPECT_EQ(clamps.FindByHint("same"), nullptr);

    clamps.Add(Clamp({"c", "0", "0", "0", "1", "1", "1"}), &parent, &manager);
    parent.DeleteChildren(); // the scene frees the box
    EXPECT_EQ(clamps.Count(), 0);
}

} // namespace
