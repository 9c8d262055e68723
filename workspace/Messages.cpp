#include "workspace/Messages.h"

#include "store/Document.h"
#include "text/Words.h"

#include <array>

namespace quorvel::workspace {
namespace {

using ui::MessageStyle;

constexpr std::array kMessages{
    MessageEntry{MessageId::AlreadyOpen, "提示：", MessageStyle::Warning},
    MessageEntry{MessageId::NoDocumentToSave, "警告：", MessageStyle::Warning},
    MessageEntry{MessageId::SaveFileFailed, "错误：", MessageStyle::Warning},
    MessageEntry{MessageId::ConfirmDeleteFile, "询问：", MessageStyle::YesNoQuestion},
    MessageEntry{MessageId::DeleteFileFailed, "错误：", MessageStyle::Warning},
    MessageEntry{MessageId::SelectFileToDelete, "提示：", MessageStyle::Information},
    MessageEntry{MessageId::FileNameHasLineBreak, "错误：", MessageStyle::Warning},
    MessageEntry{MessageId::FileNameHasSlash, "错误：", MessageStyle::Warning},
    MessageEntry{MessageId::NewDocumentFirst, "错误：", MessageStyle::Warning},
    MessageEntry{MessageId::NoTextToSave, "警告", MessageStyle::Warning},
    MessageEntry{MessageId::SelectLabelToRename, "", MessageStyle::Plain},
    MessageEntry{MessageId::SelectLabelToDelete, "提示：", MessageStyle::Information},
    MessageEntry{MessageId::ConfirmDeleteDocumentNode, "", MessageStyle::YesNoQuestion},
    MessageEntry{MessageId::ConfirmDeleteLabel, "", MessageStyle::YesNoQuestion},
    MessageEntry{MessageId::FileMissing, "", MessageStyle::Warning},
    MessageEntry{MessageId::LabelExists, "", MessageStyle::Plain},
    MessageEntry{MessageId::InvalidLabel, "错误：", MessageStyle::Warning},
    MessageEntry{MessageId::RenameFailed, "", MessageStyle::Plain},
    MessageEntry{MessageId::UnsavedText, "提示：", MessageStyle::YesNoCancelQuestion},
    MessageEntry{MessageId::SaveFailed, "错误：", MessageStyle::Warning},
    MessageEntry{MessageId::CloseAnyway, "询问：", MessageStyle::YesNoQuestion},
    MessageEntry{MessageId::BackupMade, "", MessageStyle::Information},
    MessageEntry{MessageId::BackupFailed, "", MessageStyle::Warning},
    MessageEntry{MessageId::BackupMissing, "", MessageStyle::Warning},
    MessageEntry{MessageId::RestoreDone, "", MessageStyle::Information},
    MessageEntry{MessageId::RestoreFailed, "", MessageStyle::Warning},
};

} // namespace

const MessageEntry& MessageOf(MessageId id) {
    for (const MessageEntry& entry : kMessages) {
        if (entry.id == id) {
            return entry;
        }
    }
    return kMessages.front();
}

ui::MessageAnswer ShowMessage(ui::Dialogs& dialogs, MessageId id, const Text& inserted) {
    const MessageEntry& entry = MessageOf(id);
    const Text& title =
        entry.title.empty() ? ui::DefaultMessageTitle() : text::InterfaceText(entry.title);
    return dialogs.ShowMessage(text::MessageText(id, inserted), title, entry.style);
}

bool RefusesInvalidLabel(ui::Dialogs& dialogs, const Text& label) {
    if (store::IsValidLabel(label)) {
        return false;
    }
    ShowMessage(dialogs, MessageId::InvalidLabel);
    return true;
}

} // namespace quorvel::workspace
