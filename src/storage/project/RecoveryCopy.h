// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The recovery copy: when the desktop program is ended from outside (the
// session ends, the service manager or "kill" sends SIGTERM or SIGHUP) no
// one can be asked whether to save an unsaved project. The project is then
// kept as a project file in a folder of the user's state data, together
// with the name of the file it came from, and the next start offers it.
//
// A folder holds at most one copy: "recovery.dvx", and "recovery-of.txt"
// with the project's own file path (empty for a project never saved). The
// copy alone is enough to offer and read it back.

#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "storage/project/ProjectFile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace dvx {

// Where this user's recovery copy is kept:
// $XDG_STATE_HOME (or ~/.local/state) + "/Quellstrand/darvenix/".
std::filesystem::path RecoveryFolder();

// What the next start offers.
struct TRecoveryOffer {
    std::filesystem::path CopyPath; // the kept project file
    std::string OriginalFile;       // the project's own file, empty when it had none
    std::string Question;           // the question to ask, answered Yes or No
};

// Keeps the project as folder's recovery copy, replacing any earlier one.
// The folder is created with mode 0700 (a project is the user's own data).
// The project file is encoded with `tables` (EncodeProject). Raises
// FileError when the copy cannot be written.
void KeepRecoveryCopy(const std::filesystem::path& folder, const TCircuit& circuit, const TFluid& fluid,
                      const TCatalogueTables& tables, std::string_view originalFile);

// The offer when folder holds a recovery copy, else nothing.
std::optional<TRecoveryOffer> PendingRecovery(const std::filesystem::path& folder);

// Reads the offered copy back as a project that is not saved (it differs
// from its file, or has none). Raises ProjectFileError like ReadProject; the
// copy stays then, so that nothing is lost. Read for project (ReadProject).
TProjectData ReadRecoveryCopy(const TRecoveryOffer& offer, const TProjectContext& project);

// Removes folder's recovery copy, once it was taken or declined.
void DiscardRecoveryCopy(const std::filesystem::path& folder);

} // namespace dvx
