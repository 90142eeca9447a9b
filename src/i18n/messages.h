#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// The messages the program shows in message boxes, each under a key of the
// language files. The built-in text (Simplified Chinese) is shown when no
// language file applies or the file lacks the key. "%1", "%2" .. stand for
// the message's arguments in order.
namespace korvane::i18n {

enum class Message : std::uint8_t {
  WriteFailedMode,         // %1: the mode number
  WriteFailedMacro,        // %1: the macro number, counted from 1
  WriteFailed,             // a write to the mouse failed; no single write to blame
  UnableToWrite,           // %1: the file
  KeyboardUnavailable,     // a recording could not take the keyboard
  WriteRefused,            // %1: the file, %2: the system's reason
  FileTooLarge,            // %1: the file, %2: the largest size read ("1 MiB")
  StartFolderMissing,      // %1: the folder
  NoMouse,                 // no mouse is connected
  WriteProgress,           // %1 of %2 writes done
  ReadFailedMode,          // %1: the mode number
  ModeDiffers,             // %1 mode, %2 field, %3 stored, %4 in the mouse
  ModesMatch,              // the mouse holds the stored modes
  NotWrittenDisconnected,  // %1: the list of writes
  UnwrittenMode,           // %1: the mode number
  UnwrittenAllMacros,
  UnwrittenMacrosFrom,  // %1, %2: the first and last macro, counted from 1
  UnwrittenLastMacro,   // %1: the macro number, counted from 1
  UnwrittenPointerSettings,
  ListNext,            // joins the items of a list but the last
  ListLast,            // joins the last item of a list
  DeviceNotConnected,  // %1: the reason
  DeviceNoFeatureReport,
  DeviceFeatureReportTooShort,     // %1: declared, %2: needed
  DeviceOutputReportLength,        // %1: declared, %2: needed
  DeviceVersionReplyWrongCommand,  // %1: the echoed byte, %2: the command, both in hex
  DeviceVersionReplyTooShort,      // %1: received, %2: needed
  FirmwareReadFailed,              // a reconnect's version read failed during Apply
  UnableToRead,                    // %1: the file
  UnableToList,                    // %1: the folder
  UnableToDelete,                  // %1: the file
  NotMacroFile,                    // %1: the file chosen for loading
  MacroNotCompiled,                // %1: the macro, %2: what stopped it
  MacroTooLong,                    // %1: the macro, %2: bytes needed, %3: bytes of a block
  MacroNameInvalid,                // a macro name no file name can hold
  UnableToCreateFolder,            // %1: the folder
  MacroButtonWithoutBlock,  // %1 mode, %2 button, %3 macro, %4 its number in the list, %5 blocks
  MacroMeter,               // %1 bytes used of %2
  MacrosCompiled,           // %1 macros, %2 bytes of the largest, %3 bytes of a block
  NoMacrosCompiled,         // an empty library: the blocks are cleared
  MacroDoesNotFitShort,     // %1 the macro, %2 bytes needed, %3 bytes of a block
  MacroNotCompiledShort,    // %1 the macro
  MacroLibraryFull,         // %1 the macros the mouse holds
  RecordingEndedAtLimit,    // %1 the key releases a recording takes
  NoCurrentMacro,           // an edit with no macro selected or created
  MacroFolderMissing,       // %1: the macro folder named on the command line
  FailedAndNotWritten,      // %1: what failed, %2: the list of writes not made
  RunningCopyNoAnswer,      // a running copy did not answer a later start
  MacroNameEmpty,           // the name dialog's name is empty
  MacroNameExists,          // the library holds the name already
  KeptUnreadable,           // %1: the file that was not read and so not replaced
  KeptTooLarge,             // %1: the file, %2: the largest size read ("1 MiB")
  KeptNotOurs,              // %1: the file, %2: the section it lacks
  KeptUndecipherable,       // %1: the macro file whose lines did not all decipher
};

struct MessageRow {
  Message id;
  std::string_view key;
  std::string_view builtIn;
};

// One row a message, in the order of the enumeration.
// clang-format off
inline constexpr auto kMessages = std::to_array<MessageRow>({
    {Message::WriteFailedMode, "Msg_WriteFailedMode", "设置未能写入鼠标(模式 %1)。"},
    {Message::WriteFailedMacro, "Msg_WriteFailedMacro", "设置未能写入鼠标(宏 %1)。"},
    {Message::WriteFailed, "Msg_WriteFailed", "设置未能写入鼠标。"},
    {Message::UnableToWrite, "Msg_UnableToWrite", "无法写入 %1"},
    {Message::KeyboardUnavailable, "Msg_KeyboardUnavailable", "无法独占键盘(可能被其他程序占用)，录制未开始。"},
    {Message::WriteRefused, "Msg_WriteRefused", "无法写入 %1：%2"},
    {Message::FileTooLarge, "Msg_FileTooLarge", "文件 %1 大于 %2，未读取。"},
    {Message::StartFolderMissing, "Msg_StartFolderMissing", "找不到启动文件夹 %1"},
    {Message::NoMouse, "Msg_NoMouse", "未找到鼠标。"},
    {Message::WriteProgress, "Msg_WriteProgress", "正在写入鼠标 %1/%2"},
    {Message::ReadFailedMode, "Msg_ReadFailedMode", "未能从鼠标读取模式 %1。"},
    {Message::ModeDiffers, "Msg_ModeDiffers", "模式 %1 %2：已保存 %3，鼠标中 %4"},
    {Message::ModesMatch, "Msg_ModesMatch", "鼠标中的五个模式与保存的设置一致。"},
    {Message::NotWrittenDisconnected, "Msg_NotWrittenDisconnected", "%1未写入：鼠标已断开连接。"},
    {Message::UnwrittenMode, "Msg_UnwrittenMode", "模式 %1"},
    {Message::UnwrittenAllMacros, "Msg_UnwrittenAllMacros", "宏"},
    {Message::UnwrittenMacrosFrom, "Msg_UnwrittenMacrosFrom", "宏 %1 至 %2"},
    {Message::UnwrittenLastMacro, "Msg_UnwrittenLastMacro", "宏 %1"},
    {Message::UnwrittenPointerSettings, "Msg_UnwrittenPointerSettings", "指针设置"},
    {Message::ListNext, "Msg_ListNext", "%1、%2"},
    {Message::ListLast, "Msg_ListLast", "%1和%2"},
    {Message::DeviceNotConnected, "Msg_DeviceNotConnected", "找到了鼠标，但未连接：%1"},
    {Message::DeviceNoFeatureReport, "Msg_DeviceNoFeatureReport", "它没有用于命令的特征报告。"},
    {Message::DeviceFeatureReportTooShort, "Msg_DeviceFeatureReportTooShort", "它的特征报告只有 %1 字节，命令需要 %2 字节。"},
    {Message::DeviceOutputReportLength, "Msg_DeviceOutputReportLength", "它的输出报告为 %1 字节，设置需要 %2 字节。"},
    {Message::DeviceVersionReplyWrongCommand, "Msg_DeviceVersionReplyWrongCommand", "它对固件版本命令 %2 的回复带有命令 %1。"},
    {Message::DeviceVersionReplyTooShort, "Msg_DeviceVersionReplyTooShort", "它对固件版本命令的回复只有 %1 字节，需要 %2 字节。"},
    {Message::FirmwareReadFailed, "Msg_FirmwareReadFailed", "读取鼠标固件版本失败。"},
    {Message::UnableToRead, "Msg_UnableToRead", "无法读取 %1"},
    {Message::UnableToList, "Msg_UnableToList", "无法列出 %1 中的文件"},
    {Message::UnableToDelete, "Msg_UnableToDelete", "无法删除 %1"},
    {Message::NotMacroFile, "Msg_NotMacroFile", "只能载入宏文件(*.spm)：%1"},
    {Message::MacroNotCompiled, "Msg_MacroNotCompiled", "宏“%1”无法编译：%2"},
    {Message::MacroTooLong, "Msg_MacroTooLong", "宏“%1”超出鼠标的 %3 字节宏空间(需要 %2 字节)。"},
    {Message::MacroNameInvalid, "Msg_MacroNameInvalid", "文件名无效"},
    {Message::UnableToCreateFolder, "Msg_UnableToCreateFolder", "无法创建文件夹 %1"},
    {Message::MacroButtonWithoutBlock, "Msg_MacroButtonWithoutBlock", "模式 %1 的按键 %2 播放宏“%3”(列表第 %4 个)，但鼠标只能保存 %5 个宏，未写入任何设置。"},
    {Message::MacroMeter, "Msg_MacroMeter", "%1 / %2 字节"},
    {Message::MacrosCompiled, "Msg_MacrosCompiled", "已编译 %1 个宏，最大 %2 / %3 字节"},
    {Message::NoMacrosCompiled, "Msg_NoMacrosCompiled", "没有宏，鼠标的宏将被清空"},
    {Message::MacroDoesNotFitShort, "Msg_MacroDoesNotFitShort", "“%1”放不下：%2 / %3 字节"},
    {Message::MacroNotCompiledShort, "Msg_MacroNotCompiledShort", "“%1”无法编译"},
    {Message::MacroLibraryFull, "Msg_MacroLibraryFull", "鼠标只能保存 %1 个宏，请先删除一个再载入。"},
    {Message::RecordingEndedAtLimit, "Msg_RecordingEndedAtLimit", "录制已结束：一个宏最多录制 %1 次按键松开。"},
    {Message::NoCurrentMacro, "Msg_NoCurrentMacro", "请先在列表中选择一个宏，或用“新建”创建一个。"},
    {Message::MacroFolderMissing, "Msg_MacroFolderMissing", "找不到宏文件夹 %1，未执行任何操作。"},
    {Message::FailedAndNotWritten, "Msg_FailedAndNotWritten", "%1%2未写入。"},
    {Message::RunningCopyNoAnswer, "Msg_RunningCopyNoAnswer", "KorvaneDriver 已在运行，但没有响应；本次启动已结束。"},
    {Message::MacroNameEmpty, "Msg_MacroNameEmpty", "文件名不能为空"},
    {Message::MacroNameExists, "Msg_MacroNameExists", "该文件名已存在"},
    {Message::KeptUnreadable, "Msg_KeptUnreadable", "无法读取 %1，因此没有覆盖它。"},
    {Message::KeptTooLarge, "Msg_KeptTooLarge", "文件 %1 大于 %2，未读取，因此没有覆盖它。"},
    {Message::KeptNotOurs, "Msg_KeptNotOurs", "%1 中没有 [%2] 节，不是本程序的文件，因此没有写入。"},
    {Message::KeptUndecipherable, "Msg_KeptUndecipherable", "%1 无法解密，因此没有覆盖它。"},
});
// clang-format on

const MessageRow& messageRow(Message id);

// The text with "%1" .. "%9" replaced by the arguments; a placeholder without
// an argument stays as it is.
std::string fillMessage(std::string_view text, std::initializer_list<std::string_view> args);

}  // namespace korvane::i18n
