// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/platform/IniFileIO.h"

#include "base/Errors.h"
#include "base/Format.h"
#include "base/platform/AtomicWrite.h"
#include "base/platform/FileRead.h"

namespace dvx {

IniLoad LoadIniFile(const std::string& path) {
    IniLoad load;
    try {
        load.Doc = IniDocument::Parse(ReadFileText(path, kMaxIniFileBytes));
    } catch (const FileReadError& e) {
        load.Missing = e.Missing();
        if (!load.Missing) {
            load.Error = e.what();
            load.Reason = e.Reason();
        }
    }
    return load;
}

void WriteIniText(const std::string& path, std::string_view text) {
    try {
        WriteFileAtomically(path, text);
    } catch (const FileError&) {
        throw FileError(Format("Unable to write to %s", {path}));
    }
}

} // namespace dvx
