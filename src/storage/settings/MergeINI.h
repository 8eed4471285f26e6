// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The install-data merge. A new version of the program does not overwrite
// the user's data files (which the user may have edited): its copies go to an
// install folder and are listed in the merge configuration, the INI file named
// like the program file with ".ini" in the program's folder, section
// "Data files":
//
//   [Data files]
//   SteelPipe.ini=<user folder>, <install folder>, <spare item>
//
// Both folders end with "/" (the file name is appended to them directly).
// A folder item may start with %DATAFOLDER% or %PROGRAMFOLDER%, which stand
// for those folders of the running program, so one configuration serves
// every user and every installation place.
//
// At every start, before anything reads the data files, each listed user
// file is brought up to date from its install copy: new files are copied,
// identical ones left alone, and differing INI files are merged section by
// section with the user's consent; a user file is backed up to ".bak" just
// before the merge changes it.
//
// The install copies are shared by every account and may lie in a read-only
// folder, so they are never deleted. Instead each user's data folder keeps a
// record (kMergeRecordFile) of the install version, by content, that was
// dealt with for each file; a version on record is not offered again, a new
// one is. "Decide later" leaves the version off the record, so it is offered
// again at the next start.

#include "storage/settings/InstallDataConfirm.h"

#include <string>
#include <vector>

namespace dvx {

class TIniFileMerger {
public:
    explicit TIniFileMerger(TConfirmFactory confirm) : confirm_(std::move(confirm)) {}

    // Reads the "Data files" section through an in-memory copy of the
    // configuration, expanding %DATAFOLDER% and %PROGRAMFOLDER%. An entry
    // without both folders is skipped.
    void ReadConfiguration(const std::string& configFile, const std::string& dataFolder,
                           const std::string& programFolder);
    // Brings each user file up to date, from the last entry to the first.
    void ProcessFiles();
    // Merges one install file into one user file (both INI files). Returns
    // false when the user chose to decide later.
    bool MergeIniFile(const std::string& userFile, const std::string& installFile);

    const std::vector<std::string>& UserFiles() const { return userFiles_; }
    const std::vector<std::string>& InstallFiles() const { return installFiles_; }
    const std::vector<std::string>& SpareItems() const { return spareItems_; }
    // Failures met on the way (a file that could not be copied or written);
    // the merge goes on with the other files.
    const std::vector<std::string>& Messages() const { return messages_; }

private:
    void RemoveEntry(std::size_t index);
    // Copies the user file to ".bak" before its first change in this merge.
    void BackUp(const std::string& userFile);

    TConfirmFactory confirm_;
    std::vector<std::string> userFiles_;
    std::vector<std::string> installFiles_;
    std::vector<std::string> spareItems_;
    std::vector<std::string> messages_;
};

// The record of merged install versions in each user data folder: section
// "Merged", key the data file's name, value the install copy's fingerprint.
inline constexpr const char* kMergeRecordFile = "MergedInstallData.ini";

// The fingerprint of a file's content ("<size>-<hash>"), empty when the file
// cannot be read.
std::string ContentFingerprint(const std::string& path);

// The whole merge as it runs at start-up: read the configuration, process. Returns the failures met; a missing configuration does nothing.
std::vector<std::string> RunInstallDataMerge(const std::string& configFile, const std::string& dataFolder,
                                             const std::string& programFolder, TConfirmFactory confirm);

// Copies a file atomically and gives the copy the source's modification time.
// Raises FileError "Unable to write to <target>".
void CopyFileKeepingTime(const std::string& source, const std::string& target);

} // namespace dvx
