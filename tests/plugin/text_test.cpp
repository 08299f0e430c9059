// The string table, bounded formatting, UTF-16 conversion and the readers of dialog answers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Zentrim_Strings.h"
#include "cropUtil.h"

namespace {

TEST(StringTable, RowsHoldTheirIndexAndText) {
    struct Row {
        int index;
        const char* text;
    } rows[] = {
        {0, ""},
        {1, "Zentrim"},
        {2, "Zentrim Duration"},
        {3, "Multiple layers not allowed"},
        {4, "Zentrim Preferences"},
        {5, "Mask Crop"},
        {7, "Zentrim: Problems encountered during twiddling."},
        {8, "Zentrim"},
        {9, "Padding"},
        {10, "PaddingAmount"},
        {11, "DeleteMask"},
        {12, "IncludeMasks"},
        {13, "Expand"},
        {14, "ExpandAmount"},
        {15, "Resolution"},
        {16, "ThreeD"},
        {17, "Panel_Run"},
        {18, "Menu_Cmd"},
        {21, "Zentrim Null"},
    };
    for (const Row& r : rows) {
        EXPECT_STREQ(GetStringPtr(r.index), r.text) << "row " << r.index;
        EXPECT_EQ(g_strs[r.index].index, static_cast<unsigned long>(r.index));
    }
    for (int i = 0; i < StrID_NUMTYPES; ++i)
        EXPECT_EQ(g_strs[i].index, static_cast<unsigned long>(i));
}

TEST(SprintOS, FormatsWithinTheBufferAndNeverPastIt) {
    char version[20];
    EXPECT_EQ(cropUtil::SprintOS(version, sizeof version, "%d.%d.%d", 3, 2, 0), A_Err_NONE);
    EXPECT_STREQ(version, "3.2.0");

    // A text longer than the buffer is cut short, terminated, and reported.
    char small[8];
    std::memset(small, 'x', sizeof small);
    char guard[4] = {'g', 'g', 'g', 'g'};
    EXPECT_NE(cropUtil::SprintOS(small, 6, "%s", "abcdefghij"), A_Err_NONE);
    EXPECT_STREQ(small, "abcde");
    EXPECT_EQ(small[6], 'x');
    EXPECT_EQ(guard[0], 'g');

    // Exactly fitting text (5 characters + terminator in 6 bytes) is not an error.
    EXPECT_EQ(cropUtil::SprintOS(small, 6, "%s", "abcde"), A_Err_NONE);

    EXPECT_NE(cropUtil::SprintOS(nullptr, 6, "x"), A_Err_NONE);
    EXPECT_NE(cropUtil::SprintOS(small, 0, "x"), A_Err_NONE);
}

TEST(Utf16Conversion, WideLiteralsBecomeTerminatedUtf16) {
    A_UTF16Char out[32];
    std::memset(out, 0xAB, sizeof out);
    cropUtil::copyConvertStringLiteralIntoUTF16(L"", out);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 0xABAB) << "nothing beyond the terminator is written";

    cropUtil::copyConvertStringLiteralIntoUTF16(L" - Zentrim PreComp", out);
    std::u16string want = u" - Zentrim PreComp";
    for (size_t i = 0; i < want.size(); ++i)
        EXPECT_EQ(out[i], want[i]) << i;
    EXPECT_EQ(out[want.size()], 0);

    cropUtil::copyConvertStringLiteralIntoUTF16(L"\u00e9\u4e2d", out);
    EXPECT_EQ(out[0], 0x00E9);
    EXPECT_EQ(out[1], 0x4E2D);
    EXPECT_EQ(out[2], 0);
}

TEST(ScriptAnswers, ReadersInterpretResultTexts) {
    struct Case {
        const char* text;
        int digit;
        bool boolean;
        long integer;
    } cases[] = {
        {"1", 1, false, 1},           {"2", 2, false, 2},
        {"true", 't' - '0', true, 0}, {"false", 'f' - '0', false, 0},
        {"-1", '-' - '0', false, -1}, {"12", 1, false, 12},
        {"", -1, false, 0},           {"abc", 'a' - '0', false, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cropUtil::DigitAnswer(c.text), c.digit) << c.text;
        EXPECT_EQ(cropUtil::BooleanAnswer(c.text), c.boolean) << c.text;
        EXPECT_EQ(cropUtil::IntegerAnswer(c.text), c.integer) << c.text;
    }
    EXPECT_EQ(cropUtil::DigitAnswer(nullptr), -1);
    EXPECT_FALSE(cropUtil::BooleanAnswer(nullptr));
    EXPECT_EQ(cropUtil::IntegerAnswer(nullptr), 0);
}

}  // namespace
