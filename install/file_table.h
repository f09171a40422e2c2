// The install file table: which payload entry becomes which file, with its attributes and failure rule.
#pragma once

// Attribute flags a row asks for once its file is written.
enum FileTableAttributes { Plain = 0, ReadOnly = 1, Hidden = 2 };

// Whether a failing row stops the installation.
enum FileTableFailure { Optional = 0, Required = 1 };

// Whether a row is always extracted or only when the existing word base is replaced.
enum FileTableCondition { Always = 0, UnlessWordBaseKept = 1 };

// A row either names a payload entry (ResourceId nonzero) or is a progress
// checkpoint (ResourceId 0, position in ProgressPosition).
struct FileTableRow {
    int ResourceId;
    const char *TargetName;
    int Attributes;
    int Failure;
    int Condition;
    int ProgressPosition = 0;
};

// Room for the rows and checkpoints of the table, for arrays kept beside it.
const int FileTableRowLimit = 128;

extern const FileTableRow FileTable[];
extern const int FileTableRowCount;

// The number of payload rows (checkpoints not counted).
const int PayloadFileCount = 106;
