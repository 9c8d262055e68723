#pragma once

#include "text/Messages.h"
#include "ui/Dialogs.h"

#include <string_view>

// Every message box of the document, label and backup commands, as one table: its title and its
// style. The words come from the catalogue in text/Messages.h, which quorvel-notes shares; titles
// are UTF-8 here and meet the dialogs in the active code page.
namespace quorvel::workspace {

using text::MessageId;

// One row of the window's table, a constant the table owns for the whole run.
struct MessageEntry {
    MessageId id;
    std::string_view title; // "" means the default title "信息："
    ui::MessageStyle style;
};

const MessageEntry& MessageOf(MessageId id);

// Shows the message (with inserted between its two parts for a confirmation); its answer.
ui::MessageAnswer ShowMessage(ui::Dialogs& dialogs, MessageId id, const Text& inserted = {});

// Shows why a label the document format cannot hold is refused; true when it was.
bool RefusesInvalidLabel(ui::Dialogs& dialogs, const Text& label);

// The input prompts and dialog titles.
inline constexpr std::string_view kNewDocumentTitle = "新建文档";
inline constexpr std::string_view kOpenTitle = "打开";
inline constexpr std::string_view kSaveAsTitle = "另存为";
inline constexpr std::string_view kSaveLabelAsTitle = "另存标签";
inline constexpr std::string_view kNewLabelPrompt = "输入新标签：";
inline constexpr std::string_view kLabelNamePrompt = "输入此信息的标签名称：";
inline constexpr std::string_view kSaveLabelAsPrompt = "输入此信息标签名称：";
inline constexpr std::string_view kNewLabelNamePrompt = "输入新标签名称：";
inline constexpr std::string_view kNewFileNamePrompt = "输入新文件名：";

// Why a save failed, where the system has no words of its own for it.
inline constexpr std::string_view kLockedReason = "另一个程序正在写入此文件";
inline constexpr std::string_view kUnknownWriteReason = "无法写入此文件";

} // namespace quorvel::workspace
