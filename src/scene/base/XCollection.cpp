#include "scene/base/XCollection.h"

#include "platform/core/Assert.h"

#include <algorithm>
#include <memory>

namespace {

std::vector<const TXCollectionItemClass*>& ItemClassRegistry()
{
    static std::vector<const TXCollectionItemClass*> classes;
    return classes;
}

} // namespace

int RegisterXCollectionItemClass(const TXCollectionItemClass& cls)
{
    auto& classes = ItemClassRegistry();
    for (std::size_t i = 0; i < classes.size(); ++i) {
        if (classes[i]->cls == cls.cls) {
            return static_cast<int>(i);
        }
    }
    classes.push_back(&cls);
    return static_cast<int>(classes.size()) - 1;
}

const TXCollectionItemClass* FindXCollectionItemClass(const std::string& name)
{
    for (const TXCollectionItemClass* c : ItemClassRegistry()) {
        if (name == c->cls->name) {
            return c;
        }
    }
    return nullptr;
}

TXCollectionItem* CreateXCollectionItem(const TXCollectionItemClass& cls, TXCollection* owner)
{
    if (owner && !owner->CanAdd(cls)) {
        const std::string message = "Addition of " + cls.Name() + " to " + owner->ClassName() + " rejected.";
        KP_ASSERT_MSG(false, message.c_str());
    }
    std::unique_ptr<TXCollectionItem> item(cls.create());
    item->SetName(cls.classTitle());
    if (owner) {
        owner->Add(item.get());
    }
    return item.release();
}

// ---- TXCollectionItem ----

TXCollectionItem::~TXCollectionItem()
{
    if (owner_) {
        owner_->Detach(this);
    }
}

int TXCollectionItem::Index() const { return owner_ ? owner_->IndexOf(this) : -1; }

void TXCollectionItem::Assign(const TPersistent* source)
{
    if (const auto* item = ObjectCast<TXCollectionItem>(source)) {
        name_ = item->name_;
    } else {
        TPersistent::Assign(source);
    }
}

TPersistent* TXCollectionItem::GetOwner() const { return owner_; }

std::string TXCollectionItem::GetNamePath() const
{
    if (!owner_) {
        return TPersistent::GetNamePath();
    }
    return owner_->GetNamePath() + "[" + std::to_string(Index()) + "]";
}

void TXCollectionItem::WriteToFiler(TVirtualWriter& writer) const
{
    writer.WriteInteger(0);
    writer.WriteString(name_);
}

void TXCollectionItem::ReadFromFiler(TVirtualReader& reader)
{
    const int version = reader.ReadInteger();
    KP_ASSERT(version == 0);
    SetName(reader.ReadString());
}

// ---- TXCollection ----

TXCollection::~TXCollection() { Clear(); }

TXCollectionItem* TXCollection::Items(int index) const
{
    if (index < 0 || index >= Count()) {
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    }
    return items_[static_cast<std::size_t>(index)];
}

void TXCollection::Add(TXCollectionItem* item)
{
    if (item->owner_ == this) {
        return;
    }
    if (!CanAdd(item->ItemClass())) {
        const std::string message = "Addition of " + item->ClassName() + " to " + ClassName() + " rejected.";
        KP_ASSERT_MSG(false, message.c_str());
    }
    if (item->owner_) {
        item->owner_->Detach(item);
    }
    items_.push_back(item);
    item->owner_ = this;
}

int TXCollection::IndexOf(const TXCollectionItem* item) const
{
    const auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

int TXCollection::IndexOfClass(TClass cls) const
{
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i]->InheritsFrom(cls)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int TXCollection::IndexOfName(const std::string& name) const
{
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i]->Name() == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

TXCollectionItem* TXCollection::GetByClass(TClass cls) const
{
    const int i = IndexOfClass(cls);
    return i < 0 ? nullptr : items_[static_cast<std::size_t>(i)];
}

void TXCollection::Delete(int index) { delete Items(index); }

void TXCollection::Clear()
{
    // Detached first, so the items do not remove themselves while we walk the list.
    std::vector<TXCollectionItem*> items;
    items.swap(items_);
    for (TXCollectionItem* item : items) {
        item->owner_ = nullptr;
        delete item;
    }
}

void TXCollection::Loaded()
{
    for (TXCollectionItem* item : items_) {
        item->Loaded();
    }
}

void TXCollection::Assign(const TPersistent* source)
{
    if (!source) {
        Clear();
        return;
    }
    if (source->ClassType() != ClassType()) {
        TPersistent::Assign(source);
        return;
    }
    const auto* other = static_cast<const TXCollection*>(source);
    if (other == this) {
        return;
    }
    Clear();
    items_.reserve(other->items_.size());
    for (const TXCollectionItem* item : other->items_) {
        CreateXCollectionItem(item->ItemClass(), this)->Assign(item);
    }
}

std::string TXCollection::GetNamePath() const
{
    if (owner_) {
        const std::string ownerPath = owner_->GetNamePath();
        if (!ownerPath.empty()) {
            return ownerPath + ".XCollection";
        }
    }
    return ClassName();
}

bool TXCollection::CanAdd(const TXCollectionItemClass& cls) const
{
    if (!cls.canAddTo(this)) {
        return false;
    }
    if (cls.isUniqueItem()) {
        for (const TXCollectionItem* item : items_) {
            if (item->InheritsFrom(cls.cls)) {
                return false;
            }
        }
    }
    for (const TXCollectionItem* item : items_) {
        if (item->ItemClass().isUniqueItem() && cls.cls->InheritsFrom(item->ClassType())) {
            return false;
        }
    }
    return true;
}

void TXCollection::WriteToFiler(TVirtualWriter& writer) const
{
    writer.WriteInteger(Count());
    std::vector<TClass> written;
    for (const TXCollectionItem* item : items_) {
        const auto known = std::find(written.begin(), written.end(), item->ClassType());
        if (known == written.end()) {
            written.push_back(item->ClassType());
            writer.WriteString(item->ClassName());
        } else {
            writer.WriteInteger(static_cast<std::int32_t>(known - written.begin()));
        }
        item->WriteToFiler(writer);
    }
}

void TXCollection::ReadFromFiler(TVirtualReader& reader)
{
    Clear();
    const int n = reader.ReadInteger();
    // Every item takes at least two bytes, so a count beyond that is damage.
    if (n < 0 || n > reader.Stream().Remaining() / 2) {
        throw EReadError("Invalid item count " + std::to_string(n) + " in " + ClassName());
    }
    std::vector<const TXCollectionItemClass*> classes;
    for (int i = 0; i < n; ++i) {
        const TXCollectionItemClass* cls = nullptr;
        const int tag = reader.NextValue();
        if (tag == vaString || tag == vaLString || tag == vaWString || tag == vaUTF8String) {
            const std::string name = reader.ReadString();
            cls = FindXCollectionItemClass(name);
            if (!cls) {
                const std::string message = "Class " + name + " unknown. Add the relevant unit to your \"uses\".";
                KP_ASSERT_MSG(false, message.c_str());
            }
            classes.push_back(cls);
        } else {
            const int index = reader.ReadInteger();
            if (index < 0 || index >= static_cast<int>(classes.size())) {
                throw EReadError("Invalid class index " + std::to_string(index) + " in " + ClassName());
            }
            cls = classes[static_cast<std::size_t>(index)];
        }
        CreateXCollectionItem(*cls, this)->ReadFromFiler(reader);
    }
}

void TXCollection::Detach(TXCollectionItem* item)
{
    const auto it = std::find(items_.begin(), items_.end(), item);
    if (it != items_.end()) {
        items_.erase(it);
    }
    item->owner_ = nullptr;
}
