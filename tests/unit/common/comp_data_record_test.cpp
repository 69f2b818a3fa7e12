#include "common/core/comp_data_record.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/core/le_bytes.h"

namespace {

TEST(CompDataRecord, RoundTripsTheSixtyFourByteLayout)
{
    CompDataRecord r = {};
    r.cbSize = 64;
    r.fccType = 0x63646976u; // "vidc"
    r.fccHandler = 0x56424D5Au; // "ZMBV"
    r.lKey = 10;
    r.lDataRate = 0;
    r.lQ = 7500;
    r.cbState = -1;
    uint8_t bytes[kCompDataBytes];
    CompDataToBytes(r, bytes);
    EXPECT_EQ(GetLe32(bytes + 0), 64u);
    EXPECT_EQ(GetLe32(bytes + 12), 0x63646976u);
    EXPECT_EQ(GetLe32(bytes + 16), 0x56424D5Au);
    EXPECT_EQ(GetLe32(bytes + 40), 10u);
    EXPECT_EQ(GetLe32(bytes + 48), 7500u);
    EXPECT_EQ(GetLe32(bytes + 60), 0xFFFFFFFFu);

    CompDataRecord back = {};
    ASSERT_TRUE(CompDataFromBytes(bytes, sizeof bytes, &back));
    EXPECT_EQ(back.fccHandler, r.fccHandler);
    EXPECT_EQ(back.lKey, 10);
    EXPECT_EQ(back.lQ, 7500);
    EXPECT_EQ(back.cbState, -1);
}

TEST(CompDataRecord, ShortContentIsNoRecordAndLongerUsesTheFirst64Bytes)
{
    CompDataRecord r = {};
    r.fccHandler = 0x31435658u;
    std::vector<uint8_t> bytes(100, 0xAB);
    CompDataToBytes(r, bytes.data());

    CompDataRecord kept = {};
    kept.fccHandler = 0x12345678u;
    EXPECT_FALSE(CompDataFromBytes(bytes.data(), 63, &kept));
    EXPECT_EQ(kept.fccHandler, 0x12345678u);
    EXPECT_TRUE(CompDataFromBytes(bytes.data(), bytes.size(), &kept));
    EXPECT_EQ(kept.fccHandler, 0x31435658u);
}

TEST(CompDataRecord, CodeTextEndsAtANulByte)
{
    struct Case {
        uint32_t fcc;
        const char* text;
    };
    const Case cases[] = {
        {0x56424D5Au, "ZMBV"}, {kFccDib, "DIB "}, {0x00424944u, "DIB"}, {0x41004244u, "DB"}, {0, ""},
    };
    for (const Case& c : cases) {
        CompDataRecord r = {};
        r.fccHandler = c.fcc;
        EXPECT_EQ(CompDataCodeText(r), c.text);
    }
}

}  // namespace
