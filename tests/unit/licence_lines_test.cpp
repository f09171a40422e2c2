// The Chinese licence cut into list lines: carriage returns end lines, one line
// feed after them is skipped, a tail without a carriage return is no line, and
// no more than 500 lines are taken.
#include "wizard/licence_texts.h"
#include "wizard/install_start.h"
#include "install/file_table.h"
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include <vector>

static std::vector<std::string> Split(std::string text, int maxLines = LicenceLineLimit)
{
    std::vector<char> bytes(text.begin(), text.end());
    bytes.push_back(0);
    std::vector<const char *> lines(maxLines + 1, (const char *)0);
    int count = SplitLicenceLines(bytes.data(), (unsigned long)text.size(), lines.data(), maxLines);
    std::vector<std::string> result;
    for (int i = 0; i < count; i++)
        result.push_back(lines[i]);
    EXPECT_EQ(0, lines[count]) << "a line start stored past the count";
    return result;
}

TEST(LicenceLines, CarriageReturnsEndLinesAndOneLineFeedIsSkipped)
{
    std::vector<std::string> expected = { "第一条", "two", "", "\n\nfour" };
    EXPECT_EQ(expected, Split("第一条\r\ntwo\r\r\n\n\nfour\r"));
}

TEST(LicenceLines, TextAfterTheLastCarriageReturnIsNoLine)
{
    std::vector<std::string> expected = { "one" };
    EXPECT_EQ(expected, Split("one\r\nlast line without an end"));
    EXPECT_TRUE(Split("no carriage return at all").empty());
    EXPECT_TRUE(Split("").empty());
    EXPECT_TRUE(Split("only\nline feeds\n").empty());
}

// A two-byte GB2312 character never holds a carriage return or a line feed, so
// a line ends right where its bytes say.
TEST(LicenceLines, GbCharactersStayWhole)
{
    std::vector<std::string> expected = { "甲乙", "丙" };
    EXPECT_EQ(expected, Split("甲乙\r\n丙\r\n"));
}

TEST(LicenceLines, AtMostFiveHundredLines)
{
    std::string text;
    for (int i = 0; i < 501; i++)
        text += "line " + std::to_string(i) + "\r\n";
    std::vector<std::string> lines = Split(text);
    ASSERT_EQ(500u, lines.size());
    EXPECT_EQ("line 0", lines[0]);
    EXPECT_EQ("line 499", lines[499]);
    EXPECT_EQ(3u, Split(text, 3).size());
}

// The destination, a backslash and every name the install writes or deletes
// there must fit a 260-byte path with its terminating zero; a file is written
// under its name and "~new" before it takes its place.
TEST(InstallNames, DestinationLeavesRoomForTheLongestName)
{
    size_t longest = strlen("adjustments.dic1111");   // the longest cache file the install deletes
    for (int i = 0; i < FileTableRowCount; i++)
        if (FileTable[i].TargetName)
            longest = std::max(longest, strlen(FileTable[i].TargetName) + strlen("~new"));
    size_t longestAccepted = MAX_PATH - 1 - 1 - longest;
    EXPECT_EQ((int)longest, LongestInstallNameLength());
    EXPECT_TRUE(DestinationFitsInstallNames(("C:\\" + std::string(longestAccepted - 3, 'd')).c_str()));
    EXPECT_FALSE(DestinationFitsInstallNames(("C:\\" + std::string(longestAccepted - 2, 'd')).c_str()));
    EXPECT_FALSE(DestinationFitsInstallNames(std::string(259, 'd').c_str()));
}
