// What an installation left on disk, checked against the product folder the payload was packed from.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

const DWORD ReadOnlyAndHidden = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
const int ProductFileCount = 106;

std::string ProductDir();                       // the folder the payload was packed from
std::vector<std::string> ProductFileNames();    // its files, by name
std::string ReadWholeFile(const std::string &path);   // "<missing>" when it cannot be read
int WriteWholeFile(const std::string &path, const std::string &data, DWORD attributes);
DWORD InstalledAttributes(const std::string &path);   // read-only and hidden bits, or -1 when missing
DWORD ExpectedAttributes(const std::string &name);    // the bits a fresh install gives that file
int FileIsPresent(const std::string &path);
int CountFiles(const std::string &dir, unsigned long long *bytes);

// Differences between the install directory and the product folder, one line each
// ("" when every file is there, byte-identical, with the attributes of its row,
// and no other file lies beside them); names in skip are not compared.
std::string CompareWithProduct(const std::string &installDir, const std::vector<std::string> &skip);

// Every file of a folder, by name, with its read-only and hidden bits and its
// contents' CRC-32, one line each: two equal snapshots mean an unchanged folder.
std::string FolderSnapshot(const std::string &dir);

// Fills a disk to its last byte with one file at fillerPath; 0 when it cannot be made.
int FillDiskWithFile(const std::string &fillerPath);

// A copy of the setup program, in folder, with one payload entry replaced.
std::string CopySetupWithEntry(const std::string &folder, int id, const void *data, DWORD size);
