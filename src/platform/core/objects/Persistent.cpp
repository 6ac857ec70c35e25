#include "platform/core/objects/Persistent.h"

#include "platform/core/Exceptions.h"

#include <string>

void TPersistent::Assign(const TPersistent* source)
{
    if (source) {
        source->AssignTo(this);
    } else {
        AssignError(nullptr);
    }
}

void TPersistent::AssignTo(TPersistent* dest) const { dest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* source) const
{
    const std::string sourceName = source ? source->ClassName() : "nil";
    throw EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}

std::string TPersistent::GetNamePath() const
{
    std::string result = ClassName();
    if (const TPersistent* owner = GetOwner()) {
        const std::string ownerPath = owner->GetNamePath();
        if (!ownerPath.empty()) {
            result = ownerPath + "." + result;
        }
    }
    return result;
}
