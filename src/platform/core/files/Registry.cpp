#include "platform/core/files/Registry.h"

#include <algorithm>
#include <map>

#include "platform/core/text/StringUtils.h"

namespace {

std::vector<std::string> SplitPath(const std::string& path)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

std::string JoinPath(const std::vector<std::string>& parts)
{
    std::string path;
    for (const auto& part : parts) {
        if (!path.empty())
            path += '\\';
        path += part;
    }
    return path;
}

IRegistryStore* installedStore = nullptr;

} // namespace

// Children and values keep their first-written names and their creation order; lookups
// fold ASCII case.
struct TMemoryRegistryStore::TNode {
    std::string name;
    std::vector<std::unique_ptr<TNode>> children;
    std::vector<std::pair<std::string, TRegistryValue>> values;

    TNode* Child(const std::string& childName) const
    {
        for (const auto& child : children)
            if (SameText(child->name, childName))
                return child.get();
        return nullptr;
    }
    std::pair<std::string, TRegistryValue>* Value(const std::string& valueName)
    {
        for (auto& value : values)
            if (SameText(value.first, valueName))
                return &value;
        return nullptr;
    }
};

TMemoryRegistryStore::TMemoryRegistryStore()
{
    for (auto& root : FRoots)
        root = std::make_unique<TNode>();
}

TMemoryRegistryStore::~TMemoryRegistryStore() = default;

TMemoryRegistryStore::TNode* TMemoryRegistryStore::Find(TRegistryRoot root, const std::string& path) const
{
    TNode* node = FRoots[static_cast<int>(root)].get();
    for (const auto& part : SplitPath(path)) {
        node = node->Child(part);
        if (!node)
            return nullptr;
    }
    return node;
}

bool TMemoryRegistryStore::KeyExists(TRegistryRoot root, const std::string& path) const
{
    return Find(root, path) != nullptr;
}

bool TMemoryRegistryStore::CreateKey(TRegistryRoot root, const std::string& path)
{
    if (KeyExists(root, path))
        return true;
    if (FReadOnly)
        return false;
    TNode* node = FRoots[static_cast<int>(root)].get();
    for (const auto& part : SplitPath(path)) {
        TNode* child = node->Child(part);
        if (!child) {
            node->children.push_back(std::make_unique<TNode>());
            child = node->children.back().get();
            child->name = part;
        }
        node = child;
    }
    return true;
}

bool TMemoryRegistryStore::DeleteKey(TRegistryRoot root, const std::string& path)
{
    auto parts = SplitPath(path);
    if (parts.empty() || FReadOnly)
        return false;
    const std::string last = parts.back();
    parts.pop_back();
    TNode* parent = Find(root, JoinPath(parts));
    if (!parent)
        return false;
    auto it = std::find_if(parent->children.begin(), parent->children.end(),
                           [&](const auto& child) { return SameText(child->name, last); });
    if (it == parent->children.end())
        return false;
    parent->children.erase(it);
    return true;
}

std::vector<std::string> TMemoryRegistryStore::SubKeyNames(TRegistryRoot root, const std::string& path) const
{
    std::vector<std::string> names;
    if (const TNode* node = Find(root, path))
        for (const auto& child : node->children)
            names.push_back(child->name);
    return names;
}

std::vector<std::string> TMemoryRegistryStore::ValueNames(TRegistryRoot root, const std::string& path) const
{
    std::vector<std::string> names;
    if (const TNode* node = Find(root, path))
        for (const auto& value : node->values)
            names.push_back(value.first);
    return names;
}

std::optional<TRegistryValue> TMemoryRegistryStore::ReadValue(TRegistryRoot root, const std::string& path,
                                                              const std::string& name) const
{
    TNode* node = Find(root, path);
    if (!node)
        return std::nullopt;
    if (auto* value = node->Value(name))
        return value->second;
    return std::nullopt;
}

bool TMemoryRegistryStore::WriteValue(TRegistryRoot root, const std::string& path, const std::string& name,
                                      const TRegistryValue& value)
{
    if (FReadOnly || !CreateKey(root, path))
        return false;
    TNode* node = Find(root, path);
    if (auto* existing = node->Value(name))
        existing->second = value;
    else
        node->values.emplace_back(name, value);
    return true;
}

bool TMemoryRegistryStore::DeleteValue(TRegistryRoot root, const std::string& path, const std::string& name)
{
    TNode* node = Find(root, path);
    if (!node || FReadOnly)
        return false;
    auto it = std::find_if(node->values.begin(), node->values.end(),
                           [&](const auto& value) { return SameText(value.first, name); });
    if (it == node->values.end())
        return false;
    node->values.erase(it);
    return true;
}

IRegistryStore& GetRegistryStore()
{
    if (installedStore)
        return *installedStore;
    static TMemoryRegistryStore fallback;
    return fallback;
}

IRegistryStore* SetRegistryStore(IRegistryStore* store)
{
    IRegistryStore* previous = installedStore;
    installedStore = store;
    return previous;
}

TRegistry::TRegistry(IRegistryStore& store) : FStore(store) {}

void TRegistry::SetRootKey(TRegistryRoot root)
{
    CloseKey();
    FRoot = root;
}

std::string TRegistry::Resolve(const std::string& key) const
{
    if (!key.empty() && key.front() == '\\')
        return JoinPath(SplitPath(key));
    std::vector<std::string> parts = SplitPath(FPath);
    for (const auto& part : SplitPath(key))
        parts.push_back(part);
    return JoinPath(parts);
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate)
{
    const std::string path = Resolve(key);
    if (!FStore.KeyExists(FRoot, path) && !(canCreate && FStore.CreateKey(FRoot, path)))
        return false;
    FPath = path;
    FOpen = true;
    return true;
}

void TRegistry::CloseKey()
{
    FPath.clear();
    FOpen = false;
}

bool TRegistry::KeyExists(const std::string& key) const { return FStore.KeyExists(FRoot, Resolve(key)); }
bool TRegistry::CreateKey(const std::string& key) { return FStore.CreateKey(FRoot, Resolve(key)); }
bool TRegistry::DeleteKey(const std::string& key) { return FStore.DeleteKey(FRoot, Resolve(key)); }

bool TRegistry::ValueExists(const std::string& name) const
{
    return FStore.ReadValue(FRoot, FPath, name).has_value();
}

bool TRegistry::DeleteValue(const std::string& name) { return FStore.DeleteValue(FRoot, FPath, name); }
std::vector<std::string> TRegistry::GetKeyNames() const { return FStore.SubKeyNames(FRoot, FPath); }
std::vector<std::string> TRegistry::GetValueNames() const { return FStore.ValueNames(FRoot, FPath); }

std::int32_t TRegistry::ReadInteger(const std::string& name) const
{
    auto value = FStore.ReadValue(FRoot, FPath, name);
    if (!value || !std::holds_alternative<std::int32_t>(*value))
        throw ERegistryException("Invalid data type for '" + name + "'");
    return std::get<std::int32_t>(*value);
}

std::string TRegistry::ReadString(const std::string& name) const
{
    auto value = FStore.ReadValue(FRoot, FPath, name);
    if (!value || !std::holds_alternative<std::string>(*value))
        throw ERegistryException("Invalid data type for '" + name + "'");
    return std::get<std::string>(*value);
}

void TRegistry::WriteInteger(const std::string& name, std::int32_t value)
{
    if (!FStore.WriteValue(FRoot, FPath, name, value))
        throw ERegistryException("Failed to set data for '" + name + "'");
}

void TRegistry::WriteString(const std::string& name, const std::string& value)
{
    if (!FStore.WriteValue(FRoot, FPath, name, value))
        throw ERegistryException("Failed to set data for '" + name + "'");
}
