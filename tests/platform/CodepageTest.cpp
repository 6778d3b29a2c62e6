#include "platform/Codepage.h"

#include <gtest/gtest.h>

using namespace pictarium;

TEST(Codepage, TitlesRoundTripThroughTheAnsiCodePage)
{
    struct Case { const char *utf8; Bytes ansi; };
    const Case cases[] = {
        {"Icons", {'I', 'c', 'o', 'n', 's'}},
        {"系统", {0xcf, 0xb5, 0xcd, 0xb3}},                  // GBK
        {"新建标题", {0xd0, 0xc2, 0xbd, 0xa8, 0xb1, 0xea, 0xcc, 0xe2}},
        {"😀", {0x94, 0x39, 0xfc, 0x36}},                    // beyond GBK: GB18030 four-byte form
    };
    for (const auto &c : cases) {
        EXPECT_EQ(utf8ToAnsi(c.utf8), c.ansi) << c.utf8;
        EXPECT_EQ(ansiToUtf8(c.ansi), c.utf8) << c.utf8;
    }
}

TEST(Codepage, InvalidBytesAreShownNotDropped)
{
    // A lead byte without its trail byte, then plain text: the text must survive.
    const Bytes broken = {0xcf, ' ', 'A', 'B'};
    const std::string shown = ansiToUtf8(broken);
    EXPECT_NE(shown.find("AB"), std::string::npos);
    EXPECT_NE(shown.find("\xEF\xBF\xBD"), std::string::npos);
    EXPECT_EQ(ansiToUtf8(Bytes{0xff}), "\xEF\xBF\xBD");
}
