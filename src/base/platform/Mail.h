// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Handing a message to the desktop's mail program: a new message opens in
// its composer with the subject, body and attachments filled in, and the
// user sends it from there. On the desktop this is done by xdg-email.

#include <functional>
#include <string>
#include <vector>

namespace dvx {

struct TMailMessage {
    std::vector<std::string> recipients; // may be empty: the user fills them in
    std::string subject;
    std::string body;
    std::vector<std::string> attachments; // absolute file paths
};

// Starts a program detached from this one; true when it could be started.
using TProgramLauncher =
    std::function<bool(const std::string& program, const std::vector<std::string>& arguments)>;

inline constexpr const char* kMailProgram = "xdg-email";

// The xdg-email command line for a message (without the program name).
std::vector<std::string> MailArguments(const TMailMessage& message);

// Opens the message in the mail composer through `launch`; false when the
// mail program could not be started.
bool ComposeMail(const TMailMessage& message, const TProgramLauncher& launch);

} // namespace dvx
