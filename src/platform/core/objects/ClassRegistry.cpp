#include "platform/core/objects/ClassRegistry.h"

#include "platform/core/Exceptions.h"
#include "platform/core/text/StringUtils.h"

#include <string>

namespace {

struct Entry {
    TClass cls;
    TObjectFactory factory;
};

std::vector<Entry>& Registry()
{
    static std::vector<Entry> entries;
    return entries;
}

Entry* Lookup(std::string_view name)
{
    for (Entry& e : Registry()) {
        if (SameText(e.cls->name, name)) {
            return &e;
        }
    }
    return nullptr;
}

} // namespace

void RegisterClass(TClass cls, TObjectFactory factory)
{
    if (!Lookup(cls->name)) {
        Registry().push_back({cls, std::move(factory)});
    }
}

TClass GetClass(std::string_view name)
{
    Entry* e = Lookup(name);
    return e ? e->cls : nullptr;
}

TClass FindClass(std::string_view name)
{
    TClass cls = GetClass(name);
    if (!cls) {
        throw EClassNotFound("Class " + std::string(name) + " not found");
    }
    return cls;
}

TObject* CreateObjectByName(std::string_view name)
{
    Entry* e = Lookup(name);
    if (!e || !e->factory) {
        throw EClassNotFound("Class " + std::string(name) + " not found");
    }
    return e->factory();
}

void UnRegisterClass(TClass cls)
{
    auto& entries = Registry();
    std::erase_if(entries, [cls](const Entry& e) { return e.cls == cls; });
}

std::vector<TClass> RegisteredClassesOf(TClass base)
{
    std::vector<TClass> out;
    for (const Entry& e : Registry()) {
        if (e.cls->InheritsFrom(base)) {
            out.push_back(e.cls);
        }
    }
    return out;
}
