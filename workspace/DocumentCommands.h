#pragma once

#include "text/CodePage.h"

#include <string>
#include <string_view>

namespace quorvel::ui {
class Dialogs;
}

// The commands of the menu 文件(&F): new, open, save a copy and delete a document, and the
// manual backup and the two restores. Each checks its preconditions, asks, acts on the files
// through the store, then brings the tree, the CurrentLabel and the settings in line.
namespace quorvel::workspace {

class Workspace;

// Keeps no state. Uses, without owning: the workspace and the dialogs, both lent by the main
// window (or a test) for its whole life.
class DocumentCommands {
public:
    DocumentCommands(Workspace& workspace, ui::Dialogs& dialogs)
        : workspace_(workspace), dialogs_(dialogs) {}

    void NewDocument();
    void OpenDocument();
    void SaveDocumentCopy();
    void DeleteDocumentFile();
    void ManualBackup();
    // prefix: store::kStartupBackupPrefix or store::kManualBackupPrefix.
    void RestoreBackup(std::string_view prefix);

private:
    // The CurrentDocument's folder, where the file dialogs open; "" when there is none.
    std::string StartDirectory() const;
    // A chosen path holding a line break is refused with a message; true when it was.
    bool RefusesPath(const Text& path);

    Workspace& workspace_;
    ui::Dialogs& dialogs_;
};

} // namespace quorvel::workspace
