#pragma once

#include "ui/Dialogs.h"

#include <string_view>

// Every message box of the document, label and backup commands, as one table: the text, the
// title and the style. Texts are UTF-8 here and meet the dialogs in the active code page.
namespace quorvel::workspace {

enum class MessageId {
    // Documents
    AlreadyOpen,
    NoDocumentToSave,
    SaveFileFailed,
    ConfirmDeleteFile, // the path goes between the quotes
    DeleteFileFailed,
    SelectFileToDelete,
    FileNameHasLineBreak,
    FileNameHasSlash,
    // Labels
    NewDocumentFirst,
    NoTextToSave,
    SelectLabelToRename,
    SelectLabelToDelete,
    ConfirmDeleteDocumentNode, // the node's text goes between the quotes
    ConfirmDeleteLabel,        // the node's text goes between the quotes
    FileMissing,
    LabelExists,
    InvalidLabel, // a label store::IsValidLabel refuses
    RenameFailed,
    // Backups
    BackupMade,
    BackupFailed,
    BackupMissing,
    RestoreDone,
    RestoreFailed,
};

// One row of the message table, a constant over static strings.
struct MessageEntry {
    MessageId id;
    std::string_view text;  // for the confirmations: the part before the inserted text
    std::string_view after; // for the confirmations: the part after it
    std::string_view title; // "" means the default title "信息："
    ui::MessageStyle style;
};

const MessageEntry& MessageOf(MessageId id);

// Shows the message (with inserted between its two parts for a confirmation); its answer.
ui::MessageAnswer ShowMessage(ui::Dialogs& dialogs, MessageId id, const Text& inserted = {});

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

} // namespace quorvel::workspace
