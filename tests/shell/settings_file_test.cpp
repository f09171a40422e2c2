// The edit of the installed settings file "uiprefs.ini": the bytes on disk after
// UpdateSettingsFile, and the file's attributes before and after.
#include "shell/settings_file.h"
#include "install/payload_store.h"
#include "startup/shared_state.h"
#include "support/test_paths.h"
#include "support/install_check.h"
#include <gtest/gtest.h>
#include <stdio.h>
#include <string>
#include <vector>

const int SettingsPayloadEntry = 120;
const DWORD ReadOnlyHidden = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
const char PayloadConfigTail[] = "[Config]\r\nUseBmpFont=0\r\n\r\n";

class SettingsFile : public ::testing::Test {
protected:
    std::string dir;
    DWORD error = 0;    // of the last edit

    void SetUp() override
    {
        std::string name = std::string("settings_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        dir = MakeScratchDir(name.c_str());
        lstrcpyA(InstallDir, dir.c_str());
        ChineseDisplayOk = 0;
        ForceLanguage = 0;
    }

    std::string Path() { return dir + "\\uiprefs.ini"; }

    void Write(const std::string &contents, DWORD attributes = ReadOnlyHidden)
    {
        FILE *file = fopen(Path().c_str(), "wb");
        ASSERT_TRUE(file);
        fwrite(contents.data(), 1, contents.size(), file);
        fclose(file);
        ASSERT_TRUE(SetFileAttributesA(Path().c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL));
    }

    std::string Read() { return ReadWholeFile(Path()); }

    // Wine reports archive on every file, so only the bits the edit touches are compared.
    DWORD Attributes()
    {
        DWORD attributes = GetFileAttributesA(Path().c_str());
        return attributes == INVALID_FILE_ATTRIBUTES ? attributes : attributes & (ReadOnlyHidden | FILE_ATTRIBUTE_SYSTEM);
    }

    std::string Update(int displayOk, int language, int edited = 1)
    {
        ChineseDisplayOk = displayOk;
        ForceLanguage = language;
        EXPECT_EQ(edited, UpdateSettingsFile());
        error = GetLastError();
        return Read();
    }

    // The values as the product reads them; 1 when they are the ones written.
    int ReadBack(const char *font, const char *language)
    {
        char readFont[SettingsValueBytes], readLanguage[SettingsValueBytes];
        int asWritten = ReadBackSettings(readFont, readLanguage);
        EXPECT_STREQ(font, readFont);
        EXPECT_STREQ(language, readLanguage);
        return asWritten;
    }
};

static std::string PayloadSettings()
{
    HMODULE setup = LoadSetupAsData();
    std::vector<unsigned char> buffer(1 << 20);
    unsigned long length = buffer.size();
    if (!setup || !InflatePayloadEntry(setup, SettingsPayloadEntry, buffer.data(), &length))
        return std::string();
    FreeLibrary(setup);
    return std::string((const char *)buffer.data(), length);
}

TEST_F(SettingsFile, FreshInstallRecordsBothAnswersAfterTwoEmptyLines)
{
    std::string payload = PayloadSettings();
    ASSERT_GT(payload.size(), sizeof(PayloadConfigTail));
    std::string head = payload.substr(0, payload.size() - (sizeof(PayloadConfigTail) - 1));
    ASSERT_EQ(PayloadConfigTail, payload.substr(head.size())) << "the payload's file ends otherwise";

    Write(payload);
    EXPECT_EQ(head + "[Config]\r\nUseBmpFont=1\r\n\r\n\r\nForceLanguage=2\r\n", Update(0, 2))
        << "display answer NO: bitmap glyphs wanted";
    EXPECT_EQ(1, ReadBack("1", "2"));
    EXPECT_EQ(ReadOnlyHidden, Attributes());

    Write(payload);
    EXPECT_EQ(head + "[Config]\r\nUseBmpFont=0\r\n\r\n\r\nForceLanguage=1\r\n", Update(1, 1))
        << "display answer OK: the digit stays 0";
}

TEST_F(SettingsFile, BothKeysAreRewrittenInPlaceInEitherOrder)
{
    // The scan stops at the second key: the later lines, keys included, stay as they were.
    Write("[A]\r\nx=1\r\n[Config]\r\nUseBmpFont=0\r\nForceLanguage=0\r\nUseBmpFont=7\r\n");
    EXPECT_EQ("[A]\r\nx=1\r\n[Config]\r\nUseBmpFont=1\r\nForceLanguage=2\r\nUseBmpFont=7\r\n", Update(0, 2));

    Write("[Config]\r\nForceLanguage=2\r\nUseBmpFont=1\r\n[Other]\r\nForceLanguage=9\r\n");
    EXPECT_EQ("[Config]\r\nForceLanguage=0\r\nUseBmpFont=0\r\n[Other]\r\nForceLanguage=9\r\n", Update(1, 0));
}

TEST_F(SettingsFile, NeitherHeaderNorKeysAppendsThreeBlocksInOrder)
{
    Write("[UI_STR]\r\nTitle=Lumabook\r\n");
    EXPECT_EQ("[UI_STR]\r\nTitle=Lumabook\r\n\r\n\r\n[Config]\r\n\r\n\r\nUseBmpFont=1\r\n\r\nForceLanguage=1\r\n",
              Update(0, 1));
}

TEST_F(SettingsFile, ReadOnlyHiddenFileIsEditedAndStaysReadOnlyHidden)
{
    Write("[Config]\r\nUseBmpFont=0\r\nForceLanguage=0\r\n", ReadOnlyHidden);
    ASSERT_EQ(ReadOnlyHidden, Attributes());
    EXPECT_EQ("[Config]\r\nUseBmpFont=1\r\nForceLanguage=2\r\n", Update(0, 2));
    EXPECT_EQ(ReadOnlyHidden, Attributes());

    Write("[Config]\r\nUseBmpFont=0\r\nForceLanguage=0\r\n", 0);
    Update(0, 2);
    EXPECT_EQ(ReadOnlyHidden, Attributes()) << "a plain file ends read-only and hidden too";
}

TEST_F(SettingsFile, MissingFileIsNotCreated)
{
    ChineseDisplayOk = 0;
    ForceLanguage = 1;
    EXPECT_EQ(0, UpdateSettingsFile());
    EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, GetLastError());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(Path().c_str()));
}

TEST_F(SettingsFile, KeyOnTheLastLineWithoutLineEnd)
{
    Write("[Config]\r\nForceLanguage=0\r\nUseBmpFont=0");
    EXPECT_EQ("[Config]\r\nForceLanguage=2\r\nUseBmpFont=1", Update(0, 2));

    Write("[Config]\r\nUseBmpFont=0");
    EXPECT_EQ("[Config]\r\nUseBmpFont=1\r\nForceLanguage=1\r\n", Update(0, 1));
}

TEST_F(SettingsFile, KeysInsideLinesLongerThanOneRead)
{
    // A line of 300 characters is read in pieces; the key sits in the second piece
    // and keeps the text before it on its line.
    std::string filler(290, 'a');
    Write("[Config]\r\n" + filler + "UseBmpFont=0\r\nForceLanguage=0\r\nafter=1\r\n");
    EXPECT_EQ("[Config]\r\n" + filler + "UseBmpFont=1\r\nForceLanguage=1\r\nafter=1\r\n", Update(0, 1));

    std::string comment = "Note=" + std::string(260, 'n');
    Write("[Config]\r\n" + comment + "\r\nUseBmpFont=0\r\nForceLanguage=2\r\n");
    EXPECT_EQ("[Config]\r\n" + comment + "\r\nUseBmpFont=0\r\nForceLanguage=0\r\n", Update(1, 0));
}

TEST_F(SettingsFile, ValuesOfAnotherWidthKeepTheNextLines)
{
    Write("[Config]\r\nUseBmpFont=10\r\nNext=a\r\nForceLanguage=\r\nLast=b\r\n");
    EXPECT_EQ("[Config]\r\nUseBmpFont=1\r\nNext=a\r\nForceLanguage=2\r\nLast=b\r\n", Update(0, 2));

    Write("[Config]\r\nUseBmpFont=\r\nForceLanguage=12345\r\n");
    EXPECT_EQ("[Config]\r\nUseBmpFont=0\r\nForceLanguage=1\r\n", Update(1, 1));
}

TEST_F(SettingsFile, KeysBeforeAnyHeaderNeverOverwriteTheLinesAfter)
{
    // Both keys found before "[Config]": nothing is added, no later line is touched.
    Write("[UI_STR]\r\nUseBmpFont=0\r\nForceLanguage=0\r\nTitle=Lumabook\r\nHelp=F1\r\n");
    EXPECT_EQ("[UI_STR]\r\nUseBmpFont=1\r\nForceLanguage=2\r\nTitle=Lumabook\r\nHelp=F1\r\n", Update(0, 2));
    EXPECT_EQ(0, ReadBack("(missing)", "(missing)")) << "the product reads them from [Config] only";
}

// The file is read as bytes: a stray Ctrl-Z (0x1A) ends nothing, and the lines
// after it keep their place while a wider value is rewritten before them.
TEST_F(SettingsFile, StrayControlZIsAByteLikeAnyOther)
{
    Write("[Config]\r\nNote=a\x1A" "b\r\nUseBmpFont=10\r\nLast=b\r\n");
    EXPECT_EQ("[Config]\r\nNote=a\x1A" "b\r\nUseBmpFont=1\r\nLast=b\r\n\r\nForceLanguage=2\r\n", Update(0, 2));
}

// On a full disk the new file cannot be written beside the old one: the old
// file stays byte for byte (read-only and hidden as always) and nothing is left beside it.
TEST_F(SettingsFile, FullDiskLeavesTheOldFileByteForByte)
{
    if (GetFileAttributesA("X:\\") == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no small disk as drive X: (mounting it needs root)";
    dir = "X:\\settings";
    CreateDirectoryA(dir.c_str(), 0);
    lstrcpyA(InstallDir, dir.c_str());
    const std::string old = "[Config]\r\nUseBmpFont=0\r\nNext=a\r\n";
    Write(old, 0);
    ASSERT_TRUE(FillDiskWithFile("X:\\settings_filler.bin"));
    std::string after = Update(0, 2, 0);
    EXPECT_EQ((DWORD)ERROR_DISK_FULL, error);
    DeleteFileA("X:\\settings_filler.bin");
    EXPECT_EQ(old, after);
    EXPECT_EQ(ReadOnlyHidden, Attributes());
    unsigned long long bytes;
    EXPECT_EQ(1, CountFiles(dir, &bytes)) << "a temporary file was left beside it";
    DeleteFileForced(Path().c_str());
    RemoveDirectoryA(dir.c_str());
}
