#pragma once
// Mesh files: format objects chosen by the file name's extension from one global
// registry, and the native "glwm" format ("GLWorld Mesh"), which stores the mesh's
// list of mesh objects as a persistent-object stream (no signature; the skeleton,
// materials and scene-object properties are not part of it).

#include "scene/materials/DataFile.h"
#include "scene/objects/meshes/MeshObjects.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TGLBaseMesh;
class TVectorFile;

enum TMeshNormalsOrientation : std::uint8_t { mnoDefault, mnoInvert };

// Makes a format object for a mesh.
using TVectorFileFactory = std::function<TVectorFile*(TGLBaseMesh* owner)>;

struct TVectorFileFormat {
    TClass VectorFileClass;
    TVectorFileFactory Create;
    // Lower case, without a dot.
    std::string Extension;
    std::string Description;
    int DescResID = 0;
};

class TVectorFileFormatsList {
public:
    // The extension is stored lower-cased.
    void Add(std::string_view extension, const std::string& description, int descResID, TClass cls,
             TVectorFileFactory create);
    // The last registration of the extension (any case); nullptr when none.
    const TVectorFileFormat* FindExt(std::string_view extension) const;
    // By the file name's extension; EInvalidVectorFile "Unknown file extension (<ext>),
    // maybe you forgot to add the support unit to your uses? (GLFile<EXT>?)" when none.
    const TVectorFileFormat& FindFromFileName(const std::string& fileName) const;

    int Count() const { return static_cast<int>(formats_.size()); }
    const TVectorFileFormat& Items(int index) const { return formats_.at(static_cast<std::size_t>(index)); }

private:
    std::vector<TVectorFileFormat> formats_;
};

// The global list, made on first use.
TVectorFileFormatsList& GetVectorFileFormats();

class TVectorFile : public TDataFile {
    KP_CLASS(TVectorFile, TDataFile)
public:
    // The owner must be a mesh (asserted).
    explicit TVectorFile(TPersistent* owner);

    TGLBaseMesh* Owner() const;
    TMeshNormalsOrientation NormalsOrientation() const { return normalsOrientation_; }
    virtual void SetNormalsOrientation(TMeshNormalsOrientation value) { normalsOrientation_ = value; }

private:
    TMeshNormalsOrientation normalsOrientation_ = mnoDefault;
};

// Registers the class for streaming by name and appends its format.
void RegisterVectorFileFormat(std::string_view extension, const std::string& description, TClass cls,
                              TVectorFileFactory create);
template <class T>
void RegisterVectorFileFormat(std::string_view extension, const std::string& description)
{
    RegisterVectorFileFormat(extension, description, T::StaticClass(),
                             [](TGLBaseMesh* owner) -> TVectorFile* { return new T(owner); });
}

class TGLGLWMVectorFile : public TVectorFile {
    KP_CLASS(TGLGLWMVectorFile, TVectorFile)
public:
    using TVectorFile::TVectorFile;

    TDataFileCapabilities Capabilities() const override { return (1u << dfcRead) | (1u << dfcWrite); }
    TDataFile* CreateCopy(TPersistent* owner) const override { return new TGLGLWMVectorFile(owner); }
    // Into the owner's mesh objects. A corrupt file raises EInvalidVectorFile naming
    // the file (ResourceName) and the fault.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
};
