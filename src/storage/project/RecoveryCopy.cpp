// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/project/RecoveryCopy.h"

#include "base/Errors.h"
#include "base/platform/AtomicWrite.h"
#include "base/platform/FileRead.h"
#include "base/platform/Folders.h"

#include <system_error>

namespace dvx {

namespace {

namespace fs = std::filesystem;

constexpr const char* kCopyName = "recovery.dvx";
constexpr const char* kOriginalName = "recovery-of.txt";
// A path, with room to spare.
constexpr std::uint64_t kMaxOriginalBytes = 64 * 1024;

std::string QuestionFor(const std::string& originalFile) {
    const std::string what = originalFile.empty()
                                 ? std::string("a new project")
                                 : "changes to " + fs::path(originalFile).filename().string();
    return "Darvenix was ended with " + what + " not saved.\nOpen the recovered project?\n(No discards it.)";
}

} // namespace

fs::path RecoveryFolder() { return fs::path(UserStateFolder()) / "Quellstrand" / "darvenix"; }

void KeepRecoveryCopy(const fs::path& folder, const TCircuit& circuit, const TFluid& fluid,
                      const TCatalogueTables& tables, std::string_view originalFile) {
    if (!CreatePrivateFolders(folder.string())) throw FileError("Cannot create " + folder.string());
    // The name first: a copy without it is still offered, a name without
    // a copy is not, so a failure between the two loses nothing.
    WriteFileAtomically(folder / kOriginalName, originalFile);
    WriteFileAtomically(folder / kCopyName, EncodeProject(circuit, fluid, tables));
}

std::optional<TRecoveryOffer> PendingRecovery(const fs::path& folder) {
    std::error_code ec;
    const fs::path copy = folder / kCopyName;
    if (!fs::is_regular_file(copy, ec)) return std::nullopt;
    TRecoveryOffer offer;
    offer.CopyPath = copy;
    try {
        offer.OriginalFile = ReadFileText(folder / kOriginalName, kMaxOriginalBytes);
    } catch (const std::exception&) {
        // Without its name the copy is offered as a project of its own.
        offer.OriginalFile.clear();
    }
    // One line: a name broken by anything else is not trusted as a path.
    if (offer.OriginalFile.find_first_of("\r\n", 0) != std::string::npos ||
        offer.OriginalFile.find('\0') != std::string::npos)
        offer.OriginalFile.clear();
    offer.Question = QuestionFor(offer.OriginalFile);
    return offer;
}

TProjectData ReadRecoveryCopy(const TRecoveryOffer& offer, const TProjectContext& project) {
    TProjectData data = ReadProject(offer.CopyPath, project);
    data.Circuit->Saved = false;
    return data;
}

void DiscardRecoveryCopy(const fs::path& folder) {
    std::error_code ec;
    fs::remove(folder / kCopyName, ec);
    fs::remove(folder / kOriginalName, ec);
}

} // namespace dvx
