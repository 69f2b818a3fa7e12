#include "pixconv/core/request_copy.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Destination with guard bytes on both sides; the sender's block is exactly
// `cbData` bytes in its own allocation so ASan catches any read past it.
struct Field {
    explicit Field(std::size_t size) : bytes(size + 2 + 64, 'G'), size(size) {}
    char* dest() { return bytes.data() + 32; }
    bool GuardsIntact(std::size_t used) const
    {
        for (std::size_t i = 0; i < 32; ++i) {
            if (bytes[i] != 'G' || bytes[32 + used + i] != 'G') {
                return false;
            }
        }
        return true;
    }
    std::vector<char> bytes;
    std::size_t size;
};

TEST(RequestTextCopy, CutsAndTerminatesWithinTheField)
{
    struct Case {
        std::string block; // exactly cbData bytes
        std::size_t fieldSize;
        std::string expected;
    };
    const Case cases[] = {
        {std::string("C:\\out.bmp\0", 11), 260, "C:\\out.bmp"},
        {std::string(5000, 'A'), 260, std::string(259, 'A')},      // oversized, no NUL
        {std::string(259, 'B'), 260, std::string(259, 'B')},        // exactly fits
        {std::string(260, 'C'), 260, std::string(259, 'C')},        // one too many
        {std::string("ab"), 260, "ab"},                             // no NUL: cbData bounds it
        {std::string("x\0yz", 4), 260, "x"},
        {std::string(), 260, ""},
    };
    for (const Case& c : cases) {
        Field f(c.fieldSize);
        std::vector<char> block(c.block.begin(), c.block.end());
        RequestTextCopy(f.dest(), c.fieldSize, block.empty() ? nullptr : block.data(), block.size());
        EXPECT_EQ(std::string(f.dest()), c.expected);
        EXPECT_TRUE(f.GuardsIntact(c.fieldSize));
    }
}

TEST(RequestTextCopy, NullDataGivesTheEmptyText)
{
    Field f(260);
    RequestTextCopy(f.dest(), 260, nullptr, 1000);
    EXPECT_STREQ(f.dest(), "");
}

TEST(RequestBytesCopy, KeepsNulsAndAlwaysEndsWithTwoNuls)
{
    const std::string filter("BMP\0*.bmp\0\0", 11);
    Field f(264);
    std::vector<char> block(filter.begin(), filter.end());
    RequestBytesCopy(f.dest(), 264, block.data(), block.size());
    EXPECT_EQ(std::memcmp(f.dest(), filter.data(), filter.size()), 0);
    EXPECT_TRUE(f.GuardsIntact(266));

    // An oversized filter without its final NULs is cut, and the two guard
    // bytes after the field keep the list terminated.
    Field g(264);
    std::vector<char> big(4000, 'Z');
    RequestBytesCopy(g.dest(), 264, big.data(), big.size());
    EXPECT_EQ(g.dest()[263], 'Z');
    EXPECT_EQ(g.dest()[264], '\0');
    EXPECT_EQ(g.dest()[265], '\0');
    EXPECT_TRUE(g.GuardsIntact(266));
}

}  // namespace
