#include "workspace/WorkspaceFixture.h"

#include "text/Words.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <string>

namespace quorvel::workspace::testing {

Text DocumentBytes(std::initializer_list<Section> sections) {
    Text bytes;
    for (const Section& section : sections) {
        if (!bytes.empty()) {
            bytes += "\r\n";
        }
        bytes += "[#" + section.label + "]\r\n" + section.text;
    }
    return bytes;
}

WorkspaceTest::WorkspaceTest() {
    auto* panes = new QHBoxLayout;
    panes->addWidget(editBox_.widget(), 2);
    panes->addWidget(tree_.widget(), 1);
    auto* layout = new QVBoxLayout(&window_);
    layout->addLayout(panes);
    layout->addWidget(statusBar_.widget());
    window_.resize(800, 600);

    QObject::connect(&recorder_, &editor::EditRecorder::Edited, &workspace_,
                     &Workspace::MarkEdited);
    QObject::connect(&workspace_, &Workspace::CaptionChanged,
                     [this](const Text& caption) { captions_.push_back(caption); });
    QObject::connect(&workspace_, &Workspace::PopupRequested,
                     [this](QPoint position) { popups_.push_back(position); });
    workspace_.SetAutoSaveSwitch(true);
}

Text WorkspaceTest::WriteDocument(std::string_view name, std::initializer_list<Section> sections) {
    const Text path = PathOf(name);
    quorvel::testing::WriteBytes(path, DocumentBytes(sections));
    return path;
}

void WorkspaceTest::WriteRegistryKey(int key, const Text& value) {
    settings_.WriteSetting(text::InterfaceText("文件"), std::to_string(key), value);
}

void WorkspaceTest::Register(std::initializer_list<Text> paths) {
    for (const Text& path : paths) {
        store::RegisterDocument(settings_, path);
    }
}

Text WorkspaceTest::Setting(store::SettingName name, const Text& defaultValue) const {
    return settings_.ReadSetting(name, defaultValue);
}

void WorkspaceTest::WriteSettingValue(store::SettingName name, const Text& value) {
    settings_.WriteSetting(name, value);
}

std::vector<Text> WorkspaceTest::TreeDump() const {
    std::vector<Text> nodes;
    for (int index = 0; index < tree_.Count(); ++index) {
        nodes.push_back(std::to_string(tree_.Level(index)) + "|" + tree_.NodeText(index) + "|" +
                        std::to_string(tree_.ItemValue(index)) + "|" +
                        std::to_string(tree_.Image(index)));
    }
    return nodes;
}

QTreeWidgetItem* WorkspaceTest::ItemOf(int index) const {
    QTreeWidget* widget = tree_.widget();
    int first = 0;
    for (int row = 0; row < widget->topLevelItemCount(); ++row) {
        QTreeWidgetItem* top = widget->topLevelItem(row);
        if (index == first) {
            return top;
        }
        if (index <= first + top->childCount()) {
            return top->child(index - first - 1);
        }
        first += 1 + top->childCount();
    }
    return nullptr;
}

QPoint WorkspaceTest::NodeCentre(int index) const {
    return tree_.widget()->visualItemRect(ItemOf(index)).center();
}

void WorkspaceTest::ShowWindow() {
    if (window_.isVisible()) {
        return;
    }
    window_.show();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
}

void WorkspaceTest::TypeIntoEditBox(const char* keys) {
    ShowWindow();
    editBox_.widget()->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(editBox_.HasInputFocus());
    QTest::keyClicks(editBox_.widget(), QString::fromUtf8(keys));
    FocusTree();
}

void WorkspaceTest::EmptyEditBox() {
    ShowWindow();
    editBox_.widget()->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(editBox_.HasInputFocus());
    QTest::keyClick(editBox_.widget(), Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(editBox_.widget(), Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(editBox_.widget(), Qt::Key_Delete);
    FocusTree();
}

void WorkspaceTest::FocusTree() {
    ShowWindow();
    tree_.widget()->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(tree_.widget()->hasFocus());
}

} // namespace quorvel::workspace::testing
