// Extracting payload entries into files: sizes, damaged entries, attributes,
// files that cannot be written, and paths that do not fit.
#include "install/payload_store.h"
#include "install/install_path.h"
#include "startup/shared_state.h"
#include "support/test_paths.h"
#include "support/held_file.h"
#include "support/install_check.h"
#include "support/import_patch.h"
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

// Entries of this test program's own payload store.
const int CapacityEntry = 1001;        // 4096 bytes
const int EmptyEntry = 1002;
const int DamagedEntry = 1003;
const int TruncatedEntry = 1004;
const int SecondEntry = 1005;          // 280 bytes
const int LargerThanSmallDiskEntry = 1006;   // 3,200,000 bytes
const int MissingEntry = 1999;
const unsigned long CapacityEntryBytes = 4096;
const DWORD ReadOnlyHidden = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;

class PayloadExtract : public ::testing::Test {
protected:
    std::vector<unsigned char> buffer;
    std::string dir;
    std::string scratchName;

    void SetUp() override
    {
        AppInstance = GetModuleHandleA(0);
        // ctest may run this fixture's tests side by side: each gets its own folder.
        scratchName = std::string("extract_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        dir = MakeScratchDir(scratchName.c_str());
        lstrcpyA(InstallDir, dir.c_str());
        buffer.assign(8192, 0xEE);
        ASSERT_TRUE(ImitateWindows(1));   // Windows' own refusals, which Wine as root spares us
    }

    std::string PathOf(const char *name) { return dir + "\\" + name; }

    std::string Contents(const char *name) { return ReadWholeFile(PathOf(name)); }

    void MakeFile(const char *name, const char *contents, DWORD attributes)
    {
        FILE *file = fopen(PathOf(name).c_str(), "wb");
        ASSERT_TRUE(file);
        fputs(contents, file);
        fclose(file);
        if (attributes) {
            ASSERT_TRUE(SetFileAttributesA(PathOf(name).c_str(), attributes));
        }
    }

    // Wine reports archive on every file, so only the bits we set are compared.
    DWORD AttributesOf(const char *name)
    {
        DWORD attributes = GetFileAttributesA(PathOf(name).c_str());
        return attributes == INVALID_FILE_ATTRIBUTES ? attributes
             : attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    }

    int Extract(int id, const char *name, unsigned long capacity, int readOnly, int hidden)
    {
        return ExtractPayloadFile(id, name, buffer.data(), capacity, readOnly, hidden);
    }

    void TearDown() override
    {
        ImitateWindows(0);
        MakeScratchDir(scratchName.c_str());
    }
};

TEST_F(PayloadExtract, EntryOfExactlyTheCapacitySucceeds)
{
    ASSERT_EQ(1, Extract(CapacityEntry, "exact.bin", CapacityEntryBytes, 0, 0));
    std::string data = Contents("exact.bin");
    ASSERT_EQ(CapacityEntryBytes, data.size());
    EXPECT_EQ(0, memcmp(data.data(), buffer.data(), CapacityEntryBytes));
}

TEST_F(PayloadExtract, ExtractionFailsOneByteOverCapacityAndLeavesTheTarget)
{
    MakeFile("target.bin", "previous installation", FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(0, Extract(CapacityEntry, "target.bin", CapacityEntryBytes - 1, 0, 0));
    EXPECT_EQ(ErrorPayloadEntryDamaged, GetLastError()) << "a cause the log can name";
    EXPECT_EQ("previous installation", Contents("target.bin"));
    EXPECT_EQ((DWORD)FILE_ATTRIBUTE_READONLY, AttributesOf("target.bin"));
}

TEST_F(PayloadExtract, DamagedTruncatedAndMissingEntriesWriteNothing)
{
    MakeFile("target.bin", "previous installation", 0);
    for (int entry : { DamagedEntry, TruncatedEntry, MissingEntry }) {
        EXPECT_EQ(0, Extract(entry, "target.bin", 8192, 1, 1));
        EXPECT_EQ(ErrorPayloadEntryDamaged, GetLastError()) << entry;
    }
    EXPECT_EQ("previous installation", Contents("target.bin"));
    EXPECT_EQ(0u, AttributesOf("target.bin"));
    EXPECT_EQ(0, Extract(DamagedEntry, "new.bin", 8192, 0, 0));
    EXPECT_EQ("<missing>", Contents("new.bin"));
}

TEST_F(PayloadExtract, EmptyEntryMakesAnEmptyFile)
{
    MakeFile("empty.bin", "old contents", 0);
    ASSERT_EQ(1, Extract(EmptyEntry, "empty.bin", 8192, 0, 1));
    EXPECT_EQ("", Contents("empty.bin"));
    EXPECT_EQ((DWORD)FILE_ATTRIBUTE_HIDDEN, AttributesOf("empty.bin"));
}

TEST_F(PayloadExtract, ReadOnlyHiddenTargetIsReplacedWithTheAskedAttributes)
{
    struct { int readOnly, hidden; DWORD expected; } cases[] = {
        { 0, 0, 0 },
        { 1, 0, FILE_ATTRIBUTE_READONLY },
        { 0, 1, FILE_ATTRIBUTE_HIDDEN },
        { 1, 1, ReadOnlyHidden },
    };
    for (const auto &c : cases) {
        MakeFile("replaced.txt", "older", 0);
        ASSERT_TRUE(SetFileAttributesA(PathOf("replaced.txt").c_str(), ReadOnlyHidden));
        ASSERT_EQ(1, Extract(SecondEntry, "replaced.txt", 8192, c.readOnly, c.hidden));
        EXPECT_EQ(280u, Contents("replaced.txt").size());
        EXPECT_EQ(c.expected, AttributesOf("replaced.txt")) << c.readOnly << c.hidden;
    }
}

TEST_F(PayloadExtract, OtherAttributeBitsAreKeptOnEveryWrite)
{
    struct { int readOnly, hidden; DWORD expected; } cases[] = {
        { 0, 0, FILE_ATTRIBUTE_SYSTEM },
        { 1, 0, FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY },
        { 0, 1, FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN },
        { 1, 1, FILE_ATTRIBUTE_SYSTEM | ReadOnlyHidden },
    };
    for (const auto &c : cases) {
        MakeFile("system.dat", "older", 0);
        ASSERT_TRUE(SetFileAttributesA(PathOf("system.dat").c_str(), FILE_ATTRIBUTE_SYSTEM | ReadOnlyHidden));
        ASSERT_EQ(1, Extract(SecondEntry, "system.dat", 8192, c.readOnly, c.hidden));
        EXPECT_EQ(c.expected, AttributesOf("system.dat")) << c.readOnly << c.hidden;
        SetFileAttributesA(PathOf("system.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(PayloadExtract, SameEntryTwiceGivesTheSameFile)
{
    ASSERT_EQ(1, Extract(SecondEntry, "twice.txt", 8192, 1, 1));
    std::string first = Contents("twice.txt");
    ASSERT_EQ(1, Extract(SecondEntry, "twice.txt", 8192, 1, 1));
    EXPECT_EQ(first, Contents("twice.txt"));
    EXPECT_EQ(ReadOnlyHidden, AttributesOf("twice.txt"));
}

// A running program holding its file open without sharing makes the replace
// fail: the old file stays as it was, hidden attribute included, and the new
// contents written beside it are gone again.
TEST_F(PayloadExtract, TargetHeldOpenByAnotherProgramFailsAndStaysAsItWas)
{
    MakeFile("locked.exe", "running program", FILE_ATTRIBUTE_HIDDEN);
    HeldFile held;
    ASSERT_TRUE(HoldFileInAnotherProcess(PathOf("locked.exe"), &held));
    EXPECT_EQ(0, Extract(SecondEntry, "locked.exe", 8192, 1, 0));
    ReleaseHeldFile(&held);
    EXPECT_EQ("running program", Contents("locked.exe"));
    EXPECT_EQ((DWORD)FILE_ATTRIBUTE_HIDDEN, AttributesOf("locked.exe"));
    unsigned long long bytes;
    EXPECT_EQ(1, CountFiles(dir, &bytes)) << "a temporary file was left beside it";
}

// Windows 95, 98 and ME: the old file goes aside, the new one in. A failure at
// the flush or either rename leaves the old file whole with its attributes,
// nothing beside it (an aside file left by a power cut included) and the error.
TEST_F(PayloadExtract, ReplaceWithoutMoveFileExLeavesTheOldFileWholeAtEveryFailure)
{
    const DWORD oldAttributes = ReadOnlyHidden | FILE_ATTRIBUTE_SYSTEM;
    for (int failingStep : { 0, 1, 2, 3 }) {   // none, the flush, the rename aside, the rename in
        SCOPED_TRACE(failingStep);
        ASSERT_TRUE(WriteWholeFile(PathOf("old.dat"), "older", oldAttributes));
        ASSERT_TRUE(WriteWholeFile(PathOf("old.dat~old"), "left by a power cut", ReadOnlyHidden));
        ASSERT_TRUE(ImitateWindows9x(1, failingStep));
        int written = Extract(SecondEntry, "old.dat", 8192, 1, 0);
        DWORD error = GetLastError();
        ImitateWindows9x(0);
        EXPECT_EQ(failingStep == 0, written);
        EXPECT_EQ(failingStep ? (DWORD)ERROR_WRITE_FAULT : error, error) << "the step's error is kept for the log";
        EXPECT_EQ(failingStep ? "older" : std::string((const char *)buffer.data(), 280), Contents("old.dat"));
        EXPECT_EQ(failingStep ? oldAttributes : FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY, AttributesOf("old.dat"));
        unsigned long long bytes;
        EXPECT_EQ(1, CountFiles(dir, &bytes)) << "a temporary or aside file was left beside it";
    }
}

// A close that fails (a share whose server went away) or a write that takes
// less than asked yet reports success: the old file stays whole, nothing
// beside it, and the Windows error is kept for the log.
TEST_F(PayloadExtract, FailedCloseOrShortWriteLeavesTheOldFileWhole)
{
    const struct { FileFault fault; DWORD error; } cases[] = {
        { CloseFails, ERROR_NETNAME_DELETED }, { WriteShortButReportsWhole, ERROR_DISK_FULL } };
    for (const auto &c : cases) {
        ASSERT_TRUE(WriteWholeFile(PathOf("old.dat"), "older", ReadOnlyHidden));
        ASSERT_TRUE(ImitateWindows(1, c.fault));
        int written = Extract(SecondEntry, "old.dat", 8192, 1, 0);
        DWORD error = GetLastError();
        ImitateWindows(1);
        EXPECT_EQ(0, written) << c.fault;
        EXPECT_EQ(c.error, error);
        EXPECT_EQ("older", Contents("old.dat"));
        EXPECT_EQ(ReadOnlyHidden, AttributesOf("old.dat"));
        unsigned long long bytes;
        EXPECT_EQ(1, CountFiles(dir, &bytes)) << "a temporary file was left beside it";
    }
}

// Drive X: is a 2 MiB disk; a 3.2 MB file cannot be written whole there. The
// old file stays whole, with its attributes, and no temporary file is left.
TEST_F(PayloadExtract, FullDiskFailsAndLeavesTheOldFileWhole)
{
    if (GetFileAttributesA("X:\\") == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no small disk as drive X: (mounting it needs root)";
    buffer.resize(4 << 20);
    CreateDirectoryA("X:\\extract", 0);
    lstrcpyA(InstallDir, "X:\\extract");
    ASSERT_TRUE(WriteWholeFile("X:\\extract\\full.bin", "previous installation", ReadOnlyHidden));
    EXPECT_EQ(0, Extract(LargerThanSmallDiskEntry, "full.bin", buffer.size(), 0, 0));
    EXPECT_EQ("previous installation", ReadWholeFile("X:\\extract\\full.bin"));
    EXPECT_EQ(ReadOnlyHidden, InstalledAttributes("X:\\extract\\full.bin"));
    unsigned long long bytes;
    EXPECT_EQ(1, CountFiles("X:\\extract", &bytes)) << "a temporary file was left beside it";
    DeleteFileForced("X:\\extract\\full.bin");
    RemoveDirectoryA("X:\\extract");
}

// The file that fills drive X: to the last byte.
static const char FillerPath[] = "X:\\filler.bin";

// A 280-byte entry fits the stream's buffer, so on a full disk the write call
// takes every byte and only emptying the buffer at the end fails. (Wine's
// fclose does not report that failure, so a check of fclose alone misses it.)
TEST_F(PayloadExtract, SmallFileOnAFullDiskFailsThoughTheWriteCallTookIt)
{
    if (GetFileAttributesA("X:\\") == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no small disk as drive X: (mounting it needs root)";
    lstrcpyA(InstallDir, "X:");
    DeleteFileForced("X:\\small.txt");
    DeleteFileForced("X:\\probe.txt");
    ASSERT_TRUE(FillDiskWithFile(FillerPath));
    FILE *probe = fopen("X:\\probe.txt", "wb");
    ASSERT_TRUE(probe);
    std::string text(280, 'x');
    size_t probeWritten = fwrite(text.data(), 1, text.size(), probe);
    int probeFlushed = fflush(probe) == 0;
    fclose(probe);
    int result = Extract(SecondEntry, "small.txt", 8192, 1, 1);
    DeleteFileForced("X:\\probe.txt");
    DeleteFileForced("X:\\small.txt");
    DeleteFileForced(FillerPath);
    ASSERT_EQ(280u, probeWritten) << "the write call itself should take the bytes";
    ASSERT_EQ(0, probeFlushed) << "emptying the stream's buffer should be where the full disk shows";
    EXPECT_EQ(0, result);
}

TEST_F(PayloadExtract, TargetInAMissingFolderFails)
{
    lstrcpyA(InstallDir, (dir + "\\no such folder").c_str());
    EXPECT_EQ(0, Extract(SecondEntry, "file.txt", 8192, 0, 0));
}

// The directory, a backslash and the name must fit a 260-byte path with its terminator.
TEST_F(PayloadExtract, InstallPathThatDoesNotFitIsRefused)
{
    std::string longDir = "C:\\" + std::string(250, 'd');
    lstrcpyA(InstallDir, longDir.c_str());
    char path[MAX_PATH + 16];
    memset(path, 'x', sizeof(path));
    std::string fits(MAX_PATH - 1 - longDir.size() - 1, 'n');
    EXPECT_EQ(1, BuildInstallPath(path, fits.c_str()));
    EXPECT_EQ((size_t)MAX_PATH - 1, strlen(path));
    std::string oneTooMany = fits + "n";
    memset(path, 'x', sizeof(path));
    EXPECT_EQ(0, BuildInstallPath(path, oneTooMany.c_str()));
    EXPECT_EQ('x', path[MAX_PATH]);
    EXPECT_EQ(0, Extract(SecondEntry, oneTooMany.c_str(), 8192, 0, 0));
    EXPECT_EQ((DWORD)ERROR_FILENAME_EXCED_RANGE, GetLastError());
}

TEST_F(PayloadExtract, DeleteFileForcedRemovesReadOnlyHiddenFiles)
{
    MakeFile("cache.dic0101", "stale", ReadOnlyHidden);
    EXPECT_EQ(0, DeleteFileForced(PathOf("cache.dic0101").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(PathOf("cache.dic0101").c_str()));
    EXPECT_EQ(-1, DeleteFileForced(PathOf("cache.dic0101").c_str()));
}

TEST_F(PayloadExtract, ClearFileAttributesReportsWhetherAnythingChanged)
{
    MakeFile("settings.ini", "[Config]", FILE_ATTRIBUTE_SYSTEM | ReadOnlyHidden);
    EXPECT_EQ(1, ClearFileAttributes(PathOf("settings.ini").c_str(), 0, 1));
    EXPECT_EQ((DWORD)(FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY), AttributesOf("settings.ini"));
    EXPECT_EQ(0, ClearFileAttributes(PathOf("settings.ini").c_str(), 0, 1));
    EXPECT_EQ(1, ClearFileAttributes(PathOf("settings.ini").c_str(), 1, 1));
    EXPECT_EQ((DWORD)FILE_ATTRIBUTE_SYSTEM, AttributesOf("settings.ini"));
    EXPECT_EQ(0, ClearFileAttributes(PathOf("no such file").c_str(), 1, 1));
    SetFileAttributesA(PathOf("settings.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
}
