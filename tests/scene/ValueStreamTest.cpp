#include "../support/ByteText.h"
#include "ErrorTextTestSupport.h"
#include "scene/base/ValueStream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

template <class Fn>
std::string Written(Fn fn)
{
    TStringStream stream;
    TBinaryWriter writer(stream);
    fn(writer);
    return stream.DataString();
}

} // namespace

TEST(BinaryWriter, IntegersUseTheSmallestTag)
{
    struct Case {
        std::int32_t value;
        std::string bytes;
    } cases[] = {
        {0, Bytes({2, 0})},
        {127, Bytes({2, 0x7F})},
        {-128, Bytes({2, 0x80})},
        {128, Bytes({3, 0x80, 0})},
        {-129, Bytes({3, 0x7F, 0xFF})},
        {32767, Bytes({3, 0xFF, 0x7F})},
        {-32768, Bytes({3, 0x00, 0x80})},
        {32768, Bytes({4, 0x00, 0x80, 0, 0})},
        {-32769, Bytes({4, 0xFF, 0x7F, 0xFF, 0xFF})},
        {2147483647, Bytes({4, 0xFF, 0xFF, 0xFF, 0x7F})},
        {-2147483647 - 1, Bytes({4, 0, 0, 0, 0x80})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Written([&](TVirtualWriter& w) { w.WriteInteger(c.value); }), c.bytes) << c.value;
        TStringStream in(c.bytes);
        TBinaryReader reader(in);
        EXPECT_EQ(reader.ReadInteger(), c.value);
        EXPECT_EQ(in.Position(), in.Size());
    }
}

TEST(BinaryWriter, StringsSwitchToTheLongFormAbove255Bytes)
{
    EXPECT_EQ(Written([](TVirtualWriter& w) { w.WriteString(""); }), Bytes({6, 0}));
    EXPECT_EQ(Written([](TVirtualWriter& w) { w.WriteString("ab"); }), Bytes({6, 2}) + "ab");
    const std::string s255(255, 'x');
    const std::string s256(256, 'y');
    EXPECT_EQ(Written([&](TVirtualWriter& w) { w.WriteString(s255); }), Bytes({6, 255}) + s255);
    EXPECT_EQ(Written([&](TVirtualWriter& w) { w.WriteString(s256); }), Bytes({12, 0, 1, 0, 0}) + s256);
    for (const std::string& s : {std::string(), s255, s256}) {
        TStringStream in(Written([&](TVirtualWriter& w) { w.WriteString(s); }));
        TBinaryReader reader(in);
        EXPECT_EQ(reader.ReadString(), s);
    }
}

TEST(BinaryWriter, BooleansListsAndFloats)
{
    EXPECT_EQ(Written([](TVirtualWriter& w) { w.WriteBoolean(true); }), Bytes({9}));
    EXPECT_EQ(Written([](TVirtualWriter& w) { w.WriteBoolean(false); }), Bytes({8}));
    EXPECT_EQ(Written([](TVirtualWriter& w) {
                  w.WriteListBegin();
                  w.WriteListEnd();
              }),
              Bytes({1, 0}));
    EXPECT_EQ(Written([](TVirtualWriter& w) { w.WriteFloat(1.0); }),
              Bytes({5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
    TStringStream in(Written([](TVirtualWriter& w) { w.WriteFloat(-0.1); }));
    EXPECT_EQ(in.Size(), 11);
    TBinaryReader reader(in);
    EXPECT_EQ(reader.ReadFloat(), -0.1);
}

TEST(BinaryReader, WideAndUtf8StringTags)
{
    TStringStream utf8(Bytes({20, 3, 0, 0, 0}) + "abc");
    EXPECT_EQ(TBinaryReader(utf8).ReadString(), "abc");
    // "é€" as UTF-16 units.
    TStringStream wide(Bytes({18, 2, 0, 0, 0, 0xE9, 0x00, 0xAC, 0x20}));
    EXPECT_EQ(TBinaryReader(wide).ReadString(), "\xC3\xA9\xE2\x82\xAC");
    TStringStream utf8Multi(Bytes({20, 5, 0, 0, 0}) + "\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(TBinaryReader(utf8Multi).ReadString(), "\xC3\xA9\xE2\x82\xAC");
}

TEST(BinaryReader, WrongTagIsAReadTypeErrorAndLeavesThePayload)
{
    TStringStream in(Bytes({5, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    TBinaryReader reader(in);
    EXPECT_EQ(ErrorText<EReadError>([&] { reader.ReadInteger(); }), "TBinaryReader, read type error");
    EXPECT_EQ(in.Position(), 1) << "the tag is consumed, the payload is not";

    struct Case {
        std::string bytes;
        int which; // 0 integer, 1 boolean, 2 string, 3 float, 4 list begin, 5 list end
    } cases[] = {
        {Bytes({6, 0}), 0}, {Bytes({2, 0}), 1}, {Bytes({2, 0}), 2}, {Bytes({2, 0}), 3},
        {Bytes({0}), 4},    {Bytes({1}), 5},    {Bytes({7}), 2},    {Bytes({10}), 1},
    };
    for (const Case& c : cases) {
        TStringStream s(c.bytes);
        TBinaryReader r(s);
        auto read = [&] {
            switch (c.which) {
            case 0: r.ReadInteger(); break;
            case 1: r.ReadBoolean(); break;
            case 2: r.ReadString(); break;
            case 3: r.ReadFloat(); break;
            case 4: r.ReadListBegin(); break;
            default: r.ReadListEnd(); break;
            }
        };
        EXPECT_THROW(read(), EReadError) << c.which;
    }
}

TEST(BinaryReader, NextValuePeeksAndAnEmptyStreamEndsTheList)
{
    TStringStream in(Bytes({1, 2, 5, 0}));
    TBinaryReader reader(in);
    EXPECT_EQ(reader.NextValue(), vaList);
    EXPECT_EQ(in.Position(), 0);
    reader.ReadListBegin();
    EXPECT_FALSE(reader.EndOfList());
    EXPECT_EQ(reader.ReadInteger(), 5);
    EXPECT_TRUE(reader.EndOfList());
    reader.ReadListEnd();
    EXPECT_EQ(reader.ReadValue(), 0) << "nothing left reads as end of list";
    EXPECT_TRUE(reader.EndOfList());
    reader.ReadListEnd();
}

TEST(BinaryReader, StreamEndingInsideAPayloadIsAReadError)
{
    const std::string truncated[] = {
        Bytes({2}), Bytes({3, 1}), Bytes({4, 1, 2, 3}), Bytes({5, 0, 0, 0}), Bytes({6, 3, 'a'}),
        Bytes({12, 0, 1, 0, 0, 'a'}), Bytes({12, 0xFF, 0xFF, 0xFF, 0x7F}), Bytes({18, 2, 0, 0, 0, 'a', 0}),
        Bytes({20, 9, 0, 0, 0, 'a'}), Bytes({12, 1, 0}),
    };
    for (const std::string& bytes : truncated) {
        TStringStream s(bytes);
        TBinaryReader r(s);
        EXPECT_THROW(bytes[0] == 5 ? (void)r.ReadFloat() : bytes[0] <= 4 ? (void)r.ReadInteger() : (void)r.ReadString(),
                     EReadError)
            << int(bytes[0]) << " size " << bytes.size();
    }
}
