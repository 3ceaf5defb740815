#include "base/byte_block.h"

#include <gtest/gtest.h>

namespace tamrivo {
namespace {

TEST(ByteBlock, TextBytesWithoutTerminator) {
    EXPECT_EQ(toByteBlock("Qw482617."), (Bytes{'Q', 'w', '4', '8', '2', '6', '1', '7', '.'}));
    EXPECT_EQ(toByteBlock("元"), (Bytes{0xD4, 0xAA}));
    EXPECT_EQ(toByteBlock(""), Bytes{});
}

TEST(ByteBlock, LengthAndLeftPart) {
    const Bytes block{1, 2, 3};
    EXPECT_EQ(blockLength(block), 3);
    EXPECT_EQ(blockLength({}), 0);
    EXPECT_EQ(leftBlock(block, 2), (Bytes{1, 2}));
    EXPECT_EQ(leftBlock(block, 9), block);
    EXPECT_EQ(leftBlock(block, 0), Bytes{});
    EXPECT_EQ(leftBlock(block, -1), Bytes{});
}

TEST(ByteBlock, ZeroBlock) {
    EXPECT_EQ(zeroBlock(3), (Bytes{0, 0, 0}));
    EXPECT_EQ(zeroBlock(0), Bytes{});
    EXPECT_EQ(zeroBlock(-4), Bytes{});
}

}  // namespace
}  // namespace tamrivo
