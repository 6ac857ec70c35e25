#include "SquareViewGl.h"

#include "scene/rendering/TexCoordRouter.h"
#include "scene/objects/meshes/BaseMesh.h"
#include "scene/objects/meshes/MeshObjectClasses.h"

#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

class FreeFormGl : public testsupport::SquareViewGl {
protected:
    FreeFormGl()
    {
        RegisterMeshObjectClasses();
        GL.glDisable(GL_CULL_FACE);
        GL.glColor3f(1, 1, 1);
        MapTexCoordNowhere();
        MapTexCoordToUnit0();
    }
    ~FreeFormGl() override { std::filesystem::remove(file); }

    std::string file = (std::filesystem::temp_directory_path() / ("kerfpad-freeform-" + std::to_string(::getpid()) + ".glwm")).string();
};

TEST_F(FreeFormGl, AFreeFormReadFromAGlwmFileShowsItsFaces)
{
    {
        // Indexed: the square -1.5..-0.5 in X, -0.5..0.5 in Y, as two triangles.
        TGLFreeForm source;
        auto* square = new TMeshObject(&source.MeshObjects());
        square->SetMode(momFaceGroups);
        for (const TAffineVector& v : {TAffineVector{-1.5f, -0.5f, 0}, {-0.5f, -0.5f, 0}, {-0.5f, 0.5f, 0}, {-1.5f, 0.5f, 0}}) {
            square->Vertices().Add(v);
        }
        auto* group = new TFGVertexIndexList(&square->FaceGroups());
        group->SetMode(fgmmQuads);
        for (int i : {0, 1, 2, 3}) {
            group->VertexIndices().Add(i);
        }
        // Plain triangles: one right of the origin.
        auto* triangle = new TMeshObject(&source.MeshObjects());
        for (const TAffineVector& v : {TAffineVector{0.5f, -0.5f, 0}, {1.5f, -0.5f, 0}, {0.5f, 0.5f, 0}}) {
            triangle->Vertices().Add(v);
        }
        source.SaveToFile(file);
    }
    TGLFreeForm mesh;
    mesh.LoadFromFile(file);
    ASSERT_EQ(mesh.MeshObjects().Count(), 2);
    mesh.BuildList(rci);

    EXPECT_TRUE(Inked(-1, 0));
    EXPECT_TRUE(Inked(-1.4f, 0.4f));
    EXPECT_TRUE(Inked(0.7f, -0.3f));
    EXPECT_FALSE(Inked(1.3f, 0.3f)); // beyond the triangle's slanted side
    EXPECT_FALSE(Inked(0, 0));
    EXPECT_FALSE(Inked(-1, 1));
}

} // namespace
