// The traces' own formatting against the C library's printf, for every form the traces use.
#include <gtest/gtest.h>

#include <climits>
#include <cstdarg>
#include <cstdio>

#include "base/diagnostics.h"

namespace {

std::string ours(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = format_text(format, args);
    va_end(args);
    return text;
}

template <typename... Args>
std::string printf_of(const char* format, Args... args)
{
    char text[256];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

TEST(Format_text, WritesWhatPrintfWritesForTheFormsTheTracesUse)
{
    for (int value : {0, 7, -7, 1000, -123456, INT_MAX, INT_MIN}) {
        for (const char* format : {"%d: Got WM_DRAWCLIPBOARD.\n", "[%5d]", "[%05d]", "[%1d]"})
            EXPECT_EQ(ours(format, value), printf_of(format, value)) << format << " " << value;
    }
    for (unsigned value : {0u, 0xAu, 0x1F2Eu, 0x12345u, UINT_MAX}) {
        for (const char* format : {"next win = %04x\n", "%x", "%X", "%02X", "%8x", "%u"})
            EXPECT_EQ(ours(format, value), printf_of(format, value)) << format << " " << value;
    }
    EXPECT_EQ(ours("%s and %c, 100%%", "text", 'x'), "text and x, 100%");
    EXPECT_EQ(ours("%d %s %04x", 3, "mid", 0xbeu), "3 mid 00be");
    // A form it does not know is shown as written, and takes no argument.
    EXPECT_EQ(ours("%zu then %d", 5), "%zu then 5");
    EXPECT_EQ(ours("ends with %"), "ends with %");
}

}  // namespace
