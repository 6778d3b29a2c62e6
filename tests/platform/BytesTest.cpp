#include "platform/Bytes.h"

#include <gtest/gtest.h>

#include <limits>

using namespace pictarium;

TEST(ByteView, ReadsAreLittleEndianAndNeverLeaveTheSpan)
{
    const Bytes data = {0x01, 0x02, 0x03, 0x04, 0xff};
    ByteView v(data);
    EXPECT_EQ(*v.u16(0), 0x0201);
    EXPECT_EQ(*v.u32(0), 0x04030201u);
    EXPECT_EQ(*v.i32(1), static_cast<std::int32_t>(0xff040302u));
    EXPECT_EQ(*v.i16(3), static_cast<std::int16_t>(0xff04));

    constexpr auto huge = std::numeric_limits<std::size_t>::max();
    struct Case { std::size_t offset, length; bool fits; };
    for (auto c : {Case{0, 5, true}, Case{5, 0, true}, Case{4, 1, true}, Case{4, 2, false}, Case{6, 0, false},
                   Case{huge, 1, false}, Case{1, huge, false}, Case{huge - 1, 3, false}}) {
        EXPECT_EQ(v.contains(c.offset, c.length), c.fits) << c.offset << "+" << c.length;
        EXPECT_EQ(v.sub(c.offset, c.length).has_value(), c.fits) << c.offset << "+" << c.length;
    }
    EXPECT_FALSE(v.u32(2));
    EXPECT_FALSE(v.u16(huge));
    EXPECT_FALSE(v.from(6));
    EXPECT_EQ(v.from(5)->size(), 0u);
}

TEST(ByteReader, FailedReadsLeaveTheCursor)
{
    const Bytes data = {1, 0, 0, 0, 2, 0};
    ByteReader r(data);
    EXPECT_EQ(*r.i32(), 1);
    EXPECT_FALSE(r.i32());
    EXPECT_EQ(r.position(), 4u);
    EXPECT_FALSE(r.take(3));
    EXPECT_EQ(*r.u16(), 2);
    EXPECT_TRUE(r.atEnd());
    EXPECT_FALSE(r.skip(1));
    EXPECT_FALSE(r.seek(7));
}

TEST(ByteWriter, AppendsAndPatches)
{
    Bytes out;
    ByteWriter w(out);
    w.u16(0x0201);
    w.i32(-2);
    EXPECT_EQ(out, (Bytes{1, 2, 0xfe, 0xff, 0xff, 0xff}));
    EXPECT_TRUE(w.patchU32(2, 0x0a0b0c0d));
    EXPECT_EQ(out, (Bytes{1, 2, 0x0d, 0x0c, 0x0b, 0x0a}));
    EXPECT_FALSE(w.patchU32(3, 0));
    EXPECT_FALSE(checkedMul(std::numeric_limits<std::size_t>::max() / 2, 3));
    EXPECT_FALSE(checkedAdd(std::numeric_limits<std::size_t>::max(), 1));
    EXPECT_EQ(*checkedMul(640, 480), 307200u);
}
