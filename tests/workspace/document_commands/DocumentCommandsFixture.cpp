#include "workspace/document_commands/DocumentCommandsFixture.h"

#include "text/Words.h"

#include <cstdlib>
#include <filesystem>

namespace quorvel::workspace::testing {

PrivateTrash::Variable::Variable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) {
        old_ = old;
    }
    ::setenv(name, value.c_str(), 1);
}

PrivateTrash::Variable::~Variable() {
    if (old_) {
        ::setenv(name_, old_->c_str(), 1);
    } else {
        ::unsetenv(name_);
    }
}

void DocumentCommandsTest::StartInAlpha(Beta beta) {
    if (beta == Beta::Registered) {
        Register({alpha_, beta_});
    } else {
        Register({alpha_});
    }
    workspace_.SetCurrentDocument(alpha_);
    WriteSettingValue(store::kCurrentLabelSetting, "a");
    workspace_.BuildTree();
    ASSERT_EQ(tree_.Selection(), 1);
    ASSERT_EQ(editBox_.ReadText(), "one");
    captions_.clear();
}

std::map<std::string, Text> DocumentCommandsTest::Files() const {
    std::map<std::string, Text> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
        const std::string name = entry.path().filename().string();
        files[name] = entry.is_directory() ? Text("/") : ReadBytes(entry.path().string());
    }
    return files;
}

std::vector<ShownDialog> DocumentCommandsTest::Messages() const {
    std::vector<ShownDialog> messages;
    for (const ShownDialog& shown : dialogs_.Shown()) {
        if (shown.kind == DialogKind::Message) {
            messages.push_back(shown);
        }
    }
    return messages;
}

Text DocumentCommandsTest::RegistryKey(int key) const {
    return settings_.ReadSetting(text::InterfaceText("文件"), std::to_string(key));
}

} // namespace quorvel::workspace::testing
