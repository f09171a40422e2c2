// Every message the program shows, Chinese first and English second, exactly as
// the user reads them. The Chinese lines are GB2312 bytes in the program.
#include "wizard/message_texts.h"

const MessageText MemoryShortMessage = {
    "内存不够。安装无法继续。", "Memory not enough!" };
const MessageText NoAnswerMessage = {
    "请您回答提问.", "Please select a choice." };
const MessageText InstallSuccessMessage = {
    "祝贺您：安装顺利完成！", "Congratulations! Installation Success!" };
const MessageText InstallFailureMessage = {
    "安装失败！请检查一下系统后，再重新安装。谢谢！",
    "Installation failed. Please check your system (quit all Zenpo applications) and try again." };
// The destination, a backslash and the longest target name must fit a 260-byte path.
const MessageText InstallPathTooLongMessage = {
    "安装路径太长。请选择较短的路径。", "Install path is too long. Please choose a shorter folder." };
// A destination without its drive (or server and share) would follow the current folder.
const MessageText InstallPathNotFullMessage = {
    "安装路径必须是完整路径(如 C:\\Lumabook)。", "The install folder must be a full path, such as C:\\Lumabook." };
// Windows would drop the blank or dot from the folder but not from the files inside it.
const MessageText FolderNameEndMessage = {
    "安装路径中的目录名不能以空格或句点结尾。", "A folder name in the install path cannot end in a blank or a dot." };
const MessageText OldWordBaseMessage = {
    "安装目录有老词库。是否安装新词库(会冲掉老词库)?",
    "Old CiKu (Word Base) is detected. Replace it with new CiKu?" };
const MessageText StartMenuFailureMessage = {
    "无法在 Start 菜单中为本程序建立一个条目。很抱歉，只好请您以后自已建立了。",
    "Failed to create an entry on Start Menu." };

// A standard user's destination under Program Files, for example.
const MessageText NotWritableMessage = {
    "您无权写入此安装目录。请选择其他目录，或以管理员身份运行安装程序。",
    "You may not write to this install folder. Choose another folder, or run setup as an administrator." };
// Cancel during the install: the question opens on No, which goes on.
const MessageText CancelInstallQuestion = {
    "是否取消安装？已改变的文件都将恢复原状。", "Cancel the installation? Every file is put back as it was." };
const MessageText InstallCancelledMessage = {
    "安装已取消，原有文件没有改变。", "Installation cancelled. Nothing was changed." };
const char TooLittleSpaceChineseFormat[] = "磁盘空间不够：安装需要 %lu MB，只有 %lu MB 可用。请选择其他目录。";
const char TooLittleSpaceEnglishFormat[] =
    "Not enough disk space: the install needs %lu MB, only %lu MB are free. Please choose another folder.";
const char FileInUseChineseFormat[] = "文件 %s 正被其他程序使用。请关闭该程序，然后按“重试”。";
const char FileInUseEnglishFormat[] = "%s is in use by another program. Close it, then press Retry.";
const char HeldByEnglishFormat[] = " (%s)";

const char CannotCreateFolderText[] = "Cannot create folder!";
const char DestinationFolderChinese[] =
    "无法建目录。请检查所列目录是否合法（注意：子目录只能在已存在的目录下建）。";
const char DestinationFolderEnglishFormat[] = "%s Please check folder path.";
const char GroupFolderChineseFormat[] = "无法建目录(%s)!";

// The command line's usage: one line per switch, each way, then the exit codes.
const char UsageChinese[] =
    "用法： setup.exe [/S] [/LOG=文件] [/LANG=EN|SC|TC] [/DISPLAYOK=1|0]\n"
    "           [/NOICON] [/REPLACEWORDBASE] [/D=目录]\n"
    "/S  无人值守安装：不显示向导和消息，以退出码报告结果。\n"
    "/D=目录  安装目录，须是完整路径，放在最后，可含空格。\n"
    "/LANG=EN|SC|TC  界面语言：英文、简体中文、繁体中文。\n"
    "/DISPLAYOK=1|0  本系统能否正确显示中文。\n"
    "/NOICON  不建立桌面图标。\n"
    "/REPLACEWORDBASE  替换已有的词库（否则保留老词库）。\n"
    "/LOG=文件  把安装过程写入日志文件。\n"
    "退出码：0 安装成功，1 程序数据损坏，2 命令行有误，\n"
    "3 目录不可用，4 安装失败，5 安装成功但日志未能写完，\n"
    "6 磁盘空间不够，7 另一个安装程序正在运行，\n"
    "8 安装成功但开始菜单或桌面的快捷方式未能建立，9 文件被其他程序占用。";
const char UsageEnglish[] =
    "Usage: setup.exe [/S] [/LOG=file] [/LANG=EN|SC|TC] [/DISPLAYOK=1|0]\n"
    "            [/NOICON] [/REPLACEWORDBASE] [/D=folder]\n"
    "/S  unattended install: no wizard, no message; the exit code tells the result\n"
    "/D=folder  the destination, a full path; it comes last and may hold spaces\n"
    "/LANG=EN|SC|TC  interface language: English, Simplified or Traditional Chinese\n"
    "/DISPLAYOK=1|0  whether this system displays Chinese correctly\n"
    "/NOICON  no desktop link\n"
    "/REPLACEWORDBASE  replace an existing word base (else it is kept)\n"
    "/LOG=file  write a plain-text log of the install\n"
    "Exit codes: 0 installed, 1 program data damaged, 2 bad command line,\n"
    "3 destination refused, 4 install failed, 5 as 0 but the log is incomplete,\n"
    "6 not enough disk space, 7 another setup is running,\n"
    "8 installed, but a Start-menu or desktop link was not made, 9 a file is in use";
const char BadCommandLineChinese[] = "命令行有误，原因见英文第一行。";
