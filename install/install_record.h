// The record an install keeps on the disk while it changes the product, so
// that an install that was stopped (killed, or its power lost) is settled by
// the next run: completed where every new file was whole on the disk, else undone.
#pragma once

enum InstallPhase { PhaseStaging, PhaseSwapping, PhaseCommitted };

// Set when the install made its destination folder (and its "doc" folder),
// which an install undone removes again when they are empty.
extern int DestinationFolderMade;

// The files the install will change, each with whether it was there before.
void BeginInstallRecord();
int AddRecordedFile(const char *path);
// Writes the record with its phase (flushed: it must be on the disk before
// the phase's first change); 0 when it cannot be written.
int WriteInstallRecord(InstallPhase phase, int newFilesFlushed);
int RecordedFileCount();
const char *RecordedFile(int index);
int RecordedFileExisted(int index);   // whether it was there before the install
// Undoes or completes every recorded file, then removes the record.
void UndoRecordedFiles();
int CompleteRecordedFiles();
void EndInstallRecord();

// Settles an install that stopped before its end: the one the last run named
// (a note in this user's temporary folder), and any in the given folder.
// Logs what it did; returns 1 when nothing was left or all was settled.
int SettleStoppedInstall(const char *folder);
