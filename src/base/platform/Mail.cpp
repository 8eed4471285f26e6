// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/platform/Mail.h"

namespace dvx {

std::vector<std::string> MailArguments(const TMailMessage& message) {
    // Every text the program hands over is UTF-8.
    std::vector<std::string> args{"--utf8"};
    if (!message.subject.empty()) {
        args.push_back("--subject");
        args.push_back(message.subject);
    }
    if (!message.body.empty()) {
        args.push_back("--body");
        args.push_back(message.body);
    }
    for (const std::string& file : message.attachments) {
        args.push_back("--attach");
        args.push_back(file);
    }
    // An address is never an option: one that starts with "-" is not passed.
    for (const std::string& to : message.recipients)
        if (!to.empty() && to.front() != '-') args.push_back(to);
    return args;
}

bool ComposeMail(const TMailMessage& message, const TProgramLauncher& launch) {
    if (!launch) return false;
    return launch(kMailProgram, MailArguments(message));
}

} // namespace dvx
