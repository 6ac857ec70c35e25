// The mesh objects' own fields in the order of the "glwm" file; each class writes its
// parent's part first, then its version and fields.

#include "scene/objects/meshes/MeshObjects.h"

#include "scene/objects/meshes/SkeletonMeshObject.h"

#include <string>

namespace {

[[noreturn]] void Corrupt(const std::string& fault) { throw EInvalidVectorFile(fault); }

} // namespace

void TBaseMeshObject::WriteToFiler(TVirtualWriter& writer) const
{
    TPersistentObject::WriteToFiler(writer);
    writer.WriteInteger(1);
    writer.WriteString(name_);
    vertices_.WriteToFiler(writer);
    normals_.WriteToFiler(writer);
    writer.WriteBoolean(visible_);
}

void TBaseMeshObject::ReadFromFiler(TVirtualReader& reader)
{
    TPersistentObject::ReadFromFiler(reader);
    const int version = reader.ReadInteger();
    if (version < 0 || version > 1) {
        RaiseFilerException(version);
    }
    name_ = reader.ReadString();
    vertices_.ReadFromFiler(reader);
    normals_.ReadFromFiler(reader);
    visible_ = version >= 1 ? reader.ReadBoolean() : true;
}

void TMeshObject::WriteToFiler(TVirtualWriter& writer) const
{
    TBaseMeshObject::WriteToFiler(writer);
    writer.WriteInteger(2);
    texCoords_.WriteToFiler(writer);
    lightMapTexCoords_.WriteToFiler(writer);
    colors_.WriteToFiler(writer);
    faceGroups_->WriteToFiler(writer);
    writer.WriteInteger(mode_);
    writer.WriteInteger(sizeof(renderingOptions_));
    writer.Write(&renderingOptions_, sizeof(renderingOptions_));
    writer.WriteInteger(TexCoordsExCount());
    for (const auto& list : texCoordsEx_) {
        list->WriteToFiler(writer);
    }
    writer.WriteInteger(texCoordSetIndexA_);
    writer.WriteInteger(texCoordSetIndexB_);
}

void TMeshObject::ReadFromFiler(TVirtualReader& reader)
{
    TBaseMeshObject::ReadFromFiler(reader);
    const int version = reader.ReadInteger();
    if (version < 0 || version > 2) {
        RaiseFilerException(version);
    }
    texCoords_.ReadFromFiler(reader);
    if (version >= 1) {
        lightMapTexCoords_.ReadFromFiler(reader);
    } else {
        lightMapTexCoords_.Clear();
    }
    colors_.ReadFromFiler(reader);
    faceGroups_->ReadFromFiler(reader);
    const int mode = reader.ReadInteger();
    if (mode < 0 || mode >= MeshObjectModeCount) {
        Corrupt("mesh object \"" + Name() + "\" has the unknown mode " + std::to_string(mode));
    }
    mode_ = static_cast<TMeshObjectMode>(mode);
    const int optionsSize = reader.ReadInteger();
    if (optionsSize != static_cast<int>(sizeof(renderingOptions_))) {
        Corrupt("mesh object \"" + Name() + "\" has rendering options of " + std::to_string(optionsSize) +
                " bytes instead of 1");
    }
    reader.Read(&renderingOptions_, sizeof(renderingOptions_));
    if (version >= 2) {
        const int extraLists = reader.ReadInteger();
        texCoordsEx_.clear();
        for (int i = 0; i < extraLists; ++i) {
            TexCoordsEx(i).ReadFromFiler(reader);
        }
        const int setA = reader.ReadInteger();
        const int setB = reader.ReadInteger();
        if (setA < 0 || setB < 0) {
            Corrupt("mesh object \"" + Name() + "\" has a negative texture-coordinate set index");
        }
        texCoordSetIndexA_ = setA;
        texCoordSetIndexB_ = setB;
    }
    CheckFaceGroupIndices();
}

void TMeshObject::CheckFaceGroupIndices() const
{
    for (int i = 0; i < faceGroups_->Count(); ++i) {
        const std::string fault = faceGroups_->Items(i)->IndexFault(*this);
        if (!fault.empty()) {
            Corrupt("face group " + std::to_string(i) + " of mesh object \"" + Name() + "\": " + fault);
        }
    }
}

void TMeshMorphTarget::WriteToFiler(TVirtualWriter& writer) const
{
    TBaseMeshObject::WriteToFiler(writer);
    writer.WriteInteger(0);
}

void TMeshMorphTarget::ReadFromFiler(TVirtualReader& reader)
{
    TBaseMeshObject::ReadFromFiler(reader);
    if (const int version = reader.ReadInteger(); version != 0) {
        RaiseFilerException(version);
    }
}

void TMorphableMeshObject::WriteToFiler(TVirtualWriter& writer) const
{
    TMeshObject::WriteToFiler(writer);
    writer.WriteInteger(0);
    morphTargets_->WriteToFiler(writer);
}

void TMorphableMeshObject::ReadFromFiler(TVirtualReader& reader)
{
    TMeshObject::ReadFromFiler(reader);
    if (const int version = reader.ReadInteger(); version != 0) {
        RaiseFilerException(version);
    }
    morphTargets_->ReadFromFiler(reader);
}

void TMeshObjectList::ReadFromFiler(TVirtualReader& reader)
{
    TMeshItemList::ReadFromFiler(reader);
    for (int i = 0; i < Count(); ++i) {
        if (auto* skinned = ObjectCast<TSkeletonMeshObject>(Items(i))) {
            skinned->PrepareBoneMatrixInvertedMeshes();
        }
    }
}
