// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's folders. Folder texts always end with "/".
//
// ProgramFolder: the folder of the program file. It holds the merge
// configuration (named like the program file with ".ini"), the help and
// manual pages and the report letterhead and logo.
// SuiteFolder: the folder shared with related programs. When the program
// folder contains "QUELLSTRAND" (letter case ignored), the part before it
// followed by that word; otherwise, when it contains "4QV", the part before
// that followed by the word; otherwise the programs folder followed by
// "Quellstrand/". On this platform the programs folder is the user's data
// folder ($XDG_DATA_HOME, or ~/.local/share).
// DataFolder: SuiteFolder + "Common Files/", home of the catalogue files and
// the refrigerant library.

#include <string>
#include <string_view>

namespace dvx {

struct TFolders {
    std::string ProgramFolder;
    std::string SuiteFolder;
    std::string DataFolder;
};

// --- rules, as pure functions of text ---

// An XDG base folder: xdgValue when it is an absolute path, otherwise
// home + "/" + fallback. Ends with "/".
std::string XdgFolderFor(const char* xdgValue, std::string_view home, std::string_view fallback);
// The folder part of a file path, with its trailing "/".
std::string FolderOf(std::string_view filePath);
// The file name without folder and without its last extension.
std::string BaseNameOf(std::string_view filePath);
// SuiteFolder for a program folder. The word is found without regard to
// letter case; the result keeps the real path's spelling, word included, so
// that it names an existing folder on a case-sensitive file system.
std::string SuiteFolderFor(std::string_view programFolder, std::string_view programsFolder);
std::string DataFolderFor(std::string_view suiteFolder);
// All three folders for a program folder and programs folder.
TFolders FoldersFor(std::string_view programFolder, std::string_view programsFolder);

// --- this process ---

std::string HomeFolder();         // $HOME, else the password database; ends with "/"
std::string UserConfigFolder();   // $XDG_CONFIG_HOME or ~/.config/
std::string UserDataFolder();     // $XDG_DATA_HOME or ~/.local/share/
std::string UserStateFolder();    // $XDG_STATE_HOME or ~/.local/state/
std::string UserCacheFolder();    // $XDG_CACHE_HOME or ~/.cache/
std::string ProgramFilePath();    // the running program file (/proc/self/exe)
std::string ProgramFileName();    // its name without folder and extension
std::string ProgramsFolder();     // where the suite lives unless the program folder says otherwise

// The folders in force. Until FixFolders is called they are worked out from
// the running program and the environment on each call.
std::string ProgramFolder();
std::string SuiteFolder();
std::string DataFolder();
void FixFolders(TFolders folders);

// Creates folder and every missing folder above it with mode 0700 (only
// the user may read the settings and data kept there), leaving the mode of
// folders that exist alone. Returns false when the folder is not there
// afterwards.
bool CreatePrivateFolders(const std::string& folder);

} // namespace dvx
