#pragma once
// File access shared by every file format of the 3D side: opening a stream with a
// clear "File not found" error, the abstract data file the mesh formats derive from,
// and the lookup of a picture reader by file extension.

#include "platform/core/objects/Persistent.h"
#include "platform/core/graphics/PictureFormats.h"
#include "platform/core/files/Stream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// For every mode but fmCreate the file must exist, else Exception
// File not found: "<name>". The stream belongs to the caller.
std::unique_ptr<TStream> CreateFileStream(const std::string& fileName, std::uint16_t mode = fmOpenRead | fmShareDenyNone);
bool HookedFileExists(const std::string& fileName);

enum TDataFileCapability { dfcRead, dfcWrite };
using TDataFileCapabilities = std::uint32_t; // bit n for capability n

class TDataFile : public TPersistent {
    KP_CLASS(TDataFile, TPersistent)
public:
    explicit TDataFile(TPersistent* owner);

    TPersistent* Owner() const { return FOwner; }
    const std::string& ResourceName() const { return FResourceName; }
    void SetResourceName(const std::string& name) { FResourceName = name; }

    // The base can only read.
    virtual TDataFileCapabilities Capabilities() const { return 1u << dfcRead; }
    // A new object of the same class for `owner`.
    virtual TDataFile* CreateCopy(TPersistent* owner) const = 0;

    virtual void LoadFromFile(const std::string& fileName);
    virtual void SaveToFile(const std::string& fileName);
    virtual void LoadFromStream(TStream& stream) = 0;
    // The base fails with "Export for <class> to <stream class> not available.".
    virtual void SaveToStream(TStream& stream);

private:
    TPersistent* FOwner;
    std::string FResourceName;
};

// The registered picture format for an extension ("jpg" or ".jpg", any case); nullptr
// when none.
const TPictureFormat* GraphicClassForExtension(std::string_view extension);
