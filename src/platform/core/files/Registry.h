#pragma once
// A hierarchical store of keys and values that stands in for the system registry.
// Keys live under three roots and are named by paths of '\'-separated names; names of
// keys and values compare without regard to ASCII case, as the system's do. The shell
// installs a store that keeps the keys in an INI file of the user's; tests install an
// in-memory store. Nothing here touches the disk.

#include "platform/core/InstallScope.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/core/Exceptions.h"

enum class TRegistryRoot { CurrentUser, LocalMachine, ClassesRoot };

// A stored value: an integer or a string.
using TRegistryValue = std::variant<std::int32_t, std::string>;

// A key or value that is missing, or a value of the other kind.
class ERegistryException : public Exception {
    using Exception::Exception;
};

// What a store keeps. Paths are absolute below their root, without a leading '\'
// ("Software\\Kerfpad"); the empty path is the root itself.
class IRegistryStore {
public:
    virtual ~IRegistryStore() = default;
    virtual bool KeyExists(TRegistryRoot root, const std::string& path) const = 0;
    // Creates the key and its missing parents; false when the store cannot.
    virtual bool CreateKey(TRegistryRoot root, const std::string& path) = 0;
    // Removes the key with its sub-keys and values; false when it did not exist.
    virtual bool DeleteKey(TRegistryRoot root, const std::string& path) = 0;
    // Names as they were first written, in the order they were created.
    virtual std::vector<std::string> SubKeyNames(TRegistryRoot root, const std::string& path) const = 0;
    virtual std::vector<std::string> ValueNames(TRegistryRoot root, const std::string& path) const = 0;
    virtual std::optional<TRegistryValue> ReadValue(TRegistryRoot root, const std::string& path,
                                                    const std::string& name) const = 0;
    // Creates the key when missing; false when the store cannot write.
    virtual bool WriteValue(TRegistryRoot root, const std::string& path, const std::string& name,
                            const TRegistryValue& value) = 0;
    virtual bool DeleteValue(TRegistryRoot root, const std::string& path, const std::string& name) = 0;
    // Makes the changes lasting (a file store writes its file); raises on failure.
    virtual void Flush() {}
};

// A store held in memory only.
class TMemoryRegistryStore : public IRegistryStore {
public:
    TMemoryRegistryStore();
    ~TMemoryRegistryStore() override;
    bool KeyExists(TRegistryRoot root, const std::string& path) const override;
    bool CreateKey(TRegistryRoot root, const std::string& path) override;
    bool DeleteKey(TRegistryRoot root, const std::string& path) override;
    std::vector<std::string> SubKeyNames(TRegistryRoot root, const std::string& path) const override;
    std::vector<std::string> ValueNames(TRegistryRoot root, const std::string& path) const override;
    std::optional<TRegistryValue> ReadValue(TRegistryRoot root, const std::string& path,
                                            const std::string& name) const override;
    bool WriteValue(TRegistryRoot root, const std::string& path, const std::string& name,
                    const TRegistryValue& value) override;
    bool DeleteValue(TRegistryRoot root, const std::string& path, const std::string& name) override;

    // When set, every change fails as on a store without write access.
    void SetReadOnly(bool readOnly) { FReadOnly = readOnly; }

private:
    struct TNode;
    TNode* Find(TRegistryRoot root, const std::string& path) const;
    std::unique_ptr<TNode> FRoots[3];
    bool FReadOnly = false;
};

// The process's store: the one installed, else an in-memory store made on first use.
IRegistryStore& GetRegistryStore();
// Installs `store` (not owned; nullptr goes back to the in-memory default) and returns
// the one it replaces.
IRegistryStore* SetRegistryStore(IRegistryStore* store);

using TRegistryStoreScope = TInstallScope<IRegistryStore, SetRegistryStore>;

// The registry object callers use: a root, a current key and the reads and writes on it.
class TRegistry {
public:
    explicit TRegistry(IRegistryStore& store = GetRegistryStore());

    TRegistryRoot RootKey() const { return FRoot; }
    // Closes the current key.
    void SetRootKey(TRegistryRoot root);

    // A key that starts with '\' is absolute below the root, any other is relative to the
    // current key. The opened key becomes current; false (and the current key kept) when
    // it is missing and may not be created, or cannot be.
    bool OpenKey(const std::string& key, bool canCreate);
    bool OpenKeyReadOnly(const std::string& key) { return OpenKey(key, false); }
    void CloseKey();
    bool HasCurrentKey() const { return FOpen; }
    // The current key's path, without a leading '\'.
    const std::string& CurrentPath() const { return FPath; }

    bool KeyExists(const std::string& key) const;
    bool CreateKey(const std::string& key);
    bool DeleteKey(const std::string& key);
    bool ValueExists(const std::string& name) const;
    bool DeleteValue(const std::string& name);
    std::vector<std::string> GetKeyNames() const;
    std::vector<std::string> GetValueNames() const;
    bool HasSubKeys() const { return !GetKeyNames().empty(); }

    // Reads raise ERegistryException when the value is missing or of the other kind;
    // writes raise it when the store refuses.
    std::int32_t ReadInteger(const std::string& name) const;
    std::string ReadString(const std::string& name) const;
    bool ReadBool(const std::string& name) const { return ReadInteger(name) != 0; }
    void WriteInteger(const std::string& name, std::int32_t value);
    void WriteString(const std::string& name, const std::string& value);
    void WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }

private:
    std::string Resolve(const std::string& key) const;
    IRegistryStore& FStore;
    TRegistryRoot FRoot = TRegistryRoot::CurrentUser;
    std::string FPath;
    bool FOpen = false;
};
