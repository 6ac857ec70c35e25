#include "../ErrorTextTestSupport.h"
#include "../TextureTestSupport.h"
#include "../UpdateAbleTestSupport.h"

#include "platform/core/objects/ClassRegistry.h"
#include "platform/core/files/Stream.h"
#include "scene/materials/MaterialLibrary.h"
#include "scene/materials/PictureImages.h"
#include "scene/rendering/Shader.h"
#include "scene/materials/TextureEx.h"
#include "scene/base/PersistentObject.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using texturetest::SolidBitmap;
using texturetest::TRecordingScene;

// ---- names ----

TEST(LibMaterials, NameHashIsLengthThenDoubledPlusEachCode)
{
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"", 0}, {"a", 2 * 1 + 97}, {"ab", 300}, // 2 * (2 * 2 + 97) + 98
        {"\xff", 2 + 255},
        {"zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz", 0xFFFFFF86u}}; // 40 characters: the doubling wraps
    for (const auto& [name, key] : cases) {
        EXPECT_EQ(TGLLibMaterial::ComputeNameHashKey(name), key) << name;
    }
}

TEST(LibMaterials, NewMaterialsGetUniqueNames)
{
    TGLMaterialLibrary library;
    TGLLibMaterials& materials = *library.Materials();
    EXPECT_EQ(materials.Add()->Name(), "LibMaterial");
    EXPECT_EQ(materials.Add()->Name(), "LibMaterial1");
    EXPECT_EQ(materials.MakeUniqueName("LibMaterial"), "LibMaterial2");
    EXPECT_EQ(materials.MakeUniqueName("Other"), "Other");
    TGLLibMaterial* third = materials.Add();
    third->SetName("Wood");
    EXPECT_EQ(third->Name(), "Wood");
    third->SetName("LibMaterial");
    EXPECT_EQ(third->Name(), "LibMaterial2");
    EXPECT_EQ(third->DisplayName(), "LibMaterial2");
    EXPECT_EQ(materials.GetLibMaterialByName("LibMaterial2"), third);
    EXPECT_EQ(materials.GetLibMaterialByName("libmaterial2"), nullptr);
    EXPECT_EQ(library.LibMaterialByName("LibMaterial1"), materials.Items(1));
    EXPECT_EQ(LibMaterialByName(nullptr, "LibMaterial"), nullptr);
}

// ---- texture paths ----

TEST(MaterialLibrary, TexturePathsAreSplitTrimmedAndEndedWithASlash)
{
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"", {}}, {"textures;;maps", {"textures/", "maps/"}}, {" /opt/tex/ ; ; rel ", {"/opt/tex/", "rel/"}},
        {";", {}}};
    for (const auto& [text, folders] : cases) {
        TGLMaterialLibrary library;
        library.SetTexturePaths(text);
        EXPECT_EQ(library.TexturePaths(), text);
        EXPECT_EQ(library.TexturePathList(), folders) << text;
    }
}

class LibraryFiles : public texturetest::TTempFolderTest {
protected:
    LibraryFiles() : TTempFolderTest({"first", "second"}) {}
};

TEST_F(LibraryFiles, TextureFilesAreLookedForAlongThePaths)
{
    for (const char* name : {"second/oak.bmp", "first/ash.bmp", "second/ash.bmp"}) {
        WriteText(name, "x");
    }
    TGLMaterialLibrary library;
    library.SetTexturePaths((folder / "first").string() + ";" + (folder / "second").string());
    std::vector<std::string> asked;
    library.OnTextureNeeded = [&](TObject*, std::string& name) { asked.push_back(name); };
    TGLTexture* texture = library.Materials()->Add()->Material()->Texture();
    const auto resolve = [&](std::string name) {
        texture->OnTextureNeeded(nullptr, name);
        return name;
    };
    EXPECT_EQ(resolve("oak.bmp"), (folder / "second" / "oak.bmp").string());
    EXPECT_EQ(resolve("ash.bmp"), (folder / "first" / "ash.bmp").string()); // the first folder wins
    EXPECT_EQ(resolve("elm.bmp"), "elm.bmp");
    const std::string absolute = (folder / "oak.bmp").string();
    EXPECT_EQ(resolve(absolute), absolute); // absolute names are not searched
    EXPECT_EQ(asked.size(), 4u);
}

TEST_F(LibraryFiles, CopiedMaterialsStillSearchThePaths)
{
    WriteText("first/oak.bmp", "x");
    TGLMaterialLibrary library;
    library.SetTexturePaths((folder / "first").string());
    TGLLibMaterial* source = library.Materials()->Add();
    source->Material()->SetTexture(nullptr); // a material without a texture
    TGLLibMaterial* copy = library.Materials()->Add();
    copy->Assign(source);
    std::string name = "oak.bmp";
    copy->Material()->Texture()->OnTextureNeeded(nullptr, name);
    EXPECT_EQ(name, (folder / "first" / "oak.bmp").string());
}

TEST(MaterialLibrary, TextureMaterialsShowTheirGraphic)
{
    TGLMaterialLibrary library;
    TGLLibMaterial* material = library.AddTextureMaterial("Table", SolidBitmap(8, 8, 1, 2, 3).get());
    EXPECT_EQ(material->Name(), "Table");
    TGLTexture* texture = material->Material()->Texture();
    EXPECT_FALSE(texture->Disabled());
    EXPECT_EQ(texture->TextureMode(), tmModulate);
    EXPECT_EQ(texture->MinFilter(), miLinearMipmapLinear);
    EXPECT_EQ(texture->Image()->GetWidth(), 8);
}

// ---- streams ----

void FillLibrary(TGLMaterialLibrary& library)
{
    auto bitmap = SolidBitmap(4, 2, 10, 20, 30);
    TGLLibMaterial* pictured = library.AddTextureMaterial("Pictured", bitmap.get());
    TGLMaterial* m = pictured->Material();
    m->FrontProperties()->Diffuse()->SetColor({0.1f, 0.2f, 0.3f, 0.4f});
    m->FrontProperties()->SetShininess(77);
    m->FrontProperties()->SetPolygonMode(pmLines);
    m->BackProperties()->Emission()->SetColor({0.5f, 0.6f, 0.7f, 1});
    m->BackProperties()->SetPolygonMode(pmPoints);
    m->SetBlendingMode(bmModulate);
    m->SetMaterialOptions(MaterialOption(moNoLighting));
    pictured->TextureOffset()->SetVector(0.25f, 0.5f, 0);
    pictured->TextureScale()->SetVector(2, 3, 1, 0);
    pictured->SetTexture2Name("Plain");
    TGLTextureExItem* item = m->TextureEx()->Add();
    item->SetTextureIndex(3);
    item->TextureScale()->SetVector(4, 4, 1, 0);
    item->Texture()->Assign(bitmap.get());
    item->Texture()->SetDisabled(false);
    TGLLibMaterial* plain = library.Materials()->Add();
    plain->SetName("Plain");
    plain->Material()->FrontProperties()->Ambient()->SetColor({0.9f, 0.8f, 0.7f, 1});
}

TEST(MaterialLibraryStream, RoundTrip)
{
    TGLMaterialLibrary source;
    FillLibrary(source);
    TMemoryStream stream;
    source.SaveToStream(stream);
    stream.SetPosition(0);
    TGLMaterialLibrary library;
    library.Materials()->Add()->SetName("Old");
    library.LoadFromStream(stream);
    EXPECT_EQ(stream.Remaining(), 0);

    ASSERT_EQ(library.Materials()->Count(), 2);
    EXPECT_EQ(library.LibMaterialByName("Old"), nullptr);
    TGLLibMaterial* pictured = library.LibMaterialByName("Pictured");
    ASSERT_NE(pictured, nullptr);
    TGLMaterial* m = pictured->Material();
    EXPECT_FALSE(m->Texture()->Disabled());
    EXPECT_EQ(m->Texture()->Image()->GetWidth(), 4);
    EXPECT_EQ(m->Texture()->TextureMode(), tmModulate);
    EXPECT_EQ(m->FrontProperties()->Diffuse()->Color().W, 0.4f);
    EXPECT_EQ(m->FrontProperties()->Shininess(), 77);
    EXPECT_EQ(m->FrontProperties()->PolygonMode(), pmLines);
    EXPECT_EQ(m->BackProperties()->Emission()->Color().Y, 0.6f);
    EXPECT_EQ(m->BackProperties()->PolygonMode(), pmPoints);
    EXPECT_EQ(m->BlendingMode(), bmModulate);
    EXPECT_EQ(m->MaterialOptions(), MaterialOption(moNoLighting));
    EXPECT_EQ(pictured->TextureOffset()->Y(), 0.5f);
    EXPECT_EQ(pictured->TextureScale()->Y(), 3.0f);
    EXPECT_FALSE(pictured->TextureMatrixIsIdentity());
    EXPECT_EQ(pictured->TextureMatrix().V[3].X, 0.25f);
    EXPECT_EQ(pictured->Texture2Name(), "Plain");
    ASSERT_EQ(m->TextureEx()->Count(), 1);
    TGLTextureExItem* item = m->TextureEx()->Items(0);
    EXPECT_EQ(item->TextureIndex(), 3);
    EXPECT_EQ(item->TextureScale()->X(), 4.0f);
    EXPECT_FALSE(item->TextureMatrixIsIdentity());
    EXPECT_FALSE(item->Texture()->Disabled());
    EXPECT_EQ(item->Texture()->Image()->GetHeight(), 2);
    TGLLibMaterial* plain = library.LibMaterialByName("Plain");
    ASSERT_NE(plain, nullptr);
    EXPECT_TRUE(plain->Material()->Texture()->Disabled());
    EXPECT_EQ(plain->Material()->FrontProperties()->Ambient()->Color().X, 0.9f);
}

// A version 0 or 1 stream written by hand: the fields of the older layouts.
std::string OldStream(int version)
{
    TStringStream stream;
    TBinaryWriter writer(stream);
    writer.WriteInteger(version);
    writer.WriteInteger(1);
    writer.WriteString("Old");
    writer.WriteBoolean(false);
    const float ambient[3] = {0.1f, 0.1f, 0.1f};
    const float diffuse[4] = {0.3f, 0.3f, 0.3f, 0.5f};
    const float rgb[3] = {0, 0, 0};
    writer.Write(ambient, 12);
    writer.Write(diffuse, 16);
    writer.Write(rgb, 12);
    writer.Write(rgb, 12);
    if (version >= 1) {
        const std::uint8_t shininess = 12;
        writer.Write(&shininess, 1);
        writer.WriteInteger(pmLines);
        writer.Write(ambient, 12);
        writer.Write(diffuse, 16);
        writer.Write(rgb, 12);
        writer.Write(rgb, 12);
        writer.Write(&shininess, 1);
        writer.WriteInteger(pmFill);
        writer.WriteInteger(bmTransparency);
        writer.WriteInteger(1);
        const std::uint8_t options = 1;
        writer.Write(&options, 1);
        const float offset[3] = {1, 2, 3};
        const float scale[3] = {1, 1, 1};
        writer.Write(offset, 12);
        writer.Write(scale, 12);
        writer.WriteString("");
    }
    return stream.DataString();
}

TEST(MaterialLibraryStream, VersionZeroKeepsDefaultBackFacesAndBlending)
{
    TStringStream stream(OldStream(0));
    TGLMaterialLibrary library;
    library.LoadFromStream(stream);
    ASSERT_EQ(library.Materials()->Count(), 1);
    TGLMaterial* m = library.Materials()->Items(0)->Material();
    EXPECT_EQ(m->FrontProperties()->Diffuse()->Color().W, 0.5f);
    EXPECT_FALSE(m->HasBackProperties());
    EXPECT_EQ(m->BlendingMode(), bmOpaque);
    EXPECT_EQ(m->FrontProperties()->PolygonMode(), pmFill);
}

TEST(MaterialLibraryStream, VersionOneAddsTheRestButNoExtraTextures)
{
    TStringStream stream(OldStream(1));
    TGLMaterialLibrary library;
    library.LoadFromStream(stream);
    TGLLibMaterial* old = library.LibMaterialByName("Old");
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->Material()->FrontProperties()->Shininess(), 12);
    EXPECT_EQ(old->Material()->FrontProperties()->PolygonMode(), pmLines);
    EXPECT_EQ(old->Material()->BlendingMode(), bmTransparency);
    EXPECT_EQ(old->Material()->MaterialOptions(), MaterialOption(moIgnoreFog));
    EXPECT_EQ(old->TextureOffset()->Z(), 3.0f);
    EXPECT_FALSE(old->Material()->HasTextureEx());
    EXPECT_EQ(stream.Remaining(), 0);
}

TEST(MaterialLibraryStream, UnknownVersionRaisesTheFilerError)
{
    TStringStream stream;
    TBinaryWriter writer(stream);
    writer.WriteInteger(3);
    stream.SetPosition(0);
    TGLMaterialLibrary library;
    EXPECT_EQ(ErrorText<EFilerException>([&] { library.LoadFromStream(stream); }),
              "TGLMaterialLibrary : unknown archive version 3");
}

TEST(MaterialLibraryStream, EveryTruncationRaisesAReadErrorAndKeepsTheLibrary)
{
    TGLMaterialLibrary source;
    FillLibrary(source);
    TStringStream full;
    source.SaveToStream(full);
    const std::string bytes = full.DataString();
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        TStringStream truncated(bytes.substr(0, length));
        TGLMaterialLibrary library;
        library.Materials()->Add()->SetName("Kept");
        EXPECT_THROW(library.LoadFromStream(truncated), EReadError) << "length " << length;
        ASSERT_EQ(library.Materials()->Count(), 1) << "length " << length;
        EXPECT_EQ(library.Materials()->Items(0)->Name(), "Kept");
        EXPECT_FALSE(library.Loading());
    }
}

TEST(MaterialLibraryStream, OutOfRangeValuesAreReadErrors)
{
    // Offsets from the end of the version 1 stream: name string (2), scale (12), offset (12),
    // options (1), reserved (2), blending (2: tag and value), back polygon mode (2).
    const std::tuple<const char*, std::size_t, std::uint8_t> cases[] = {
        {"options", 2 + 24 + 1, 9}, {"blending", 2 + 24 + 1 + 2 + 1, 6}, {"polygon mode", 2 + 24 + 1 + 2 + 2 + 1, 3}};
    for (const auto& [what, offsetFromEnd, value] : cases) {
        std::string bytes = OldStream(1);
        bytes[bytes.size() - offsetFromEnd] = static_cast<char>(value);
        TStringStream stream(bytes);
        TGLMaterialLibrary library;
        EXPECT_THROW(library.LoadFromStream(stream), EReadError) << what;
        EXPECT_EQ(library.Materials()->Count(), 0) << what;
    }
}

TEST(MaterialLibraryStream, ClassRegistration)
{
    RegisterMaterialLibraryClass();
    std::unique_ptr<TObject> made(CreateObjectByName("TGLMaterialLibrary"));
    EXPECT_TRUE(made->Is<TGLMaterialLibrary>());
}

} // namespace
