#include "util/bytes.h"

#include <gtest/gtest.h>

using namespace tamble::bytes;

TEST(Bytes, LittleEndianFieldsLandAtTheirOffsets)
{
    QByteArray buf(8, '\0');
    put_i32le(buf, 0, 19200);
    put_u16le(buf, 4, 0x1234);
    EXPECT_EQ(buf.left(6), QByteArray("\x00\x4B\x00\x00\x34\x12", 6));
    EXPECT_EQ(get_i32le(buf, 0), 19200);
    EXPECT_EQ(get_u16le(buf, 4), 0x1234);
    put_i32le(buf, 4, -1);
    EXPECT_EQ(get_i32le(buf, 4), -1);
}

TEST(Bytes, AccessPastTheEndIsIgnoredAndReadsZero)
{
    QByteArray buf(3, '\x7f');
    put_i32le(buf, 1, 0x01020304); // partly outside: only the bytes inside are written
    EXPECT_EQ(buf.size(), 3);
    EXPECT_EQ(get_u8(buf, 3), 0);
    EXPECT_EQ(get_u8(buf, -1), 0);
    EXPECT_EQ(get_i32le(buf, 1), 0x0304);
}

TEST(Bytes, LengthPrefixedTextClampsABadLengthToTheField)
{
    QByteArray buf(1 + 4, '\0');
    put_pstring(buf, 0, 4, "abcdefgh");
    EXPECT_EQ(buf, QByteArray("\x04" "abcd", 5));
    buf[0] = char(200); // damaged length byte
    EXPECT_EQ(get_pstring(buf, 0, 4), QByteArray("abcd"));
    QByteArray shortBuf("\x09xy", 3); // field cut off by the end of the record
    EXPECT_EQ(get_pstring(shortBuf, 0, 20), QByteArray("xy"));
}

TEST(Bytes, RewritingAShorterTextClearsTheOldCharacters)
{
    QByteArray buf(1 + 6, '\0');
    put_pstring(buf, 0, 6, "abcdef");
    put_pstring(buf, 0, 6, "xy");
    EXPECT_EQ(buf, QByteArray("\x02xy\0\0\0\0", 7));
}
