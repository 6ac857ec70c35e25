#include "platform/core/objects/Collection.h"
#include "platform/core/objects/Component.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TTagItem : public TCollectionItem {
    KP_CLASS(TTagItem, TCollectionItem)
public:
    explicit TTagItem(TCollection* c) : TCollectionItem(c) {}
    std::string tag;
    void Assign(const TPersistent* source) override
    {
        if (auto s = ObjectCast<TTagItem>(source)) {
            tag = s->tag;
        } else {
            TCollectionItem::Assign(source);
        }
    }
    void Touch() { Changed(false); }

protected:
    std::string GetDisplayName() const override { return tag.empty() ? TCollectionItem::GetDisplayName() : tag; }
};

// Records every Update it receives: the item, or nullptr for the whole list.
class TRecordingCollection : public TOwnedCollection {
    KP_CLASS(TRecordingCollection, TOwnedCollection)
public:
    explicit TRecordingCollection(TPersistent* owner = nullptr)
        : TOwnedCollection(owner, CollectionItemClassOf<TTagItem>()) {}
    std::vector<TCollectionItem*> updates;
    std::vector<TCollectionNotification> notes;

protected:
    void Update(TCollectionItem* item) override { updates.push_back(item); }
    void Notify(TCollectionItem*, TCollectionNotification action) override { notes.push_back(action); }
};

TTagItem* AddTag(TCollection& c, const std::string& tag)
{
    auto* item = static_cast<TTagItem*>(c.Add());
    item->tag = tag;
    return item;
}

} // namespace

TEST(Collection, AddCreatesItemsOfTheItemClassWithRisingIDs)
{
    TRecordingCollection c;
    TTagItem* a = AddTag(c, "a");
    TTagItem* b = AddTag(c, "b");
    EXPECT_EQ(c.Count(), 2);
    EXPECT_TRUE(c.Items(1)->Is<TTagItem>());
    EXPECT_EQ(a->ID(), 0);
    EXPECT_EQ(b->ID(), 1);
    EXPECT_EQ(b->Index(), 1);
    EXPECT_EQ(c.FindItemID(1), b);
    EXPECT_EQ(c.FindItemID(7), nullptr);
    c.Delete(0);
    EXPECT_EQ(AddTag(c, "c")->ID(), 2) << "IDs are never reused";
    EXPECT_EQ(b->Index(), 0);
}

TEST(Collection, EveryChangeReachesUpdateUnlessBracketed)
{
    TRecordingCollection c;
    TTagItem* a = AddTag(c, "a");
    ASSERT_EQ(c.updates.size(), 1u);
    EXPECT_EQ(c.updates[0], nullptr);
    a->Touch();
    ASSERT_EQ(c.updates.size(), 2u);
    EXPECT_EQ(c.updates[1], a);

    c.updates.clear();
    c.BeginUpdate();
    c.BeginUpdate();
    AddTag(c, "b");
    a->Touch();
    c.EndUpdate();
    EXPECT_TRUE(c.updates.empty()) << "inner EndUpdate is silent";
    c.EndUpdate();
    ASSERT_EQ(c.updates.size(), 1u);
    EXPECT_EQ(c.updates[0], nullptr);
    EXPECT_EQ(c.UpdateCount(), 0);
}

TEST(Collection, FreeingAnItemRemovesItAndDeleteNotifiesFirst)
{
    TRecordingCollection c;
    TTagItem* a = AddTag(c, "a");
    AddTag(c, "b");
    c.notes.clear();
    delete a;
    EXPECT_EQ(c.Count(), 1);
    EXPECT_EQ(c.notes, std::vector<TCollectionNotification>{TCollectionNotification::cnExtracting});
    c.notes.clear();
    c.Delete(0);
    EXPECT_EQ(c.notes, (std::vector<TCollectionNotification>{TCollectionNotification::cnDeleting,
                                                             TCollectionNotification::cnExtracting}));
    EXPECT_EQ(c.Count(), 0);
}

TEST(Collection, ClearIsOneUpdateAndOutOfRangeIndexIsAListError)
{
    TRecordingCollection c;
    for (int i = 0; i < 5; ++i) {
        AddTag(c, std::to_string(i));
    }
    c.updates.clear();
    c.Clear();
    EXPECT_EQ(c.Count(), 0);
    EXPECT_EQ(c.updates.size(), 1u);
    for (int bad : {-1, 0, 3}) {
        try {
            c.Items(bad);
            FAIL();
        } catch (const EListError& e) {
            EXPECT_EQ(std::string(e.what()), "List index out of bounds (" + std::to_string(bad) + ")");
        }
    }
}

TEST(Collection, InsertAndSetIndexMoveItems)
{
    TRecordingCollection c;
    AddTag(c, "a");
    AddTag(c, "b");
    auto* x = static_cast<TTagItem*>(c.Insert(0));
    x->tag = "x";
    EXPECT_EQ(c.Items(0), x);
    x->SetIndex(2);
    EXPECT_EQ(static_cast<TTagItem*>(c.Items(0))->tag, "a");
    EXPECT_EQ(c.Items(2), x);
    EXPECT_THROW(x->SetIndex(3), EListError);
}

TEST(Collection, AssignCopiesItemsAndRejectsOtherClasses)
{
    TRecordingCollection src;
    AddTag(src, "one");
    AddTag(src, "two");
    TRecordingCollection dst;
    AddTag(dst, "old");
    dst.updates.clear();
    dst.Assign(&src);
    ASSERT_EQ(dst.Count(), 2);
    EXPECT_EQ(static_cast<TTagItem*>(dst.Items(1))->tag, "two");
    EXPECT_EQ(dst.updates.size(), 1u) << "one update for the whole assignment";
    TComponent other;
    EXPECT_THROW(dst.Assign(&other), EConvertError);
}

TEST(Collection, NamePathsAndDisplayNames)
{
    TComponent owner;
    owner.SetName("Lines1");
    TRecordingCollection c(&owner);
    EXPECT_EQ(c.GetNamePath(), "TRecordingCollection");
    c.SetPropName("Nodes");
    EXPECT_EQ(c.GetNamePath(), "Lines1.Nodes");
    TTagItem* a = AddTag(c, "");
    AddTag(c, "b");
    EXPECT_EQ(c.Items(1)->GetNamePath(), "Lines1.Nodes[1]");
    EXPECT_EQ(a->DisplayName(), "TTagItem");
    EXPECT_EQ(c.Items(1)->DisplayName(), "b");
    EXPECT_EQ(a->GetOwner(), &c);
    EXPECT_EQ(c.GetOwner(), &owner);
    TTagItem loose(nullptr);
    EXPECT_EQ(loose.GetNamePath(), "TTagItem");
    EXPECT_EQ(loose.Index(), -1);
    loose.SetCollection(&c);
    EXPECT_EQ(c.Count(), 3);
    loose.SetCollection(nullptr);
    EXPECT_EQ(c.Count(), 2);
}
