#include "workspace/label_commands/LabelCommandsFixture.h"

#include <QTest>
#include <QTreeWidget>
#include <algorithm>
#include <filesystem>

namespace quorvel::workspace::testing {

void LabelCommandsTest::SetUp() {
    alpha_ = WriteDocument("alpha.txt", {{"a", "one"}, {"b", "two"}});
    beta_ = WriteDocument("beta.txt", {{"x", "ex"}});
    Register({alpha_, beta_});
}

void LabelCommandsTest::Start(int select) {
    workspace_.BuildTree();
    for (int index = 0; index < tree_.Count(); ++index) {
        if (workspace_.IsDocumentNode(index)) {
            tree_.Expand(index);
        }
    }
    tree_.Select(select);
}

void LabelCommandsTest::RightClick(int index) {
    ShowWindow();
    QWidget* viewport = tree_.widget()->viewport();
    const QPoint at = NodeCentre(index);
    QTest::mousePress(viewport, Qt::RightButton, {}, at);
    QTest::mouseRelease(viewport, Qt::RightButton, {}, at);
    ASSERT_EQ(tree_.Selection(), index);
}

std::vector<Text> LabelCommandsTest::DialogLog() const {
    using quorvel::testing::DialogKind;
    std::vector<Text> log;
    for (const quorvel::testing::ShownDialog& shown : dialogs_.Shown()) {
        switch (shown.kind) {
        case DialogKind::Message:
            log.push_back("message|" + shown.text + "|" + shown.title + "|" +
                          std::to_string(static_cast<int>(shown.style)));
            break;
        case DialogKind::Text:
            log.push_back("ask|" + shown.text + "|" + shown.initialText);
            break;
        case DialogKind::OpenFile:
        case DialogKind::SaveFile:
            log.push_back("save|" + shown.title + "|" + shown.startDirectory);
            break;
        }
    }
    return log;
}

std::vector<Text> LabelCommandsTest::Snapshot() const {
    std::vector<Text> state = TreeDump();
    state.push_back("selection " + std::to_string(tree_.Selection()));
    state.push_back("document " + workspace_.CurrentDocument());
    state.push_back("label " + workspace_.CurrentLabel());
    state.push_back("box " + editBox_.ReadText());
    state.push_back(std::string("edited ") + (Edited() ? "set" : "clear"));
    state.push_back("captions " + std::to_string(captions_.size()));
    std::vector<Text> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
        const Text path = entry.path().string();
        files.push_back(entry.is_directory()
                            ? "folder " + path
                            : "file " + path + " " + quorvel::testing::ReadBytes(path));
    }
    std::sort(files.begin(), files.end());
    state.insert(state.end(), files.begin(), files.end());
    return state;
}

} // namespace quorvel::workspace::testing
