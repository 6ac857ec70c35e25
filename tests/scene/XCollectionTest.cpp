#include "../support/ByteText.h"
#include "ErrorTextTestSupport.h"
#include "platform/core/objects/Component.h"
#include "scene/base/XCollection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include <string>

namespace {

class TXItemA : public TXCollectionItem {
    KP_CLASS(TXItemA, TXCollectionItem)
    KP_XCOLLECTION_ITEM(TXItemA)
public:
    static std::string ClassTitle() { return "Item A"; }
    int value = 0;
    void WriteToFiler(TVirtualWriter& w) const override
    {
        TXCollectionItem::WriteToFiler(w);
        w.WriteInteger(value);
    }
    void ReadFromFiler(TVirtualReader& r) override
    {
        TXCollectionItem::ReadFromFiler(r);
        value = r.ReadInteger();
    }
    void Assign(const TPersistent* source) override
    {
        TXCollectionItem::Assign(source);
        if (auto a = ObjectCast<TXItemA>(source)) {
            value = a->value;
        }
    }
};

class TXItemB : public TXCollectionItem {
    KP_CLASS(TXItemB, TXCollectionItem)
    KP_XCOLLECTION_ITEM(TXItemB)
public:
    static std::string ClassTitle() { return "Item B"; }
    static std::string ClassDescription() { return "The second kind"; }
    static inline int loadedCalls = 0;
    void Loaded() override { ++loadedCalls; }
};

class TXUnique : public TXCollectionItem {
    KP_CLASS(TXUnique, TXCollectionItem)
    KP_XCOLLECTION_ITEM(TXUnique)
public:
    static std::string ClassTitle() { return "Unique"; }
    static bool IsUniqueItem() { return true; }
};

class TXUniqueChild : public TXUnique {
    KP_CLASS(TXUniqueChild, TXUnique)
    KP_XCOLLECTION_ITEM(TXUniqueChild)
public:
    static std::string ClassTitle() { return "Unique child"; }
};

class TXPicky : public TXCollectionItem {
    KP_CLASS(TXPicky, TXCollectionItem)
    KP_XCOLLECTION_ITEM(TXPicky)
public:
    static std::string ClassTitle() { return "Picky"; }
    static bool CanAddTo(const TXCollection*) { return false; }
};

class TXUnregistered : public TXCollectionItem {
    KP_CLASS(TXUnregistered, TXCollectionItem)
    KP_XCOLLECTION_ITEM(TXUnregistered)
public:
    static std::string ClassTitle() { return "Nobody"; }
};

const bool registered = (RegisterXCollectionItemClass<TXItemA>(), RegisterXCollectionItemClass<TXItemB>(),
                         RegisterXCollectionItemClass<TXUnique>(), true);

std::string Rejection(const std::function<void()>& fn) { return ErrorText<EAssertionFailed>(fn); }

using ::testing::StartsWith;

} // namespace

TEST(XCollection, RegistryIsExactAndIdempotent)
{
    const int index = RegisterXCollectionItemClass<TXItemA>();
    EXPECT_EQ(RegisterXCollectionItemClass<TXItemA>(), index);
    ASSERT_NE(FindXCollectionItemClass("TXItemA"), nullptr);
    EXPECT_EQ(FindXCollectionItemClass("TXItemA")->cls, TXItemA::StaticClass());
    EXPECT_EQ(FindXCollectionItemClass("txitema"), nullptr) << "case-sensitive";
    EXPECT_EQ(FindXCollectionItemClass("TXUnregistered"), nullptr);
    EXPECT_EQ(XCollectionItemClassOf<TXItemA>().classDescription(), "Item A");
    EXPECT_EQ(XCollectionItemClassOf<TXItemB>().classDescription(), "The second kind");
    EXPECT_EQ(XCollectionItemClassOf<TXItemB>().classTag(), "");
}

TEST(XCollection, NewItemIsNamedAfterItsTitleAndJoins)
{
    TXCollection c;
    auto* a = CreateXCollectionItem<TXItemA>(&c);
    EXPECT_EQ(a->Name(), "Item A");
    EXPECT_EQ(a->Owner(), &c);
    EXPECT_EQ(c.Count(), 1);
    EXPECT_EQ(a->Index(), 0);
    auto* loose = CreateXCollectionItem<TXItemB>(nullptr);
    EXPECT_EQ(loose->Name(), "Item B");
    EXPECT_EQ(loose->Index(), -1);
    c.Add(loose);
    EXPECT_EQ(loose->Index(), 1);
    EXPECT_EQ(c.GetByClass(TXItemB::StaticClass()), loose);
    EXPECT_EQ(c.IndexOfName("Item B"), 1);
}

TEST(XCollection, UniqueAndVetoRules)
{
    struct Case {
        const char* what;
        std::function<void(TXCollection&)> setup;
        const TXCollectionItemClass* adding;
        bool allowed;
    } cases[] = {
        {"first unique", [](TXCollection&) {}, &XCollectionItemClassOf<TXUnique>(), true},
        {"second unique", [](TXCollection& c) { CreateXCollectionItem<TXUnique>(&c); },
         &XCollectionItemClassOf<TXUnique>(), false},
        {"descendant of a present unique", [](TXCollection& c) { CreateXCollectionItem<TXUnique>(&c); },
         &XCollectionItemClassOf<TXUniqueChild>(), false},
        {"unique when a descendant is present", [](TXCollection& c) { CreateXCollectionItem<TXUniqueChild>(&c); },
         &XCollectionItemClassOf<TXUnique>(), false},
        {"ordinary beside a unique", [](TXCollection& c) { CreateXCollectionItem<TXUnique>(&c); },
         &XCollectionItemClassOf<TXItemA>(), true},
        {"two ordinary", [](TXCollection& c) { CreateXCollectionItem<TXItemA>(&c); },
         &XCollectionItemClassOf<TXItemA>(), true},
        {"class that refuses", [](TXCollection&) {}, &XCollectionItemClassOf<TXPicky>(), false},
    };
    for (const Case& c : cases) {
        TXCollection coll;
        c.setup(coll);
        EXPECT_EQ(coll.CanAdd(*c.adding), c.allowed) << c.what;
    }
    TXCollection coll;
    CreateXCollectionItem<TXUnique>(&coll);
    EXPECT_THAT(Rejection([&] { CreateXCollectionItem<TXUnique>(&coll); }),
                StartsWith("Addition of TXUnique to TXCollection rejected. ("));
    EXPECT_THAT(Rejection([&] { CreateXCollectionItem<TXUniqueChild>(&coll); }),
                StartsWith("Addition of TXUniqueChild to TXCollection rejected."));
    EXPECT_EQ(coll.Count(), 1);
    auto* stray = CreateXCollectionItem<TXUnique>(nullptr);
    EXPECT_THAT(Rejection([&] { coll.Add(stray); }), StartsWith("Addition of TXUnique to TXCollection rejected."));
    delete stray;
}

TEST(XCollection, StreamNamesEachClassOnceThenByIndex)
{
    TXCollection c;
    CreateXCollectionItem<TXItemA>(&c)->value = 5;
    CreateXCollectionItem<TXItemB>(&c)->SetName("b");
    CreateXCollectionItem<TXItemA>(&c)->value = 300;
    TStringStream stream;
    TBinaryWriter writer(stream);
    c.WriteToFiler(writer);
    const std::string expected = Bytes({2, 3}) + Bytes({6, 7}) + "TXItemA" + Bytes({2, 0, 6, 6}) + "Item A" +
                                 Bytes({2, 5}) + Bytes({6, 7}) + "TXItemB" + Bytes({2, 0, 6, 1, 'b'}) +
                                 Bytes({2, 0}) + Bytes({2, 0, 6, 6}) + "Item A" + Bytes({3, 0x2C, 0x01});
    EXPECT_EQ(stream.DataString(), expected);

    TXCollection back;
    CreateXCollectionItem<TXItemB>(&back);
    stream.SetPosition(0);
    TBinaryReader reader(stream);
    back.ReadFromFiler(reader);
    ASSERT_EQ(back.Count(), 3);
    EXPECT_EQ(static_cast<TXItemA*>(back[2])->value, 300);
    EXPECT_EQ(back[1]->Name(), "b");
    EXPECT_TRUE(back[1]->Is<TXItemB>());
}

TEST(XCollection, ReadingUnknownClassesAndDamagedCountsFails)
{
    TXCollection c;
    {
        TStringStream s(Bytes({2, 1, 6, 14}) + "TXUnregistered" + Bytes({2, 0, 6, 0}));
        TBinaryReader r(s);
        EXPECT_THAT(Rejection([&] { c.ReadFromFiler(r); }),
                    StartsWith("Class TXUnregistered unknown. Add the relevant unit to your \"uses\"."));
    }
    const std::string damaged[] = {
        Bytes({2, 0xFF}),                                    // negative count
        Bytes({4, 0, 0, 0, 0x10}),                           // a count far beyond the data
        Bytes({2, 1, 2, 0, 2, 0, 6, 0}),                     // class index with no class named yet
        Bytes({2, 2, 6, 7}) + "TXItemB" + Bytes({2, 0, 6, 0}) + Bytes({2, 4, 2, 0, 6, 0}),
    };
    for (const std::string& data : damaged) {
        TStringStream s(data);
        TBinaryReader r(s);
        EXPECT_THROW(c.ReadFromFiler(r), EReadError) << &data - damaged;
    }
    TStringStream s(Bytes({2, 1, 6, 7}) + "TXItemB" + Bytes({2, 1, 6, 0}));
    TBinaryReader r(s);
    EXPECT_THROW(c.ReadFromFiler(r), EAssertionFailed) << "item version 1";
}

TEST(XCollection, NamePaths)
{
    TComponent owner;
    owner.SetName("Cube1");
    TXCollection c(&owner);
    CreateXCollectionItem<TXItemA>(&c);
    CreateXCollectionItem<TXItemB>(&c);
    EXPECT_EQ(c.GetNamePath(), "Cube1.XCollection");
    EXPECT_EQ(c[0]->GetNamePath(), "Cube1.XCollection[0]");
    EXPECT_EQ(c[1]->GetNamePath(), "Cube1.XCollection[1]");
    TXCollection orphan;
    EXPECT_EQ(orphan.GetNamePath(), "TXCollection");
    TComponent unnamed;
    TXCollection c2(&unnamed);
    EXPECT_EQ(c2.GetNamePath(), "TXCollection");
    auto* loose = CreateXCollectionItem<TXItemA>(nullptr);
    EXPECT_EQ(loose->GetNamePath(), "TXItemA");
    delete loose;
}

TEST(XCollection, FreeingItemsAndCollections)
{
    TXCollection c;
    auto* a = CreateXCollectionItem<TXItemA>(&c);
    CreateXCollectionItem<TXItemB>(&c);
    delete a;
    EXPECT_EQ(c.Count(), 1);
    EXPECT_EQ(c[0]->Index(), 0);
    c.Delete(0);
    EXPECT_EQ(c.Count(), 0);
    EXPECT_THROW(c.Items(0), EListError);
    {
        TXCollection temp;
        CreateXCollectionItem<TXItemA>(&temp);
        CreateXCollectionItem<TXItemA>(&temp);
    } // freed with the collection; ASan would see a leak or a double free
}

TEST(XCollection, AssignCopiesSameClassCollectionsAndLoadedReachesItems)
{
    TXCollection src;
    CreateXCollectionItem<TXItemA>(&src)->value = 9;
    CreateXCollectionItem<TXItemB>(&src)->SetName("second");
    TXCollection dst;
    CreateXCollectionItem<TXUnique>(&dst);
    dst.Assign(&src);
    ASSERT_EQ(dst.Count(), 2);
    EXPECT_EQ(static_cast<TXItemA*>(dst[0])->value, 9);
    EXPECT_EQ(dst[1]->Name(), "second");
    EXPECT_EQ(dst[1]->Owner(), &dst);
    TXItemB::loadedCalls = 0;
    dst.Loaded();
    EXPECT_EQ(TXItemB::loadedCalls, 1);
    dst.Assign(nullptr);
    EXPECT_EQ(dst.Count(), 0);
    TComponent other;
    EXPECT_THROW(dst.Assign(&other), EConvertError);
}
