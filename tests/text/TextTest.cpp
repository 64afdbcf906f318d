#include "text/Text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <type_traits>

#include "TextTestSupport.h"

namespace tarvolin {
namespace {

// UTF-8 source text becomes a Text only through _t, which converts it.
static_assert(!std::is_convertible_v<const char*, Text>);
static_assert(!std::is_convertible_v<std::string, Text>);
static_assert(!std::is_convertible_v<std::string_view, Text>);
static_assert(!std::is_constructible_v<Text, const char*>);

TEST(Text, LiteralsAreConvertedToCodePage936) {
    EXPECT_EQ("中"_t.bytes(), "\xD6\xD0");
    EXPECT_EQ("状态：运行中"_t.bytes(), "\xD7\xB4\xCC\xAC\xA3\xBA\xD4\xCB\xD0\xD0\xD6\xD0");
    EXPECT_EQ("a한b"_t.bytes(), "a?b");
    EXPECT_EQ(""_t, Text());
    EXPECT_EQ(TextToUtf8("状态：运行中"_t), "状态：运行中");
}

TEST(Text, NeverHoldsAZeroByte) {
    EXPECT_EQ(Text::FromBytes(std::string_view("ab\0cd", 5)).bytes(), "ab");
    EXPECT_EQ(Text::FromBytes(std::string_view("\0x", 2)), Text());
    EXPECT_TRUE(Text().empty());
    EXPECT_EQ(IntToText(-120).bytes(), "-120");
    EXPECT_EQ((testing::B("a") + testing::B("\xD6\xD0")).bytes(), "a\xD6\xD0");
}

}  // namespace
}  // namespace tarvolin
