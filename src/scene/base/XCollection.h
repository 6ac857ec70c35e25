#pragma once
// A polymorphic, owned collection of named items whose classes are registered by name,
// so that a collection holding items of several classes can be streamed. A collection
// can veto item classes, and an item class can declare itself unique in a collection
// (at most one item of it, descendants included).
//
// An item class declares its class-level answers as static functions (ClassTitle is
// required; ClassDescription, ClassTag, IsUniqueItem and CanAddTo have defaults) and
// puts KP_XCOLLECTION_ITEM(Self) in its body.

#include "platform/core/objects/Persistent.h"
#include "scene/base/ValueStream.h"

#include <functional>
#include <string>
#include <vector>

class TXCollection;
class TXCollectionItem;

// What the collection needs to know about an item class without an instance.
struct TXCollectionItemClass {
    TClass cls = nullptr;
    std::function<TXCollectionItem*()> create;
    std::string (*classTitle)() = nullptr;
    std::string (*classDescription)() = nullptr;
    std::string (*classTag)() = nullptr;
    bool (*isUniqueItem)() = nullptr;
    bool (*canAddTo)(const TXCollection*) = nullptr;

    std::string Name() const { return cls ? cls->name : std::string(); }
};

class TXCollectionItem : public TPersistent {
    KP_CLASS(TXCollectionItem, TPersistent)
public:
    TXCollectionItem() = default;
    // Leaves its collection, if any.
    ~TXCollectionItem() override;

    virtual const TXCollectionItemClass& ItemClass() const = 0;

    // Class-level defaults; an item class hides them with its own.
    static std::string ClassTag() { return {}; }
    static bool IsUniqueItem() { return false; }
    static bool CanAddTo(const TXCollection*) { return true; }

    TXCollection* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    virtual void SetName(const std::string& name) { name_ = name; }
    // Position in the owner, -1 without one.
    int Index() const;

    // Another item's Name is copied.
    void Assign(const TPersistent* source) override;
    TPersistent* GetOwner() const override;
    // "<collection path>[<index>]" in a collection.
    std::string GetNamePath() const override;

    // Version 0 and the name; descendants write these first, then their own data.
    virtual void WriteToFiler(TVirtualWriter& writer) const;
    virtual void ReadFromFiler(TVirtualReader& reader);
    // After the object owning the collection finished loading.
    virtual void Loaded() {}

private:
    friend class TXCollection;
    TXCollection* owner_ = nullptr;
    std::string name_;
};

template <class T>
const TXCollectionItemClass& XCollectionItemClassOf()
{
    static const TXCollectionItemClass info = [] {
        TXCollectionItemClass c;
        c.cls = T::StaticClass();
        c.create = [] { return static_cast<TXCollectionItem*>(new T()); };
        c.classTitle = &T::ClassTitle;
        c.classDescription = [] {
            if constexpr (requires { T::ClassDescription(); }) {
                return T::ClassDescription();
            } else {
                return T::ClassTitle();
            }
        };
        c.classTag = &T::ClassTag;
        c.isUniqueItem = &T::IsUniqueItem;
        c.canAddTo = &T::CanAddTo;
        return c;
    }();
    return info;
}

#define KP_XCOLLECTION_ITEM(Self)                                                                  \
public:                                                                                            \
    const TXCollectionItemClass& ItemClass() const override { return XCollectionItemClassOf<Self>(); } \
                                                                                                   \
private:

// Makes an item of the class, named after its title, and appends it to the collection
// when one is given. A rejected class is an assertion failure:
// "Addition of <item class> to <collection class> rejected."
TXCollectionItem* CreateXCollectionItem(const TXCollectionItemClass& cls, TXCollection* owner);

template <class T>
T* CreateXCollectionItem(TXCollection* owner)
{
    return static_cast<T*>(CreateXCollectionItem(XCollectionItemClassOf<T>(), owner));
}

class TXCollection : public TPersistent {
    KP_CLASS(TXCollection, TPersistent)
public:
    explicit TXCollection(TPersistent* owner = nullptr) : owner_(owner) {}
    ~TXCollection() override;

    TPersistent* Owner() const { return owner_; }
    int Count() const { return static_cast<int>(items_.size()); }
    // EListError "List index out of bounds (<i>)" outside the list.
    TXCollectionItem* Items(int index) const;
    TXCollectionItem* operator[](int index) const { return Items(index); }

    // Appends an item made elsewhere (taking ownership), subject to CanAdd.
    void Add(TXCollectionItem* item);
    int IndexOf(const TXCollectionItem* item) const;
    int IndexOfClass(TClass cls) const;
    int IndexOfName(const std::string& name) const;
    // The first item of the class or a descendant, nullptr when none.
    TXCollectionItem* GetByClass(TClass cls) const;
    void Delete(int index);
    // Frees every item.
    void Clear();
    void Loaded();

    // nullptr clears; a collection of the same class is copied item by item.
    void Assign(const TPersistent* source) override;
    TPersistent* GetOwner() const override { return owner_; }
    // "<owner path>.XCollection", or the class name when the owner has no path.
    std::string GetNamePath() const override;

    virtual TClass ItemsClass() const { return TXCollectionItem::StaticClass(); }
    // Whether an item of the class may join: the class agrees, a unique class is not
    // present yet, and no unique item present is an ancestor of the class.
    virtual bool CanAdd(const TXCollectionItemClass& cls) const;

    void WriteToFiler(TVirtualWriter& writer) const;
    // Replaces the items with those read.
    void ReadFromFiler(TVirtualReader& reader);

private:
    friend class TXCollectionItem;
    void Detach(TXCollectionItem* item);

    TPersistent* owner_;
    std::vector<TXCollectionItem*> items_;
};

// Registers the class for reading by name; returns its index.
int RegisterXCollectionItemClass(const TXCollectionItemClass& cls);
template <class T>
int RegisterXCollectionItemClass()
{
    return RegisterXCollectionItemClass(XCollectionItemClassOf<T>());
}
// The registered class of exactly this name (case-sensitive), nullptr when none.
const TXCollectionItemClass* FindXCollectionItemClass(const std::string& name);
