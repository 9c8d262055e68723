#pragma once

// Every command the menu bar and the toolbar can run, by a stable id. The tables name the
// command of each item; the handlers are connected to the ids (CommandRegistry).
namespace quorvel::app {

enum class CommandId {
    // 文件(&F)
    NewDocument,
    OpenDocument,
    SaveDocumentCopy,
    DeleteDocumentFile,
    RestoreAutomaticBackup, // RestoreBackup with the prefix "备_"
    ManualBackup,
    RestoreManualBackup, // RestoreBackup with the prefix "手备_"
    // 编辑(&E)
    UndoEdit,
    RedoEdit,
    CopySelection,
    CutSelection,
    PasteClipboard,
    DeleteSelection,
    ToLowerCase,
    ToUpperCase,
    SelectAll,
    OpenFindReplace,
    // 标签(&B)
    NewLabel,
    SaveLabel,
    SaveLabelToDocument,
    RenameNode,
    DeleteNode,
    ShowWholeDocument,
    // 格式(&G)
    ChooseEditBoxFont,
    ChooseEditBoxBackground,
    ChooseTreeFont,
    ChooseTreeBackground,
    // 功能(&T)
    EncryptText,
    DecryptText,
    ToggleAutoSave,
    ShowHorizontalScrollBar,
    LaunchCalculator,
    LaunchProcessManager,
    LaunchControlPanel,
    LaunchCommandPrompt,
    LaunchRegistryEditor,
    LaunchDiskCleanup,
    LaunchDiskCheck,
    // 帮助(&H)
    ShowHelp,
    ShowAbout,
    // The toolbar's own
    SelectAllAndCopy,
    ClearEditBox,
};

} // namespace quorvel::app
