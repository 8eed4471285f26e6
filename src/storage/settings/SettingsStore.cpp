// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/settings/SettingsStore.h"

#include "base/Errors.h"
#include "base/Format.h"
#include "base/IniDocument.h"
#include "base/Numbers.h"
#include "base/platform/FileStamp.h"
#include "base/platform/Folders.h"
#include "storage/settings/IniFiles.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace dvx {

namespace {

// An exclusive advisory lock on the folder of the settings file, held while
// the file is read, changed and replaced. The folder, not the file, is locked
// because the atomic replacement gives the file a new identity.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder) {
        fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ < 0) return; // the write that follows reports the folder
        while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~FolderLock() {
        if (fd_ >= 0) ::close(fd_); // closing releases the lock
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_ = -1;
};

} // namespace

struct SettingsStore::Snapshot {
    FileStamp stamp;
    IniDocument doc;
    std::string problem;
};

std::string SettingsStore::FileNameFor(std::string_view programName) {
    return UserConfigFolder() + "Quellstrand/" + std::string(programName) + ".ini";
}

std::shared_ptr<const SettingsStore::Snapshot> SettingsStore::Current() const {
    FileStamp stamp = StampOf(fileName_);
    if (snapshot_ && snapshot_->stamp.exists && snapshot_->stamp == stamp) return snapshot_;
    auto fresh = std::make_shared<Snapshot>();
    IniLoad load = LoadIniFile(fileName_);
    fresh->doc = std::move(load.Doc);
    fresh->problem = std::move(load.Error);
    // A file that changes while it is read is read again next time.
    fresh->stamp = StampOf(fileName_) == stamp && StampSettled(stamp) ? stamp : FileStamp{};
    snapshot_ = fresh;
    return fresh;
}

std::string SettingsStore::LoadProblem() const { return Current()->problem; }

std::size_t SettingsStore::LineOf(std::string_view section, std::string_view key) const {
    return Current()->doc.LineOf(section, key);
}

std::string SettingsStore::Where(std::string_view section, std::string_view key) const {
    std::string where = fileName_ + " [" + std::string(section) + "] " + std::string(key);
    if (std::size_t line = LineOf(section, key)) where += " (line " + std::to_string(line) + ")";
    return where;
}

std::string SettingsStore::ReadString(std::string_view section, std::string_view key,
                                      std::string_view def) const {
    if (auto value = Current()->doc.Value(section, key)) return *value;
    return std::string(def);
}

int SettingsStore::ReadInteger(std::string_view section, std::string_view key, int def) const {
    return TryStrToInt(ReadString(section, key, "")).value_or(def);
}

bool SettingsStore::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double SettingsStore::ReadFloat(std::string_view section, std::string_view key, double def) const {
    return TryStrToFloat(ReadString(section, key, "")).value_or(def);
}

void SettingsStore::Modify(const std::function<void(IniDocument&)>& change) {
    const std::filesystem::path folder = std::filesystem::path(fileName_).parent_path();
    CreatePrivateFolders(folder.string()); // a failure shows as the write error that follows
    FolderLock lock(folder.empty() ? "." : folder.string());
    IniLoad load = LoadIniFile(fileName_);
    // A file that exists but cannot be read would lose its content.
    if (!load.Error.empty()) throw FileError(Format("Unable to write to %s", {fileName_}));
    change(load.Doc);
    WriteIniText(fileName_, load.Doc.Text());
    // The file just written is not settled yet: the next read reads it again.
    snapshot_.reset();
}

void SettingsStore::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Modify([&](IniDocument& doc) { doc.Set(section, key, value); });
}

void SettingsStore::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void SettingsStore::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void SettingsStore::WriteFloat(std::string_view section, std::string_view key, double value) {
    WriteString(section, key, FloatToStr17(value));
}

void SettingsStore::WriteValues(std::string_view section, const std::vector<std::string>& lines) {
    Modify([&](IniDocument& doc) { doc.SetLines(section, lines); });
}

void SettingsStore::ReplaceSection(std::string_view section, const std::vector<std::string>& lines) {
    Modify([&](IniDocument& doc) { doc.ReplaceSection(section, lines); });
}

bool SettingsStore::ValueExists(std::string_view section, std::string_view key) const {
    return Current()->doc.Value(section, key).has_value();
}

void SettingsStore::EraseSection(std::string_view section) {
    if (!Current()->doc.HasSection(section)) return;
    Modify([&](IniDocument& doc) { doc.EraseSection(section); });
}

namespace {
SettingsStore& AppStore() {
    static SettingsStore store(SettingsStore::FileNameFor("darvenix"));
    return store;
}
} // namespace

SettingsStore& AppSettings() { return AppStore(); }
void SetAppSettings(SettingsStore store) { AppStore() = std::move(store); }

} // namespace dvx
