#pragma once
// Objects that write themselves as a sequence of typed values and read themselves
// back, optionally behind a class-specific file signature. Each class writes its own
// version integer after the inherited data, and refuses versions it does not know.

#include "platform/core/Exceptions.h"
#include "platform/core/objects/Persistent.h"
#include "scene/base/ValueStream.h"

#include <cstdint>
#include <string>

class EInvalidFileSignature : public Exception {
    using Exception::Exception;
};
class EFilerException : public Exception {
    using Exception::Exception;
};

class TPersistentObject : public TPersistent {
    KP_CLASS(TPersistentObject, TPersistent)
public:
    TPersistentObject() = default;

    // A source of exactly this class is copied through a stream round trip.
    void Assign(const TPersistent* source) override;

    // Written raw before the data; empty by default.
    virtual std::string FileSignature() const { return {}; }
    virtual TVirtualWriterClass BinaryWriterClass() const { return &MakeWriter<TBinaryWriter>; }
    virtual TVirtualReaderClass BinaryReaderClass() const { return &MakeReader<TBinaryReader>; }

    // A new, empty object of the same class. By default the class registry makes it,
    // so classes that are not registered must override this.
    virtual TPersistentObject* CreateInstance() const;
    // A new object of the same class assigned from this one; the caller owns it.
    TPersistentObject* Clone() const;

    virtual void WriteToFiler(TVirtualWriter& writer) const;
    virtual void ReadFromFiler(TVirtualReader& reader);

    void SaveToStream(TStream& stream, TVirtualWriterClass writerClass = nullptr) const;
    void LoadFromStream(TStream& stream, TVirtualReaderClass readerClass = nullptr);
    void SaveToFile(const std::string& fileName, TVirtualWriterClass writerClass = nullptr) const;
    void LoadFromFile(const std::string& fileName, TVirtualReaderClass readerClass = nullptr);
    std::string SaveToString(TVirtualWriterClass writerClass = nullptr) const;
    void LoadFromString(const std::string& data, TVirtualReaderClass readerClass = nullptr);

    // EFilerException "<class name> : unknown archive version <version>".
    [[noreturn]] void RaiseFilerException(int version) const;
};

[[noreturn]] void RaiseFilerExceptionForClass(TClass cls, int version);

// Spares every concrete persistent class the same CreateInstance boilerplate.
#define KP_PERSISTENT_INSTANCE(Self) \
public: \
    TPersistentObject* CreateInstance() const override { return new Self(); } \
\
private:
