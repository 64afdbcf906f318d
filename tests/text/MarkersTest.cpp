#include "text/Markers.h"

#include <gtest/gtest.h>

#include <string>

#include "TextTestSupport.h"

namespace tarvolin {
namespace {

using testing::B;

TEST(TextBetween, BytesStrictlyBetweenMarkers) {
    const Text start = "【原帖更新到"_t;
    const Text end = "版本】"_t;
    struct Case {
        Text source;
        Text startMarker;
        Text endMarker;
        int start;
        Text expected;
    } cases[] = {
        {"说明【原帖更新到1.4版本】结束"_t, start, end, 0, B("1.4")},
        {"【原帖更新到1.4"_t, start, end, 0, Text()},         // no end marker after the start
        {"版本】 【原帖更新到1.4"_t, start, end, 0, Text()},  // end marker only before it
        {"【原帖更新到版本】"_t, start, end, 0, Text()},      // adjacent markers
        {B("<b>1</b><b>2</b>"), B("<b>"), B("</b>"), 0, B("1")},
        {B("<b>1</b><b>2</b>"), B("<b>"), B("</b>"), 2, B("2")},
        {B("<b>1</b>"), B("<b>"), B("</b>"), 10000, Text()},  // start beyond a short text
        {B("a=1;"), B("a="), B(";"), -3, B("1")},
        {B("pages:\xD6\xD0"
           "12|"),
         B(":"), B("|"), 0,
         B("\xD6\xD0"
           "12")},
        {B("x:y"), Text(), B(":"), 0, B("x")},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const Case& c = cases[i];
        EXPECT_EQ(TextBetween(c.source, c.startMarker, c.endMarker, c.start), c.expected);
    }
    EXPECT_EQ(TextBetween(B("<B>x</b>"), B("<b>"), B("</B>"), 0, true), B("x"));
    EXPECT_EQ(TextBetween(B("<B>x</b>"), B("<b>"), B("</B>"), 0, false), Text());
}

TEST(TextAfterLast, BytesAfterLastMarkerEndingBeforeStart) {
    struct Case {
        Text source;
        Text marker;
        int start;
        Text expected;
    } cases[] = {
        {B("Tarvolin1.3"), B("Tarvolin"), 0, B("1.3")},
        {B("Tarvolin1.3"), B("Other"), 0, Text()},
        // The range ends before the last byte, so a marker at the very end is not counted.
        {B("a|b|"), B("|"), 0, B("b|")},
        {B("ab|"), B("|"), 0, Text()},
        {B("a|b|c"), B("|"), 3, B("b|c")},  // only occurrences ending by byte 2
        {B("a|b|c"), B("|"), 99, B("c")},
        {"版本1.3"_t, "版本"_t, -1, B("1.3")},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(TextAfterLast(cases[i].source, cases[i].marker, cases[i].start), cases[i].expected);
    }
}

}  // namespace
}  // namespace tarvolin
