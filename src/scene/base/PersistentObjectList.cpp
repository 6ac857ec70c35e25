#include "scene/base/PersistentObjectList.h"

#include "platform/core/objects/ClassRegistry.h"

#include <algorithm>
#include <memory>

namespace {
const bool registered = (RegisterClass<TPersistentObjectList>(), true);
}

void TPersistentObjectList::Grow() { SetCapacity(Capacity() + growthDelta_); }

int TPersistentObjectList::Add(TObject* item)
{
    if (count_ == Capacity()) {
        Grow();
    }
    items_[static_cast<std::size_t>(count_)] = item;
    return count_++;
}

void TPersistentObjectList::Insert(int index, TObject* item)
{
    if (index < 0 || index > count_) {
        Error();
    }
    if (count_ == Capacity()) {
        Grow();
    }
    std::copy_backward(items_.begin() + index, items_.begin() + count_, items_.begin() + count_ + 1);
    items_[static_cast<std::size_t>(index)] = item;
    ++count_;
}

void TPersistentObjectList::Delete(int index)
{
    if (index < 0 || index >= count_) {
        Error();
    }
    std::copy(items_.begin() + index + 1, items_.begin() + count_, items_.begin() + index);
    --count_;
    items_[static_cast<std::size_t>(count_)] = nullptr;
}

int TPersistentObjectList::Remove(TObject* item)
{
    const int index = IndexOf(item);
    if (index >= 0) {
        Delete(index);
    }
    return index;
}

int TPersistentObjectList::IndexOf(const TObject* item) const
{
    const auto end = items_.begin() + count_;
    const auto it = std::find(items_.begin(), end, item);
    return it == end ? -1 : static_cast<int>(it - items_.begin());
}

TObject* TPersistentObjectList::GetItems(int index) const
{
    if (index < 0 || index >= count_) {
        Error();
    }
    return items_[static_cast<std::size_t>(index)];
}

void TPersistentObjectList::SetItems(int index, TObject* item)
{
    if (index < 0 || index >= count_) {
        Error();
    }
    items_[static_cast<std::size_t>(index)] = item;
}

void TPersistentObjectList::SetCapacity(int capacity)
{
    capacity = std::max(capacity, 0);
    if (capacity == Capacity()) {
        return;
    }
    items_.resize(static_cast<std::size_t>(capacity), nullptr);
    items_.shrink_to_fit();
    count_ = std::min(count_, capacity);
}

void TPersistentObjectList::SetCount(int count)
{
    count = std::max(count, 0);
    if (count > Capacity()) {
        SetCapacity(count);
    }
    if (count > count_) {
        std::fill(items_.begin() + count_, items_.begin() + count, nullptr);
    }
    count_ = count;
}

TObject* TPersistentObjectList::Pop()
{
    if (count_ == 0) {
        return nullptr;
    }
    --count_;
    TObject* item = items_[static_cast<std::size_t>(count_)];
    items_[static_cast<std::size_t>(count_)] = nullptr;
    return item;
}

void TPersistentObjectList::Clear()
{
    count_ = 0;
    items_.clear();
    items_.shrink_to_fit();
}

void TPersistentObjectList::FreeItems()
{
    for (int i = count_ - 1; i >= 0; --i) {
        delete items_[static_cast<std::size_t>(i)];
        items_[static_cast<std::size_t>(i)] = nullptr;
    }
}

void TPersistentObjectList::FreeAndClear()
{
    FreeItems();
    Clear();
}

void TPersistentObjectList::FreeAllAndSelf(TPersistentObjectList*& list)
{
    if (list) {
        list->FreeAndClear();
        delete list;
        list = nullptr;
    }
}

void TPersistentObjectList::Error() const { throw EListError("Invalid list index"); }

void TPersistentObjectList::ObjectCreatedWhileReading(TPersistentObject* /*object*/) {}

void TPersistentObjectList::WriteToFiler(TVirtualWriter& writer) const
{
    writer.WriteInteger(0);
    writer.WriteListBegin();
    std::vector<TClass> classes;
    for (int i = 0; i < count_; ++i) {
        TObject* item = items_[static_cast<std::size_t>(i)];
        if (!item) {
            writer.WriteBoolean(false);
            writer.WriteInteger(0);
            continue;
        }
        const auto* object = ObjectCast<TPersistentObject>(item);
        if (!object) {
            // A raw address means nothing in another process; refuse it.
            throw EWriteError("Cannot write a " + item->ClassName() + " to an ObjectList archive");
        }
        const auto known = std::find(classes.begin(), classes.end(), object->ClassType());
        if (known == classes.end()) {
            classes.push_back(object->ClassType());
            writer.WriteString(object->ClassName());
        } else {
            writer.WriteInteger(static_cast<std::int32_t>(known - classes.begin()));
        }
        object->WriteToFiler(writer);
    }
    writer.WriteListEnd();
}

void TPersistentObjectList::ReadFromFiler(TVirtualReader& reader)
{
    const int version = reader.ReadInteger();
    if (version != 0) {
        RaiseFilerException(version);
    }
    reader.ReadListBegin();

    std::vector<TObject*> loaded;
    auto freeLoaded = [&loaded] {
        for (auto it = loaded.rbegin(); it != loaded.rend(); ++it) {
            delete *it;
        }
    };
    try {
        std::vector<TClass> classes;
        auto readObject = [&](TClass cls) {
            std::unique_ptr<TObject> made(CreateObjectByName(cls->name));
            auto* object = ObjectCast<TPersistentObject>(made.get());
            if (!object) {
                throw EReadError("Class " + std::string(cls->name) + " cannot be read from an ObjectList archive");
            }
            ObjectCreatedWhileReading(object);
            object->ReadFromFiler(reader);
            loaded.push_back(made.release());
        };
        while (!reader.EndOfList()) {
            switch (reader.NextValue()) {
            case vaInt8:
            case vaInt16:
            case vaInt32: {
                const int index = reader.ReadInteger();
                if (index < 0 || index >= static_cast<int>(classes.size())) {
                    throw EReadError("Broken ObjectList archive");
                }
                readObject(classes[static_cast<std::size_t>(index)]);
                break;
            }
            case vaString:
            case vaLString:
            case vaWString:
            case vaUTF8String: {
                const TClass cls = FindClass(reader.ReadString());
                classes.push_back(cls);
                readObject(cls);
                break;
            }
            case vaFalse:
            case vaTrue: {
                reader.ReadBoolean();
                if (reader.ReadInteger() != 0) {
                    throw EReadError("Broken ObjectList archive");
                }
                loaded.push_back(nullptr);
                break;
            }
            default:
                throw Exception("Broken ObjectList archive");
            }
        }
        reader.ReadListEnd();
    } catch (...) {
        freeLoaded();
        throw;
    }

    FreeAndClear();
    SetCapacity(static_cast<int>(loaded.size()));
    for (TObject* object : loaded) {
        Add(object);
    }
}
