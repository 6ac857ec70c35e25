#include "scene/base/PersistentObject.h"

#include "platform/core/objects/ClassRegistry.h"

#include <memory>

void TPersistentObject::Assign(const TPersistent* source)
{
    if (source && source->ClassType() == ClassType()) {
        TStringStream stream;
        static_cast<const TPersistentObject*>(source)->SaveToStream(stream);
        stream.SetPosition(0);
        LoadFromStream(stream);
    } else {
        TPersistent::Assign(source);
    }
}

TPersistentObject* TPersistentObject::CreateInstance() const
{
    std::unique_ptr<TObject> made(CreateObjectByName(ClassName()));
    if (!made || made->ClassType() != ClassType()) {
        throw EClassNotFound("Class " + ClassName() + " not found");
    }
    return static_cast<TPersistentObject*>(made.release());
}

TPersistentObject* TPersistentObject::Clone() const
{
    std::unique_ptr<TPersistentObject> copy(CreateInstance());
    copy->Assign(this);
    return copy.release();
}

void TPersistentObject::WriteToFiler(TVirtualWriter& /*writer*/) const {}

void TPersistentObject::ReadFromFiler(TVirtualReader& /*reader*/) {}

void TPersistentObject::SaveToStream(TStream& stream, TVirtualWriterClass writerClass) const
{
    std::unique_ptr<TVirtualWriter> writer = (writerClass ? writerClass : &MakeWriter<TBinaryWriter>)(stream);
    const std::string signature = FileSignature();
    if (!signature.empty()) {
        writer->Write(signature.data(), static_cast<std::int64_t>(signature.size()));
    }
    WriteToFiler(*writer);
}

void TPersistentObject::LoadFromStream(TStream& stream, TVirtualReaderClass readerClass)
{
    std::unique_ptr<TVirtualReader> reader = (readerClass ? readerClass : &MakeReader<TBinaryReader>)(stream);
    const std::string signature = FileSignature();
    if (!signature.empty()) {
        std::string found(signature.size(), '\0');
        if (stream.Read(found.data(), static_cast<std::int64_t>(found.size())) !=
                static_cast<std::int64_t>(found.size()) ||
            found != signature) {
            throw EInvalidFileSignature("Invalid file signature");
        }
    }
    ReadFromFiler(*reader);
}

void TPersistentObject::SaveToFile(const std::string& fileName, TVirtualWriterClass writerClass) const
{
    TFileStream file(fileName, fmCreate);
    SaveToStream(file, writerClass ? writerClass : BinaryWriterClass());
}

void TPersistentObject::LoadFromFile(const std::string& fileName, TVirtualReaderClass readerClass)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file, readerClass ? readerClass : BinaryReaderClass());
}

std::string TPersistentObject::SaveToString(TVirtualWriterClass writerClass) const
{
    TStringStream stream;
    SaveToStream(stream, writerClass);
    return stream.DataString();
}

void TPersistentObject::LoadFromString(const std::string& data, TVirtualReaderClass readerClass)
{
    TStringStream stream(data);
    LoadFromStream(stream, readerClass);
}

void TPersistentObject::RaiseFilerException(int version) const { RaiseFilerExceptionForClass(ClassType(), version); }

void RaiseFilerExceptionForClass(TClass cls, int version)
{
    throw EFilerException(std::string(cls->name) + " : unknown archive version " + std::to_string(version));
}
