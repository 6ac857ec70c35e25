#pragma once
// The hook through which persistent objects stream properties that are not plain
// published values (a vector as 16 raw bytes, say). An object lists them in
// DefineProperties; the filer decides whether it is writing or reading them.

#include "platform/core/files/Stream.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

class TPersistent;

class TFiler {
public:
    using TStreamProc = std::function<void(TStream&)>;

    virtual ~TFiler() = default;
    // hasData false: nothing is written for the property.
    virtual void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                                      const TStreamProc& writeData, bool hasData) = 0;
};

// Collects the binary properties an object writes, in declaration order.
class TBinaryPropertyWriter : public TFiler {
public:
    void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                              const TStreamProc& writeData, bool hasData) override;

    // Runs the object's DefineProperties and returns what it wrote.
    static std::vector<std::pair<std::string, std::string>> Collect(TPersistent& object);

    std::vector<std::pair<std::string, std::string>> properties;
};

// Hands stored bytes to the properties an object declares; properties without stored
// bytes are left alone. A reader that does not consume every byte is a read error.
class TBinaryPropertyReader : public TFiler {
public:
    explicit TBinaryPropertyReader(std::vector<std::pair<std::string, std::string>> stored)
        : stored_(std::move(stored)) {}

    void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                              const TStreamProc& writeData, bool hasData) override;

    static void Apply(TPersistent& object, std::vector<std::pair<std::string, std::string>> stored);

private:
    std::vector<std::pair<std::string, std::string>> stored_;
};
