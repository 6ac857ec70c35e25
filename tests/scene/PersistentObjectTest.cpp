#include "../support/ByteText.h"
#include "ErrorTextTestSupport.h"
#include "platform/core/objects/ClassRegistry.h"
#include "scene/base/FileStrings.h"
#include "scene/base/PersistentObjectList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

// Writes its own version and a name and a number, as every persistent class does.
class TPoStub : public TPersistentObject {
    KP_CLASS(TPoStub, TPersistentObject)
    KP_PERSISTENT_INSTANCE(TPoStub)
public:
    std::string name;
    int number = 0;
    void WriteToFiler(TVirtualWriter& w) const override
    {
        TPersistentObject::WriteToFiler(w);
        w.WriteInteger(0);
        w.WriteString(name);
        w.WriteInteger(number);
    }
    void ReadFromFiler(TVirtualReader& r) override
    {
        TPersistentObject::ReadFromFiler(r);
        const int version = r.ReadInteger();
        if (version != 0) {
            RaiseFilerException(version);
        }
        name = r.ReadString();
        number = r.ReadInteger();
    }
};

class TPoOther : public TPoStub {
    KP_CLASS(TPoOther, TPoStub)
    KP_PERSISTENT_INSTANCE(TPoOther)
};

class TPoSigned : public TPoStub {
    KP_CLASS(TPoSigned, TPoStub)
    KP_PERSISTENT_INSTANCE(TPoSigned)
public:
    std::string FileSignature() const override { return "KPX1"; }
};

const bool registered = (RegisterClass<TPoStub>(), RegisterClass<TPoOther>(), true);

std::string TempPath(const char* name)
{
    return (std::filesystem::temp_directory_path() /
            (std::string("kerfpad_po_") + std::to_string(::getpid()) + "_" + name)).string();
}

} // namespace

TEST(PersistentObject, SaveWritesTheObjectsValuesAndAssignAndCloneRoundTrip)
{
    TPoStub s;
    s.name = "ab";
    s.number = 300;
    EXPECT_EQ(s.SaveToString(), Bytes({2, 0, 6, 2, 'a', 'b', 3, 0x2C, 0x01}));
    TPoStub a;
    a.name = "cube";
    a.number = -7;
    TPoStub b;
    b.Assign(&a);
    EXPECT_EQ(b.name, "cube");
    EXPECT_EQ(b.number, -7);
    std::unique_ptr<TPersistentObject> c(a.Clone());
    ASSERT_EQ(c->ClassType(), TPoStub::StaticClass());
    EXPECT_EQ(static_cast<TPoStub*>(c.get())->name, "cube");
    TPoOther other;
    EXPECT_THROW(b.Assign(&other), EConvertError) << "only the exact class is streamed across";
}

TEST(PersistentObject, UnknownVersionNamesTheClass)
{
    TPoStub a;
    EXPECT_EQ(ErrorText<EFilerException>([&] { a.LoadFromString(Bytes({2, 3})); }),
              "TPoStub : unknown archive version 3");
    EXPECT_EQ(ErrorText<EFilerException>([] { RaiseFilerExceptionForClass(TPoOther::StaticClass(), -1); }),
              "TPoOther : unknown archive version -1");
}

TEST(PersistentObject, SignatureIsWrittenRawAndChecked)
{
    TPoSigned s;
    s.name = "x";
    const std::string data = s.SaveToString();
    EXPECT_EQ(data.substr(0, 4), "KPX1");
    EXPECT_EQ(data.substr(4), Bytes({2, 0, 6, 1, 'x', 2, 0}));
    TPoSigned back;
    back.LoadFromString(data);
    EXPECT_EQ(back.name, "x");
    for (const std::string& bad : {std::string("KPX2") + data.substr(4), std::string("KP")})
        EXPECT_EQ(ErrorText<EInvalidFileSignature>([&] { back.LoadFromString(bad); }), "Invalid file signature");
    // Without a signature the data starts at once.
    TPoStub plain;
    plain.LoadFromString(Bytes({2, 0, 6, 0, 2, 9}));
    EXPECT_EQ(plain.number, 9);
}

TEST(PersistentObject, SaveToFileAndLoadFromFile)
{
    const std::string path = TempPath("obj.bin");
    TPoStub a;
    a.name = "file";
    a.number = 70000;
    a.SaveToFile(path);
    EXPECT_EQ(SizeOfFile(path), static_cast<std::int64_t>(a.SaveToString().size()));
    TPoStub b;
    b.LoadFromFile(path);
    EXPECT_EQ(b.number, 70000);
    std::remove(path.c_str());
    EXPECT_THROW(b.LoadFromFile(path), EFOpenError);
}

TEST(FileStrings, SaveLoadAndSize)
{
    const std::string path = TempPath("s.bin");
    SaveStringToFile(path, std::string("a\0b", 3));
    EXPECT_EQ(LoadStringFromFile(path), std::string("a\0b", 3));
    EXPECT_EQ(SizeOfFile(path), 3);
    SaveStringToFile(path, "");
    EXPECT_EQ(SizeOfFile(path), 0);
    std::remove(path.c_str());
    EXPECT_EQ(LoadStringFromFile(path), "");
    EXPECT_EQ(SizeOfFile(path), 0);
}

// ---- object list ----

namespace {

TPoStub* Stub(const std::string& name, int number)
{
    auto* s = new TPoStub();
    s->name = name;
    s->number = number;
    return s;
}

TPoOther* Other(const std::string& name)
{
    auto* s = new TPoOther();
    s->name = name;
    return s;
}

} // namespace

TEST(PersistentObjectList, GrowsByTheGrowthDelta)
{
    TPersistentObjectList list;
    EXPECT_EQ(list.GrowthDelta(), 16);
    TPoStub dummy;
    for (int i = 0; i < 16; ++i) {
        list.Add(&dummy);
    }
    EXPECT_EQ(list.Capacity(), 16);
    EXPECT_EQ(list.Add(&dummy), 16);
    EXPECT_EQ(list.Capacity(), 32);
    list.SetCapacity(3);
    EXPECT_EQ(list.Count(), 3);
    list.SetCount(5);
    EXPECT_EQ(list.Capacity(), 5);
    EXPECT_EQ(list[4], nullptr);
    EXPECT_EQ(list.Pop(), nullptr);
    EXPECT_EQ(list.Count(), 4);
    list.Clear();
    EXPECT_EQ(list.Capacity(), 0);
    EXPECT_EQ(list.Pop(), nullptr);
}

TEST(PersistentObjectList, InsertDeleteRemoveIndexOf)
{
    TPoStub a, b, c;
    TPersistentObjectList list;
    EXPECT_EQ(list.IndexOf(&a), -1);
    list.Add(&a);
    list.Add(&c);
    list.Insert(1, &b);
    EXPECT_EQ(list.IndexOf(&b), 1);
    EXPECT_EQ(list.IndexOf(&c), 2);
    EXPECT_EQ(list.Remove(&a), 0);
    EXPECT_EQ(list.Remove(&a), -1);
    EXPECT_EQ(list[0], &b);
    list.Delete(1);
    EXPECT_EQ(list.Count(), 1);
    for (int bad : {-1, 1})
        EXPECT_EQ(ErrorText<EListError>([&] { list.GetItems(bad); }), "Invalid list index") << bad;
}

TEST(PersistentObjectList, StreamNamesEachClassOnceAndWritesNilAsFalseZero)
{
    TPersistentObjectList list;
    list.Add(Stub("a", 1));
    list.Add(Other("b"));
    list.Add(nullptr);
    list.Add(Stub("c", 2));
    const std::string expected = Bytes({2, 0, 1}) + Bytes({6, 7}) + "TPoStub" + Bytes({2, 0, 6, 1, 'a', 2, 1}) +
                                 Bytes({6, 8}) + "TPoOther" + Bytes({2, 0, 6, 1, 'b', 2, 0}) + Bytes({8, 2, 0}) +
                                 Bytes({2, 0}) + Bytes({2, 0, 6, 1, 'c', 2, 2}) + Bytes({0});
    EXPECT_EQ(list.SaveToString(), expected);

    TPersistentObjectList back;
    back.LoadFromString(expected);
    ASSERT_EQ(back.Count(), 4);
    EXPECT_EQ(back[0]->ClassType(), TPoStub::StaticClass());
    EXPECT_EQ(back[1]->ClassType(), TPoOther::StaticClass());
    EXPECT_EQ(back[2], nullptr);
    EXPECT_EQ(static_cast<TPoStub*>(back[3])->number, 2);
    back.FreeAndClear();
    list.FreeAndClear();
}

TEST(PersistentObjectList, NestedListsAreFoundByName)
{
    TPersistentObjectList outer;
    auto* inner = new TPersistentObjectList();
    inner->Add(Stub("deep", 5));
    outer.Add(inner);
    const std::string data = outer.SaveToString();
    TPersistentObjectList back;
    back.LoadFromString(data);
    auto* innerBack = ObjectCast<TPersistentObjectList>(back[0]);
    ASSERT_NE(innerBack, nullptr);
    EXPECT_EQ(static_cast<TPoStub*>((*innerBack)[0])->name, "deep");
    innerBack->FreeAndClear();
    back.FreeAndClear();
    inner->FreeAndClear();
    outer.FreeAndClear();
}

TEST(PersistentObjectList, ForeignObjectsAreRefusedNotWrittenAsAddresses)
{
    TPersistentObjectList list;
    TStringStream foreign;
    list.Add(&foreign);
    EXPECT_THROW(list.SaveToString(), EWriteError);
    // A non-zero "pointer" in an archive is refused as well.
    TPersistentObjectList back;
    EXPECT_THROW(back.LoadFromString(Bytes({2, 0, 1, 9, 4, 0x10, 0x20, 0x30, 0x40, 0})), EReadError);
}

TEST(PersistentObjectList, FailedLoadKeepsTheOldItems)
{
    TPersistentObjectList list;
    list.Add(Stub("keep", 1));
    const std::string broken[] = {
        Bytes({2, 0, 1, 6, 7}) + "TPoStub" + Bytes({2, 0, 6, 1, 'a', 2, 1}) + Bytes({2, 3}),  // class index 3
        Bytes({2, 0, 1, 2, 0}),                                                           // index with no class
        Bytes({2, 0, 1, 6, 7}) + "TPoStub" + Bytes({2, 0, 6, 1, 'a', 2, 1}) + Bytes({7}),    // bad tag
        Bytes({2, 0, 1, 6, 9}) + "TNoSuchOb",                                                // unknown class
        Bytes({2, 0, 1, 6, 7}) + "TPoStub" + Bytes({2, 0, 6}),                              // cut short
        Bytes({2, 1, 1, 0}),                                                              // version 1
    };
    for (const std::string& data : broken) {
        EXPECT_ANY_THROW(list.LoadFromString(data));
        ASSERT_EQ(list.Count(), 1);
        EXPECT_EQ(static_cast<TPoStub*>(list[0])->name, "keep");
    }
    EXPECT_EQ(ErrorText<Exception>([&] { list.LoadFromString(broken[2]); }), "Broken ObjectList archive");
    EXPECT_EQ(ErrorText<EClassNotFound>([&] { list.LoadFromString(broken[3]); }), "Class TNoSuchOb not found");
    EXPECT_EQ(ErrorText<EFilerException>([&] { list.LoadFromString(broken[5]); }),
              "TPersistentObjectList : unknown archive version 1");
    list.FreeAndClear();
}

namespace {
// Counts its own destruction so the test can see that reading frees the old items.
class TPoCounted : public TPoStub {
    KP_CLASS(TPoCounted, TPoStub)
    KP_PERSISTENT_INSTANCE(TPoCounted)
public:
    static inline int freed = 0;
    ~TPoCounted() override { ++freed; }
};
} // namespace

TEST(PersistentObjectList, ReadingFreesTheItemsItHeld)
{
    TPersistentObjectList list;
    list.Add(new TPoCounted());
    list.Add(new TPoCounted());
    TPersistentObjectList source;
    source.Add(Stub("new", 3));
    TPoCounted::freed = 0;
    list.LoadFromString(source.SaveToString());
    EXPECT_EQ(TPoCounted::freed, 2);
    EXPECT_EQ(list.Count(), 1);
    list.FreeAndClear();
    source.FreeAndClear();
    auto* heap = new TPersistentObjectList();
    heap->Add(new TPoCounted());
    TPoCounted::freed = 0;
    TPersistentObjectList::FreeAllAndSelf(heap);
    EXPECT_EQ(heap, nullptr);
    EXPECT_EQ(TPoCounted::freed, 1);
    TPersistentObjectList::FreeAllAndSelf(heap);
}
