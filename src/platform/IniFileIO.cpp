// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/IniFileIO.h"

#include "common/Errors.h"
#include "common/Format.h"
#include "platform/AtomicWrite.h"
#include "platform/FileRead.h"

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
