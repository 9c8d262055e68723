#pragma once

#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"
#include "workspace/DocumentCommands.h"
#include "workspace/WorkspaceFixture.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::workspace::testing {

using quorvel::testing::DialogKind;
using quorvel::testing::ReadBytes;
using quorvel::testing::ShownDialog;
using quorvel::testing::WriteBytes;

// Points the desktop trash at a private directory while the object lives. HOME moves there too,
// because the trash of a file outside the home's partition lives on that partition.
class PrivateTrash {
public:
    PrivateTrash() = default;
    PrivateTrash(const PrivateTrash&) = delete;
    PrivateTrash& operator=(const PrivateTrash&) = delete;

    std::string FileInTrash(std::string_view name) const {
        return dir_.File("Trash/files/" + std::string(name));
    }

private:
    class Variable {
    public:
        Variable(const char* name, const std::string& value);
        Variable(const Variable&) = delete;
        Variable& operator=(const Variable&) = delete;
        ~Variable();

    private:
        const char* name_;
        std::optional<std::string> old_;
    };

    quorvel::testing::TempDir dir_;
    Variable home_{"HOME", dir_.path()};
    Variable dataHome_{"XDG_DATA_HOME", dir_.path()};
};

// The workspace with the document commands and scripted dialogs. alpha.txt holds a and b,
// beta.txt holds x. After StartInAlpha the nodes are 0 alpha, 1 a, 2 b, 3 beta, 4 x (without
// beta: 0 alpha, 1 a, 2 b), a is selected and shown, and no caption is recorded yet.
class DocumentCommandsTest : public WorkspaceTest {
public:
    enum class Beta { Registered, Absent };
    void StartInAlpha(Beta beta = Beta::Registered);

    // The bytes of every entry of the temporary directory by name; a directory reads as "/".
    std::map<std::string, Text> Files() const;
    // The message boxes shown, in order.
    std::vector<ShownDialog> Messages() const;
    // The registry's key as written, "空" included.
    Text RegistryKey(int key) const;

    const Text alphaBytes_ = DocumentBytes({{"a", "one"}, {"b", "two"}});
    const Text betaBytes_ = DocumentBytes({{"x", "ex"}});
    const Text alpha_ = WriteDocument("alpha.txt", {{"a", "one"}, {"b", "two"}});
    const Text beta_ = WriteDocument("beta.txt", {{"x", "ex"}});
    // Where the file dialogs are expected to open while alpha is current.
    const std::string alphaFolder_ = dir_.path() + "/";
    PrivateTrash trash_;
    DocumentCommands commands_{workspace_, dialogs_};
};

} // namespace quorvel::workspace::testing
