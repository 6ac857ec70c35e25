#include "platform/core/objects/Filer.h"

#include "platform/core/objects/Persistent.h"

void TBinaryPropertyWriter::DefineBinaryProperty(const std::string& name, const TStreamProc& /*readData*/,
                                                 const TStreamProc& writeData, bool hasData)
{
    if (!hasData || !writeData) {
        return;
    }
    TStringStream bytes;
    writeData(bytes);
    properties.emplace_back(name, bytes.DataString());
}

std::vector<std::pair<std::string, std::string>> TBinaryPropertyWriter::Collect(TPersistent& object)
{
    TBinaryPropertyWriter writer;
    object.DefineProperties(&writer);
    return std::move(writer.properties);
}

void TBinaryPropertyReader::DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                                                 const TStreamProc& /*writeData*/, bool /*hasData*/)
{
    if (!readData) {
        return;
    }
    for (const auto& [storedName, bytes] : stored_) {
        if (storedName == name) {
            TStringStream stream(bytes);
            readData(stream);
            if (stream.Position() != stream.Size()) {
                throw EReadError("Property " + name + " holds more data than it reads");
            }
            return;
        }
    }
}

void TBinaryPropertyReader::Apply(TPersistent& object, std::vector<std::pair<std::string, std::string>> stored)
{
    TBinaryPropertyReader reader(std::move(stored));
    object.DefineProperties(&reader);
}
