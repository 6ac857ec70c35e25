#include "platform/core/objects/Filer.h"
#include "platform/core/objects/Persistent.h"

#include <gtest/gtest.h>

namespace {

class TBlobHolder : public TPersistent {
    KP_CLASS(TBlobHolder, TPersistent)
public:
    int value = 0;
    bool storeIt = true;
    void DefineProperties(TFiler* filer) override
    {
        filer->DefineBinaryProperty(
            "Value", [this](TStream& s) { s.ReadBuffer(&value, 4); },
            [this](TStream& s) { s.WriteBuffer(&value, 4); }, storeIt);
    }
};

} // namespace

TEST(Filer, WriterCollectsOnlyPropertiesWithData)
{
    TBlobHolder h;
    h.value = 0x01020304;
    auto props = TBinaryPropertyWriter::Collect(h);
    ASSERT_EQ(props.size(), 1u);
    EXPECT_EQ(props[0].first, "Value");
    EXPECT_EQ(props[0].second, std::string("\x04\x03\x02\x01", 4));
    h.storeIt = false;
    EXPECT_TRUE(TBinaryPropertyWriter::Collect(h).empty());
}

TEST(Filer, ReaderFeedsStoredBytesAndRejectsShortOrLongData)
{
    TBlobHolder h;
    TBinaryPropertyReader::Apply(h, {{"Value", std::string("\x07\0\0\0", 4)}});
    EXPECT_EQ(h.value, 7);
    TBinaryPropertyReader::Apply(h, {{"Other", "zz"}});
    EXPECT_EQ(h.value, 7);
    EXPECT_THROW(TBinaryPropertyReader::Apply(h, {{"Value", "ab"}}), EReadError);
    EXPECT_THROW(TBinaryPropertyReader::Apply(h, {{"Value", "abcde"}}), EReadError);
}
