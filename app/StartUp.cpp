#include "app/StartUp.h"

#include "app/WidgetAppearance.h"
#include "store/Document.h"
#include "store/FontRecord.h"
#include "text/Words.h"
#include "ui/EditBox.h"
#include "ui/TreeView.h"
#include "workspace/Workspace.h"

#include <QPlainTextEdit>
#include <QTreeWidget>
#include <algorithm>
#include <vector>

namespace quorvel::app {
namespace {

void RestoreAppearance(const store::Settings& settings, store::FontTarget target, QWidget& widget) {
    const std::optional<store::Appearance> appearance =
        store::LoadFontRecord(settings, target, AppearanceOf(widget));
    if (appearance) {
        ApplyAppearance(widget, *appearance);
    }
}

// A file handed over on the command line (a file manager's "open with" among them) that the
// registry does not know gets a node, so that every label command can reach it.
void AddArgumentDocument(workspace::Workspace& workspace, const std::optional<Text>& path) {
    if (!path || !store::FileExists(*path)) {
        return;
    }
    const std::vector<Text>& documents = workspace.DocumentList();
    if (std::find(documents.begin(), documents.end(), *path) != documents.end()) {
        return;
    }
    workspace.AddDocument(*path, workspace::DocumentKind::Opened);
    workspace.SetCaptionToDocument(*path);
}

} // namespace

void DecideCurrentDocument(store::Settings& settings, workspace::Workspace& workspace,
                           const std::optional<Text>& documentArgument) {
    if (!documentArgument) {
        workspace.SetCurrentDocument(settings.ReadSetting(store::kCurrentDocumentSetting));
        return;
    }
    workspace.SetCurrentDocument(*documentArgument);
    settings.WriteSetting(store::kCurrentDocumentSetting, *documentArgument);
}

void RestoreSavedState(const RestoreTargets& targets) {
    if (!targets.settings.Exists()) {
        targets.workspace.SetAutoSaveSwitch(true);
        return;
    }
    RestoreAppearance(targets.settings, store::FontTarget::EditBox, *targets.editBox.widget());
    RestoreAppearance(targets.settings, store::FontTarget::Tree, *targets.tree.widget());

    targets.workspace.BuildTree();
    AddArgumentDocument(targets.workspace, targets.documentArgument);
    if (targets.tree.Count() < 2) {
        targets.editBox.WriteText(store::ReadWholeDocument(targets.workspace.CurrentDocument()));
    }

    const Text& on = text::BoolWord(true);
    if (targets.settings.ReadSetting(store::kAutoSaveSetting, on) == on) {
        targets.workspace.SetAutoSaveSwitch(true);
    }
}

} // namespace quorvel::app
