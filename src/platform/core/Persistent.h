#pragma once
// Objects that can copy their state from another object of a compatible class.
// Assign asks the source to AssignTo us when we do not know its class; when neither
// side knows the other, EConvertError "Cannot assign a <source> to a <dest>".

#include "platform/core/Object.h"

class TPersistent : public TObject {
    KP_CLASS(TPersistent, TObject)
public:
    virtual void Assign(const TPersistent* source);

protected:
    virtual void AssignTo(TPersistent* dest) const;
    [[noreturn]] void AssignError(const TPersistent* source) const;
};
