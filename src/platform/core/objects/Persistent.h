#pragma once
// Objects that can copy their state from another object of a compatible class.
// Assign asks the source to AssignTo us when we do not know its class; when neither
// side knows the other, EConvertError "Cannot assign a <source> to a <dest>".

#include "platform/core/objects/Object.h"

#include <string>

class TFiler;

class TPersistent : public TObject {
    KP_CLASS(TPersistent, TObject)
public:
    virtual void Assign(const TPersistent* source);
    // The object this one belongs to for naming and change notification (nullptr: none).
    virtual TPersistent* GetOwner() const { return nullptr; }
    // "<owner path>.<class name>", or the class name alone without an owner path.
    virtual std::string GetNamePath() const;
    // Declares properties streamed by hand (binary blobs and the like) to a filer.
    virtual void DefineProperties(TFiler* /*filer*/) {}

protected:
    virtual void AssignTo(TPersistent* dest) const;
    [[noreturn]] void AssignError(const TPersistent* source) const;
};
