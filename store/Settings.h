#pragma once

#include "store/Profile.h"

#include <functional>
#include <string_view>
#include <vector>

// The settings file kelmora.ini: the program's settings, read and written one value at a time at
// the moment they are needed, and the document registry in its section [文件].
namespace quorvel::store {

// A section and key of the settings file, spelt in UTF-8; converted to the active code page where
// they meet the file. The names are constants of the program: a SettingName owns no bytes.
struct SettingName {
    std::string_view section;
    std::string_view key;
};

inline constexpr SettingName kCurrentDocumentSetting{"配置", "当前文件"};
inline constexpr SettingName kCurrentLabelSetting{"配置", "当前标签"};
inline constexpr SettingName kAutoSaveSetting{"配置", "自动保存"};
inline constexpr SettingName kEditBoxFontSetting{"格式", "字体"};
inline constexpr SettingName kTreeFontSetting{"格式1", "字体"};

// The settings file of a run. The window's MainWindow owns the one it uses for the whole run and
// lends it to the workspace and the start-up by reference; each command of quorvel-notes makes its
// own for the file it is given. It owns the ProfileFile, and through it the parsed copy.
class Settings {
public:
    explicit Settings(Path iniPath) : file_(std::move(iniPath)) {}

    const Path& path() const { return file_.path(); }
    bool Exists() const { return file_.Exists(); }

    Text ReadSetting(const Text& section, const Text& key, const Text& defaultValue = {}) const;
    ProfileWriteOutcome WriteSetting(const Text& section, const Text& key, const Text& value);

    Text ReadSetting(SettingName name, const Text& defaultValue = {}) const;
    ProfileWriteOutcome WriteSetting(SettingName name, const Text& value);

    // See ProfileFile::BeginUpdate.
    IoOutcome BeginUpdate() { return file_.BeginUpdate(); }
    void EndUpdate() { file_.EndUpdate(); }

private:
    ProfileFile file_;
};

// Holds the settings file's lock for its lifetime, so that the reads and the write of one change
// see no other writer in between.
class SettingsUpdate {
public:
    explicit SettingsUpdate(Settings& settings)
        : settings_(settings), held_(settings.BeginUpdate() == IoOutcome::Done) {}
    ~SettingsUpdate() { settings_.EndUpdate(); }
    SettingsUpdate(const SettingsUpdate&) = delete;
    SettingsUpdate& operator=(const SettingsUpdate&) = delete;

    bool held() const { return held_; }

private:
    Settings& settings_;
    bool held_ = false;
};

// The document registry: keys 1, 2, 3 ... of [文件] hold document paths, or "空" for a removed
// entry. A walk starts at key 1 and stops at the first key whose value reads empty; paths compare
// as exact bytes; a removed entry's key is never reused, so key numbers only grow.

enum class RegistryOutcome {
    Done,         // the entry was written, or marked removed
    AlreadyThere, // register: a key holds the path already; nothing is written
    NotThere,     // unregister, reregister: no key holds the path; nothing is written
    // Refused, nothing written: a path the walk could never find again as given.
    EmptyPath,    // an empty value ends the walk, hiding every entry after it
    ReservedWord, // "空" marks a removed entry, which the walk skips
    TooLong,      // longer than a settings value reads back
    LineBreak,    // CR or LF, which the settings file cannot hold
    WriteFailed,  // the settings file could not be written
};

enum class WalkStep { Continue, Stop };
// Calls visit with each key number and value in order, removed entries included, until visit
// stops or a key reads empty; the number of the key it ended at (the first empty one, unless
// visit stopped). Every registry operation walks through here.
std::size_t WalkRegistry(const Settings& settings,
                         const std::function<WalkStep(std::size_t key, const Text& value)>& visit);

// Writes the path at the first empty key.
RegistryOutcome RegisterDocument(Settings& settings, const Text& path);
// Marks the first key holding the path "空".
RegistryOutcome UnregisterDocument(Settings& settings, const Text& path);
// Writes the new path over the first key holding the old one.
RegistryOutcome RenameRegisteredDocument(Settings& settings, const Text& oldPath,
                                         const Text& newPath);
// The live entries in key order, "空" skipped.
std::vector<Text> EnumerateRegistry(const Settings& settings);

} // namespace quorvel::store
