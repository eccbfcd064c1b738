#include "cli/json_writer.h"

#include <gtest/gtest.h>

using vantrel::cli::JsonColor;
using vantrel::cli::JsonString;

TEST(JsonWriter, EscapesAndAlwaysWritesValidUtf8) {
    EXPECT_EQ(JsonString("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\u000a\\u0001\"");
    EXPECT_EQ(JsonString("22\xC2\xB0"), "\"22\xC2\xB0\"");                 // UTF-8 kept
    EXPECT_EQ(JsonString("Z\xFCrich"), "\"Z\xC3\xBCrich\"");               // Latin-1 byte converted
    EXPECT_EQ(JsonString("\xE0\x80\xAF"), "\"\xC3\xA0\xC2\x80\xC2\xAF\""); // overlong form refused
    EXPECT_EQ(JsonString("\xED\xA0\x80"), "\"\xC3\xAD\xC2\xA0\xC2\x80\""); // surrogate refused
    EXPECT_EQ(JsonString("\xF0\x9F\x9B\xAB"), "\"\xF0\x9F\x9B\xAB\"");     // four-byte form kept
    EXPECT_EQ(JsonColor(0xFFF0CA), "#fff0ca");
}
