// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The question the install-data merge asks about one differing section of a
// data file: keep the user's section or take the newly installed one. The
// desktop program answers with its "Install notice" dialog; programs without
// windows answer "Decide later", so nothing of the user's data changes.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dvx {

// The answer, as the dialog's buttons give it.
enum TConfirmResult : int {
    crKeepUser = 0,    // "Keep your data"
    crUseInstall = 1,  // "Use install data" (also the Enter key)
    crDecideLater = 2, // "&Decide later" (also the Escape key)
    crAcceptAll = 3,   // "&Accept All"
};

// What the dialog shows.
struct TConfirmChange {
    std::string Caption;                   // "Install notice: " + the user file's name
    std::vector<std::string> UserLines;    // "[section]" then the user's key=value lines
    std::vector<std::string> InstallLines; // "[section]" then the install file's key=value lines
};

// One key whose value differs between the two versions of the section.
struct TKeyDifference {
    std::string Key;
    std::string Yours;      // the user's value; empty when the key is missing
    std::string Shipped;    // the installed value; empty when the key is missing
    bool InYours = true;
    bool InShipped = true;
};

// The section's name (from its "[section]" line) and the keys that differ
// (values compared without regard to letter case, as the merge compares
// them), in the order of the installed section, then keys only the user has.
std::string SectionOf(const TConfirmChange& change);
std::vector<TKeyDifference> DifferingKeys(const TConfirmChange& change);

class TInstallDataConfirm {
public:
    virtual ~TInstallDataConfirm() = default;
    // Shows the change and returns one of TConfirmResult. Any other value
    // (the dialog closed without a button) counts as crKeepUser.
    virtual int Ask(const TConfirmChange& change) = 0;
};

// Creates the dialog the first time one file of the merge needs it; the
// merge frees it when that file is done.
using TConfirmFactory = std::function<std::unique_ptr<TInstallDataConfirm>()>;

// A dialog that answers through a plain function.
class TCallbackConfirm : public TInstallDataConfirm {
public:
    explicit TCallbackConfirm(std::function<int(const TConfirmChange&)> answer) : answer_(std::move(answer)) {}
    int Ask(const TConfirmChange& change) override { return answer_(change); }

private:
    std::function<int(const TConfirmChange&)> answer_;
};

// A factory for TCallbackConfirm.
inline TConfirmFactory ConfirmBy(std::function<int(const TConfirmChange&)> answer) {
    return [answer] { return std::make_unique<TCallbackConfirm>(answer); };
}

// The answer of programs without windows.
inline TConfirmFactory DecideLaterAlways() {
    return ConfirmBy([](const TConfirmChange&) { return static_cast<int>(crDecideLater); });
}

} // namespace dvx
