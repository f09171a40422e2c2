// The edition's names in their three scripts, the install file table, and the
// payload entries of the built program that the table names.
#include "install/edition_record.h"
#include "install/file_table.h"
#include "support/test_paths.h"
#include <set>
#include <vector>
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

// The GB2312 and Big5 names only where the ANSI code page is that very code
// page: a Chinese system on UTF-8 (65001) or on the other Chinese code page
// gets the ASCII names.
TEST(EditionRecord, LinkNamesFollowTheAnsiCodePage)
{
    struct { int variant; UINT codePage; const EditionNames *expected; } systems[] = {
        { 1, 936, &SimplifiedEditionNames }, { 2, 950, &TraditionalEditionNames },
        { 1, 65001, EditionRecord.English }, { 2, 65001, EditionRecord.English },
        { 1, 950, EditionRecord.English }, { 2, 936, EditionRecord.English },
        { 0, 936, EditionRecord.English }, { 0, 1252, EditionRecord.English },
    };
    for (const auto &system : systems)
        EXPECT_EQ(system.expected, LinkNamesFor(system.variant, system.codePage))
            << "variant " << system.variant << ", code page " << system.codePage;
    EXPECT_STREQ("Lumabook Writer", LinkNamesFor(1, 65001)->GroupName);
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

// The install file table as the product's design lists it, step by step: id,
// target, read-only, hidden, required, only if the word base is replaced, and
// the progress checkpoints (id 0) between the steps.
struct ExpectedRow { int id; const char *target; int readOnly, hidden, required, conditional, position; };

static const ExpectedRow ExpectedTable[] = {
    { 0, 0, 0, 0, 0, 0, 10 },
    // T1
    { 106, "syllables.dic", 1, 1, 1, 0, 0 },
    { 131, "charlist.dic", 1, 1, 1, 0, 0 },
    { 143, "initials.dic", 1, 1, 1, 0, 0 },
    { 0, 0, 0, 0, 0, 0, 15 },
    // T2
    { 111, "charorder.dic", 0, 1, 1, 0, 0 },
    { 0, 0, 0, 0, 0, 0, 20 },
    // T3
    { 153, "dictres.bin", 1, 1, 0, 0, 0 },
    { 123, "WordDict2.bin", 1, 1, 0, 0, 0 },
    // T4
    { 118, "dupcodes.dic", 1, 0, 0, 0, 0 },
    // T5
    { 137, "char2code.bin", 1, 1, 0, 0, 0 },
    // T6
    { 114, "usage_cn.dat", 1, 1, 1, 0, 0 },
    { 115, "background_cn.dat", 1, 1, 1, 0, 0 },
    { 120, "uiprefs.ini", 1, 1, 1, 0, 0 },
    // T7
    { 122, "uiprefs_en.ini", 1, 1, 0, 0, 0 },
    { 203, "hints.txt", 1, 1, 0, 0, 0 },
    { 204, "hints_en.txt", 1, 1, 0, 0, 0 },
    { 165, "wordbase_howto.txt", 1, 1, 0, 0, 0 },
    { 0, 0, 0, 0, 0, 0, 25 },
    // T8
    { 110, "HanziGlyphs.bin", 1, 1, 1, 0, 0 },
    { 0, 0, 0, 0, 0, 0, 30 },
    // T9
    { 116, "kbd_layout.bmp", 1, 1, 1, 0, 0 },
    { 136, "kbd_pinyin.bmp", 1, 1, 1, 0, 0 },
    { 138, "kbd_pinyin_std.bmp", 1, 1, 1, 0, 0 },
    { 140, "kbd_double.bmp", 1, 1, 1, 0, 0 },
    { 141, "kbd_double_std.bmp", 1, 1, 1, 0, 0 },
    { 149, "kbd_double1.bmp", 1, 1, 1, 0, 0 },
    { 151, "kbd_double_std1.bmp", 1, 1, 1, 0, 0 },
    { 150, "kbd_double2.bmp", 1, 1, 1, 0, 0 },
    { 152, "kbd_double_std2.bmp", 1, 1, 1, 0, 0 },
    { 0, 0, 0, 0, 0, 0, 35 },
    // T10
    { 127, "wordbase.dat", 0, 0, 1, 1, 0 },
    { 0, 0, 0, 0, 0, 0, 45 },
    // T11
    { 130, "char2pinyin.bin", 1, 1, 1, 0, 0 },
    { 191, "char2pinyin_x1.bin", 1, 1, 1, 0, 0 },
    { 192, "char2pinyin_x2.bin", 1, 1, 1, 0, 0 },
    { 132, "strokes.bin", 1, 1, 1, 0, 0 },
    // T12
    { 144, "vkeywords.dic", 1, 1, 0, 0, 0 },
    { 162, "gb2big5.bin", 1, 1, 0, 0, 0 },
    { 189, "big52gb.bin", 1, 1, 0, 0, 0 },
    { 173, "phrasedict.bin", 1, 1, 0, 0, 0 },
    { 241, "relation1.map", 1, 1, 0, 0, 0 },
    { 240, "relation2.map", 1, 1, 0, 0, 0 },
    { 248, "keypad_preferred.bin", 1, 1, 0, 0, 0 },
    { 249, "keypad_strokes.bin", 1, 1, 0, 0, 0 },
    { 250, "keypad_combos.bin", 1, 1, 0, 0, 0 },
    { 251, "ComponentBase.dat", 1, 1, 0, 0, 0 },
    { 252, "Components.dat", 1, 1, 0, 0, 0 },
    { 253, "KeypadDemo.exe", 1, 1, 0, 0, 0 },
    { 254, "chars_by_frequency.txt", 1, 1, 0, 0, 0 },
    // T13
    { 255, "keypad_chords.bmp", 1, 0, 0, 0, 0 },
    { 256, "keypad_layout.bmp", 1, 0, 0, 0, 0 },
    { 175, "family_help.htm", 1, 0, 0, 0, 0 },
    { 176, "ENGINE.HTM", 1, 0, 0, 0, 0 },
    { 177, "EditorIntro.htm", 1, 0, 0, 0, 0 },
    { 178, "quickstart.htm", 1, 0, 0, 0, 0 },
    { 179, "examples.htm", 1, 0, 0, 0, 0 },
    { 174, "typing_aids.htm", 1, 0, 0, 0, 0 },
    { 180, "first_look.htm", 1, 0, 0, 0, 0 },
    { 181, "pinyin_shape.htm", 1, 0, 0, 0, 0 },
    { 182, "shapecode.htm", 1, 0, 0, 0, 0 },
    { 183, "shapecode_memo.htm", 1, 0, 0, 0, 0 },
    { 184, "hotkeys.htm", 1, 0, 0, 0, 0 },
    { 194, "family_help_en.htm", 1, 0, 0, 0, 0 },
    { 195, "ENGINE_en.HTM", 1, 0, 0, 0, 0 },
    { 196, "EditorIntro_en.htm", 1, 0, 0, 0, 0 },
    { 197, "quickstart_en.htm", 1, 0, 0, 0, 0 },
    { 198, "examples_en.htm", 1, 0, 0, 0, 0 },
    { 193, "typing_aids_en.htm", 1, 0, 0, 0, 0 },
    { 199, "first_look_en.htm", 1, 0, 0, 0, 0 },
    { 200, "pinyin_shape_en.htm", 1, 0, 0, 0, 0 },
    { 201, "hotkeys_en.htm", 1, 0, 0, 0, 0 },
    { 294, "family_help_b5.htm", 1, 0, 0, 0, 0 },
    { 295, "ENGINE_b5.HTM", 1, 0, 0, 0, 0 },
    { 296, "EditorIntro_b5.htm", 1, 0, 0, 0, 0 },
    { 297, "quickstart_b5.htm", 1, 0, 0, 0, 0 },
    { 298, "examples_b5.htm", 1, 0, 0, 0, 0 },
    { 293, "typing_aids_b5.htm", 1, 0, 0, 0, 0 },
    { 299, "first_look_b5.htm", 1, 0, 0, 0, 0 },
    { 300, "pinyin_shape_b5.htm", 1, 0, 0, 0, 0 },
    { 301, "hotkeys_b5.htm", 1, 0, 0, 0, 0 },
    // T14
    { 205, "PartsToChars.PNG", 1, 1, 0, 0, 0 },
    { 206, "CharInfo_en.PNG", 1, 1, 0, 0, 0 },
    { 207, "CharInfo.PNG", 1, 1, 0, 0, 0 },
    { 208, "FindIdiom.PNG", 1, 1, 0, 0, 0 },
    // T15
    { 259, "UserGuide.chm", 1, 0, 0, 0, 0 },
    { 171, "LbUnInstall.exe", 1, 0, 0, 0, 0 },
    { 161, "agreement_en.txt", 1, 0, 0, 0, 0 },
    { 124, "agreement_cn.txt", 1, 0, 0, 0, 0 },
    { 190, "welcome.bmp", 1, 0, 0, 0, 0 },
    { 210, "demo_manual3.PNG", 1, 0, 0, 0, 0 },
    { 211, "demo_caret.PNG", 1, 0, 0, 0, 0 },
    { 212, "demo_manual.PNG", 1, 0, 0, 0, 0 },
    { 213, "demo_manual1.PNG", 1, 0, 0, 0, 0 },
    { 214, "demo_manual2.PNG", 1, 0, 0, 0, 0 },
    { 215, "DEMO1.PNG", 1, 0, 0, 0, 0 },
    { 216, "demo_manual4.PNG", 1, 0, 0, 0, 0 },
    { 217, "demo_manual5.PNG", 1, 0, 0, 0, 0 },
    { 218, "demo_word1.PNG", 1, 0, 0, 0, 0 },
    { 219, "demo_word2.PNG", 1, 0, 0, 0, 0 },
    { 220, "demo_word3.PNG", 1, 0, 0, 0, 0 },
    { 221, "demo_word4.PNG", 1, 0, 0, 0, 0 },
    { 222, "demo_word5.PNG", 1, 0, 0, 0, 0 },
    { 223, "demo_word6.PNG", 1, 0, 0, 0, 0 },
    { 224, "demo_word7.PNG", 1, 0, 0, 0, 0 },
    { 225, "demo_word8.PNG", 1, 0, 0, 0, 0 },
    { 226, "demo_predict.PNG", 1, 0, 0, 0, 0 },
    { 227, "demo_tone3.PNG", 1, 0, 0, 0, 0 },
    { 0, 0, 0, 0, 0, 0, 50 },
    // T16
    { 139, "KeyboardTrainer.exe", 1, 0, 1, 0, 0 },
    { 0, 0, 0, 0, 0, 0, 55 },
    // T17
    { 126, "phrases_shape.idx", 0, 0, 0, 1, 0 },
    { 0, 0, 0, 0, 0, 0, 65 },
    // T18
    { 128, "phrases_pinyin.idx", 0, 0, 1, 1, 0 },
    { 129, "phrases_initials.idx", 0, 0, 1, 1, 0 },
    // T19
    { 109, "Lumabook.exe", 1, 0, 1, 0, 0 },
};

TEST(FileTable, EveryRowMatchesTheDesignedTable)
{
    const int expectedRows = sizeof(ExpectedTable) / sizeof(ExpectedTable[0]);
    ASSERT_EQ(expectedRows, FileTableRowCount);
    for (int i = 0; i < expectedRows; i++) {
        const ExpectedRow &expected = ExpectedTable[i];
        const FileTableRow &row = FileTable[i];
        ASSERT_EQ(expected.id, row.ResourceId) << "row " << i;
        if (!expected.id) {
            EXPECT_EQ(expected.position, row.ProgressPosition) << "checkpoint at row " << i;
            continue;
        }
        EXPECT_STREQ(expected.target, row.TargetName) << expected.id;
        EXPECT_EQ(expected.readOnly, (row.Attributes & ReadOnly) != 0) << expected.target;
        EXPECT_EQ(expected.hidden, (row.Attributes & Hidden) != 0) << expected.target;
        EXPECT_EQ(expected.required, row.Failure == Required) << expected.target;
        EXPECT_EQ(expected.conditional, row.Condition == UnlessWordBaseKept) << expected.target;
    }
}

static BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR languages)
{
    ((std::vector<WORD> *)languages)->push_back(language);
    return TRUE;
}

// The entries the wizard reads itself (glyphs, the two licences) and the
// simplified Chinese help pages are language neutral; every other entry is US English.
TEST(PayloadStore, EveryEntryOfTheBuiltProgramHasItsOneLanguage)
{
    const std::set<int> neutral = { 110, 124, 161, 174, 175, 176, 177, 178, 179, 180, 181, 182, 183, 184 };
    const WORD English = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    HMODULE setup = LoadSetupAsData();
    ASSERT_TRUE(setup);
    int neutralEntries = 0, englishEntries = 0;
    for (int i = 0; i < FileTableRowCount; i++) {
        int id = FileTable[i].ResourceId;
        if (!id)
            continue;
        std::vector<WORD> languages;
        EnumResourceLanguagesA(setup, "TEXT", MAKEINTRESOURCEA(id), CollectLanguage, (LONG_PTR)&languages);
        ASSERT_EQ(1u, languages.size()) << "entry " << id;
        EXPECT_EQ(neutral.count(id) ? 0 : English, languages[0]) << "entry " << id;
        neutralEntries += languages[0] == 0;
        englishEntries += languages[0] == English;
    }
    FreeLibrary(setup);
    EXPECT_EQ(14, neutralEntries);
    EXPECT_EQ(PayloadFileCount - 14, englishEntries);
}
