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
const MessageText OldWordBaseMessage = {
    "安装目录有老词库。是否安装新词库(会冲掉老词库)?",
    "Old CiKu (Word Base) is detected. Replace it with new CiKu?" };
const MessageText StartMenuFailureMessage = {
    "无法在 Start 菜单中为本程序建立一个条目。很抱歉，只好请您以后自已建立了。",
    "Failed to create an entry on Start Menu." };

const char CannotCreateFolderText[] = "Cannot create folder!";
const char DestinationFolderChinese[] =
    "无法建目录。请检查所列目录是否合法（注意：子目录只能在已存在的目录下建）。";
const char DestinationFolderEnglishFormat[] = "%s Please check folder path.";
const char GroupFolderChineseFormat[] = "无法建目录(%s)!";
