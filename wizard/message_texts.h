// Every message the program shows: a Chinese (GB2312) line and an English line.
#pragma once

struct MessageText {
    const char *Chinese;
    const char *English;
};

extern const MessageText MemoryShortMessage;
extern const MessageText NoAnswerMessage;
extern const MessageText InstallSuccessMessage;
extern const MessageText InstallFailureMessage;
extern const MessageText InstallPathTooLongMessage;
extern const MessageText InstallPathNotFullMessage;
extern const MessageText FolderNameEndMessage;
extern const MessageText OldWordBaseMessage;
extern const MessageText StartMenuFailureMessage;
extern const MessageText NotWritableMessage;
extern const MessageText CancelInstallQuestion;
extern const MessageText InstallCancelledMessage;
// The checks before the install, with their figures or the held file's name
// (and, in English, the programs that hold it).
extern const char TooLittleSpaceChineseFormat[];   // needed MB, free MB
extern const char TooLittleSpaceEnglishFormat[];   // needed MB, free MB
extern const char FileInUseChineseFormat[];        // the file's name
extern const char FileInUseEnglishFormat[];        // the file's name
extern const char HeldByEnglishFormat[];           // the programs, after the text above

// "Cannot create folder!" is one text shared by the wizard's folder message
// (which appends "Please check folder path.") and the Start-menu group folder message.
extern const char CannotCreateFolderText[];
extern const char DestinationFolderChinese[];        // the wizard's destination cannot be created
extern const char DestinationFolderEnglishFormat[];  // "%s Please check folder path."
extern const char GroupFolderChineseFormat[];        // "无法建目录(%s)!" with the full folder path

// The command line's usage, several lines each way, and the line put above it
// when a command line was refused (the English reason names the argument).
extern const char UsageChinese[];
extern const char UsageEnglish[];
extern const char BadCommandLineChinese[];
