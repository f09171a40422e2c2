// The edition's names in their three scripts, and their agreement with the file table.
#include "install/edition_record.h"
#include "install/file_table.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <string.h>

static std::wstring Decoded(const char *bytes, UINT codePage)
{
    WCHAR wide[64];
    int units = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, -1, wide, 64);
    return units > 0 ? std::wstring(wide) : std::wstring(L"<not valid in this code page>");
}

TEST(EditionRecord, SimplifiedNamesAreGb2312Bytes)
{
    const EditionNames *names = EditionNamesFor(1);
    EXPECT_EQ(L"\u84DD\u6865\u58A8\u6587\u672C\u7F16\u8F91", Decoded(names->GroupName, 936));       // 蓝桥墨文本编辑
    EXPECT_EQ(L"\u84DD\u6865\u58A8\u6587\u672C\u7F16\u8F91", Decoded(names->MainLinkName, 936));
    EXPECT_EQ(L"\u84DD\u6865\u58A8\u6587\u672C\u7F16\u8F91\u5378\u8F7D", Decoded(names->UninstallerLinkName, 936));
    EXPECT_EQ(14u, strlen(names->GroupName));
}

TEST(EditionRecord, TraditionalNamesAreBig5Bytes)
{
    const EditionNames *names = EditionNamesFor(2);
    EXPECT_EQ(L"\u85CD\u6A4B\u58A8\u6587\u672C\u7DE8\u8F2F", Decoded(names->GroupName, 950));       // 藍橋墨文本編輯
    EXPECT_EQ(L"\u85CD\u6A4B\u58A8\u6587\u672C\u7DE8\u8F2F", Decoded(names->MainLinkName, 950));
    EXPECT_EQ(L"\u85CD\u6A4B\u58A8\u6587\u672C\u7DE8\u8F2F\u5378\u8F09", Decoded(names->UninstallerLinkName, 950));
    // The same text in GB2312 would be other bytes.
    EXPECT_NE(0, strcmp(names->GroupName, EditionNamesFor(1)->GroupName));
}

TEST(EditionRecord, EnglishNamesForSystemsWithoutChinese)
{
    const EditionNames *names = EditionNamesFor(0);
    EXPECT_STREQ("Lumabook Writer", names->GroupName);
    EXPECT_STREQ("Lumabook Writer", names->MainLinkName);
    EXPECT_STREQ("Lumabook UnInstall", names->UninstallerLinkName);
}

TEST(EditionRecord, VariantsOutsideTheRangeTakeTheNearestScript)
{
    EXPECT_EQ(EditionNamesFor(0), EditionNamesFor(-1));
    EXPECT_EQ(EditionNamesFor(2), EditionNamesFor(3));
}

static const char *TableTargetOf(int resourceId)
{
    for (int i = 0; i < FileTableRowCount; i++)
        if (FileTable[i].ResourceId == resourceId)
            return FileTable[i].TargetName;
    return "";
}

// The shortcuts point at these files, so the record and the table must agree.
TEST(EditionRecord, ProgramFileNamesAreThoseOfTheirPayloadRows)
{
    EXPECT_STREQ(TableTargetOf(109), EditionRecord.MainProgramFile);
    EXPECT_STREQ(TableTargetOf(171), EditionRecord.UninstallerFile);
    EXPECT_STREQ("Lumabook", EditionRecord.InstallFolderName);
}

TEST(FileTable, HoldsEveryPayloadRowOnceWithItsFailureRules)
{
    int files = 0, required = 0, requiredConditional = 0, optionalConditional = 0;
    for (int i = 0; i < FileTableRowCount; i++) {
        const FileTableRow &row = FileTable[i];
        if (!row.ResourceId)
            continue;
        files++;
        for (int j = i + 1; j < FileTableRowCount; j++)
            EXPECT_NE(row.ResourceId, FileTable[j].ResourceId) << row.TargetName;
        required += row.Failure == Required;
        requiredConditional += row.Failure == Required && row.Condition == UnlessWordBaseKept;
        optionalConditional += row.Failure == Optional && row.Condition == UnlessWordBaseKept;
    }
    EXPECT_EQ(PayloadFileCount, files);
    EXPECT_EQ(26, required);
    EXPECT_EQ(3, requiredConditional);
    EXPECT_EQ(1, optionalConditional);
}
