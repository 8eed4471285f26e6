// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/platform/Mail.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

TEST(Mail, ComposerGetsSubjectBodyAndEveryAttachment) {
    TMailMessage m;
    m.subject = "Report...";
    m.body = "Please find our report attached.";
    m.attachments = {"/tmp/r/page0.gif", "/tmp/r/page1.gif"};
    std::string program;
    std::vector<std::string> args;
    bool ok = ComposeMail(m, [&](const std::string& p, const std::vector<std::string>& a) {
        program = p;
        args = a;
        return true;
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(program, "xdg-email");
    EXPECT_EQ(args, (std::vector<std::string>{"--utf8", "--subject", "Report...", "--body",
                                              "Please find our report attached.", "--attach",
                                              "/tmp/r/page0.gif", "--attach", "/tmp/r/page1.gif"}));
}

TEST(Mail, RecipientsFollowTheOptionsAndNeverBecomeOptions) {
    TMailMessage m;
    m.subject = "--attach /etc/passwd"; // a value, not an option: follows --subject
    m.recipients = {"a@example.com", "--attach=/etc/shadow", ""};
    auto args = MailArguments(m);
    EXPECT_EQ(args, (std::vector<std::string>{"--utf8", "--subject", "--attach /etc/passwd",
                                              "a@example.com"}));
}

TEST(Mail, LauncherFailureIsReported) {
    TMailMessage m;
    EXPECT_FALSE(ComposeMail(m, [](const std::string&, const std::vector<std::string>&) {
        return false;
    }));
    EXPECT_FALSE(ComposeMail(m, nullptr));
}

} // namespace
} // namespace dvx
