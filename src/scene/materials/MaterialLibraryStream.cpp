// The material-library stream: the materials with their colours, textures (as bitmap
// files), blending, options, texture matrices and extra textures, in the tagged
// binary value format.

#include "platform/core/graphics/BitmapFile.h"
#include "scene/base/PersistentObject.h"
#include "scene/materials/MaterialLibrary.h"
#include "scene/materials/PictureImages.h"
#include "scene/materials/TextureEx.h"

#include <cstring>

namespace {

[[noreturn]] void InvalidData()
{
    throw EReadError("Invalid material library data");
}

void WriteFloatsLE(TVirtualWriter& writer, const float* values, int count)
{
    std::uint8_t bytes[16];
    for (int i = 0; i < count; ++i) {
        std::uint32_t bits;
        std::memcpy(&bits, &values[i], 4);
        for (int b = 0; b < 4; ++b) {
            bytes[i * 4 + b] = static_cast<std::uint8_t>(bits >> (8 * b));
        }
    }
    writer.Write(bytes, count * 4);
}

void ReadFloatsLE(TVirtualReader& reader, float* values, int count)
{
    std::uint8_t bytes[16];
    reader.Read(bytes, count * 4);
    for (int i = 0; i < count; ++i) {
        std::uint32_t bits = 0;
        for (int b = 0; b < 4; ++b) {
            bits |= std::uint32_t(bytes[i * 4 + b]) << (8 * b);
        }
        std::memcpy(&values[i], &bits, 4);
    }
}

// count 3 keeps the colour's alpha.
void WriteColor(TVirtualWriter& writer, const TGLColor& color, int count)
{
    WriteFloatsLE(writer, color.GetAsAddress(), count);
}

void ReadColor(TVirtualReader& reader, TGLColor& color, int count)
{
    TVector value = color.Color();
    ReadFloatsLE(reader, &value.X, count);
    color.Initialize(value);
}

void WriteVector3(TVirtualWriter& writer, const TGLCoordinates& coordinates)
{
    WriteFloatsLE(writer, &coordinates.AsVector().X, 3);
}

void ReadVector3(TVirtualReader& reader, TGLCoordinates& coordinates)
{
    TVector value = coordinates.AsVector();
    ReadFloatsLE(reader, &value.X, 3);
    coordinates.SetVectorQuiet(value);
}

int ReadEnum(TVirtualReader& reader, int last)
{
    const std::int32_t value = reader.ReadInteger();
    if (value < 0 || value > last) {
        InvalidData();
    }
    return value;
}

// The picture of an enabled texture whose persistent image holds one; nullptr otherwise.
const TPicture* StoredPicture(const TGLTexture* texture)
{
    if (!texture || texture->Disabled()) {
        return nullptr;
    }
    const auto* image = ObjectCast<TGLPersistentImage>(texture->Image());
    return image && image->Picture().Graphic() ? &image->Picture() : nullptr;
}

void WriteTexturePicture(TVirtualWriter& writer, const TGLTexture* texture)
{
    const TPicture* picture = StoredPicture(texture);
    writer.WriteBoolean(picture != nullptr);
    if (picture) {
        TStringStream bytes;
        picture->SaveToStream(bytes);
        writer.WriteString(bytes.DataString());
    }
}

// nullptr when the stream holds no picture here.
std::unique_ptr<TBitmap> ReadTexturePicture(TVirtualReader& reader)
{
    if (!reader.ReadBoolean()) {
        return nullptr;
    }
    TStringStream bytes(reader.ReadString());
    std::unique_ptr<TBitmap> bitmap(TBitmap::Create());
    LoadBitmapFromStream(*bitmap, bytes);
    return bitmap;
}

void WriteFace(TVirtualWriter& writer, const TGLFaceProperties& face)
{
    WriteColor(writer, *face.Ambient(), 3);
    WriteColor(writer, *face.Diffuse(), 4);
    WriteColor(writer, *face.Emission(), 3);
    WriteColor(writer, *face.Specular(), 3);
    const std::uint8_t shininess = static_cast<std::uint8_t>(face.Shininess());
    writer.Write(&shininess, 1);
    writer.WriteInteger(face.PolygonMode());
}

void ReadFaceColors(TVirtualReader& reader, TGLFaceProperties& face)
{
    ReadColor(reader, *face.Ambient(), 3);
    ReadColor(reader, *face.Diffuse(), 4);
    ReadColor(reader, *face.Emission(), 3);
    ReadColor(reader, *face.Specular(), 3);
}

void ReadFaceRest(TVirtualReader& reader, TGLFaceProperties& face)
{
    std::uint8_t shininess = 0;
    reader.Read(&shininess, 1);
    face.SetShininess(shininess);
    face.SetPolygonMode(static_cast<TPolygonMode>(ReadEnum(reader, pmPoints)));
}

void ReadOneMaterial(TVirtualReader& reader, int version, TGLLibMaterials& materials)
{
    const std::string name = reader.ReadString();
    std::unique_ptr<TBitmap> picture = ReadTexturePicture(reader);
    TGLLibMaterial* libMaterial = materials.Add();
    libMaterial->SetName(name);
    TGLMaterial* material = libMaterial->Material();
    if (picture) {
        TGLTexture* texture = material->Texture();
        texture->SetMinFilter(miLinearMipmapLinear);
        texture->SetMagFilter(maLinear);
        texture->SetTextureMode(tmModulate);
        texture->SetDisabled(false);
        texture->Image()->Assign(picture.get());
    }
    ReadFaceColors(reader, *material->FrontProperties());
    if (version < 1) {
        return;
    }
    ReadFaceRest(reader, *material->FrontProperties());
    ReadFaceColors(reader, *material->BackProperties());
    ReadFaceRest(reader, *material->BackProperties());
    material->SetBlendingMode(static_cast<TBlendingMode>(ReadEnum(reader, bmModulate)));
    reader.ReadInteger(); // reserved
    std::uint8_t options = 0;
    reader.Read(&options, 1);
    if (options > (MaterialOption(moIgnoreFog) | MaterialOption(moNoLighting))) {
        InvalidData();
    }
    material->SetMaterialOptions(options);
    ReadVector3(reader, *libMaterial->TextureOffset());
    ReadVector3(reader, *libMaterial->TextureScale());
    libMaterial->SetTextureOffset(libMaterial->TextureOffset()); // recalculates the matrix
    libMaterial->SetTexture2Name(reader.ReadString());
    if (version < 2) {
        return;
    }
    const std::int32_t items = reader.ReadInteger();
    if (items < 0 || items > reader.Stream().Remaining()) {
        InvalidData();
    }
    for (std::int32_t i = 0; i < items; ++i) {
        TGLTextureExItem* item = material->TextureEx()->Add();
        if (std::unique_ptr<TBitmap> itemPicture = ReadTexturePicture(reader)) {
            item->Texture()->SetDisabled(false);
            item->Texture()->Image()->Assign(itemPicture.get());
        }
        item->SetTextureIndex(reader.ReadInteger());
        ReadVector3(reader, *item->TextureOffset());
        ReadVector3(reader, *item->TextureScale());
        item->SetTextureOffset(item->TextureOffset());
    }
}

} // namespace

void TGLMaterialLibrary::WriteToFiler(TVirtualWriter& writer) const
{
    writer.WriteInteger(ArchiveVersion);
    writer.WriteInteger(FMaterials->Count());
    for (int i = 0; i < FMaterials->Count(); ++i) {
        TGLLibMaterial* libMaterial = FMaterials->Items(i);
        TGLMaterial* material = libMaterial->Material();
        writer.WriteString(libMaterial->Name());
        WriteTexturePicture(writer, material->HasTexture() ? material->Texture() : nullptr);
        WriteFace(writer, *material->FrontProperties());
        WriteFace(writer, *material->BackProperties());
        writer.WriteInteger(material->BlendingMode());
        writer.WriteInteger(1);
        const std::uint8_t options = material->MaterialOptions();
        writer.Write(&options, 1);
        WriteVector3(writer, *libMaterial->TextureOffset());
        WriteVector3(writer, *libMaterial->TextureScale());
        writer.WriteString(libMaterial->Texture2Name());
        const int items = material->HasTextureEx() ? material->TextureEx()->Count() : 0;
        writer.WriteInteger(items);
        for (int j = 0; j < items; ++j) {
            TGLTextureExItem* item = material->TextureEx()->Items(j);
            WriteTexturePicture(writer, item->Texture());
            writer.WriteInteger(item->TextureIndex());
            WriteVector3(writer, *item->TextureOffset());
            WriteVector3(writer, *item->TextureScale());
        }
    }
}

void TGLMaterialLibrary::ReadFromFiler(TVirtualReader& reader)
{
    const std::int32_t version = reader.ReadInteger();
    if (version < 0 || version > ArchiveVersion) {
        RaiseFilerExceptionForClass(StaticClass(), version);
    }
    const std::int32_t count = reader.ReadInteger();
    // Every material takes more than one byte, so a larger count is damage.
    if (count < 0 || count > reader.Stream().Remaining()) {
        InvalidData();
    }
    // Read aside first: a damaged stream leaves the library as it was.
    TGLLibMaterials loaded(this);
    FLoading = true;
    try {
        for (std::int32_t i = 0; i < count; ++i) {
            ReadOneMaterial(reader, version, loaded);
        }
    } catch (...) {
        FLoading = false;
        throw;
    }
    FMaterials->BeginUpdate();
    FMaterials->Clear();
    while (loaded.Count() > 0) {
        loaded.Items(0)->SetCollection(FMaterials.get());
    }
    FMaterials->EndUpdate();
    FLoading = false;
}

void TGLMaterialLibrary::SaveToStream(TStream& stream) const
{
    TBinaryWriter writer(stream);
    WriteToFiler(writer);
}

void TGLMaterialLibrary::LoadFromStream(TStream& stream)
{
    TBinaryReader reader(stream);
    ReadFromFiler(reader);
}

void TGLMaterialLibrary::SaveToFile(const std::string& fileName) const
{
    TMemoryStream memory;
    SaveToStream(memory);
    memory.SaveToFile(fileName);
}

void TGLMaterialLibrary::LoadFromFile(const std::string& fileName)
{
    TMemoryStream memory;
    memory.LoadFromFile(fileName);
    LoadFromStream(memory);
}
