// SPDX-License-Identifier: GPL-3.0-or-later
// The end of the program from outside, and the recovery copy it leaves.

#include "desktop/windows/MainWindow.h"

#include "desktop/windows/InsertForm.h"
#include "desktop/windows/PumpCurveForm.h"
#include "desktop/widgets/Messages.h"
#include "engine/fluid/Fluid.h"
#include "storage/project/RecoveryCopy.h"

#include <QCoreApplication>

#include <cstdio>
#include <optional>
#include <string>

namespace dvx::ui {

namespace {

// No window may be shown now: a failure is said on the standard error.
void Report(const std::string& what) { std::fputs(("darvenix: " + what + "\n").c_str(), stderr); }

} // namespace

void TMainForm::EndSession() {
    if (sessionEnded_) return; // a second signal while the first is handled
    sessionEnded_ = true;
    Commit();
    if (!circuit_->Saved) {
        try {
            KeepRecoveryCopy(RecoveryFolder(), *circuit_, *project_.Liquid, project_.Tables,
                             currentFile_.toStdString());
        } catch (const std::exception& e) {
            Report(std::string("unsaved project not kept: ") + e.what());
        }
    }
    try {
        SaveSettingsOnClose();
    } catch (const std::exception& e) {
        Report(std::string("settings not saved: ") + e.what());
    }
    // Both store their own placement when they close.
    insertForm_->close();
    if (pumpForm_->isVisible()) pumpForm_->close();
    // Ends the main loop and any modal one running now (an open dialog or
    // question returns as cancelled, and nothing new waits for an answer).
    QCoreApplication::exit(0);
}

void TMainForm::OfferRecovery() {
    if (sessionEnded_) return;
    const std::filesystem::path folder = RecoveryFolder();
    const std::optional<TRecoveryOffer> offer = PendingRecovery(folder);
    if (!offer) return;
    const auto answer = ShowMessage(this, MsgKind::Confirmation, QString::fromStdString(offer->Question),
                                    QMessageBox::Yes | QMessageBox::No);
    // Ended while asking: the copy stays for the next start.
    if (sessionEnded_) return;
    if (answer != QMessageBox::Yes) {
        DiscardRecoveryCopy(folder);
        return;
    }
    std::optional<TProjectData> data;
    try {
        data.emplace(ReadRecoveryCopy(*offer, project_));
    } catch (const std::exception&) {
        // The copy stays where the message says, for the user to rescue.
        ShowMessage(this, MsgKind::Warning, "Error reading " + QString::fromStdString(offer->CopyPath.string()));
        return;
    }
    ShowOpenedProject(std::move(*data), QString::fromStdString(offer->OriginalFile), false);
    DiscardRecoveryCopy(folder);
}

} // namespace dvx::ui
