// SPDX-License-Identifier: GPL-3.0-or-later
#include "DisplayGuard.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace dvx::app {
namespace {

QtMessageHandler previousHandler = nullptr;
bool displayUnreachable = false;

constexpr const char* kNoDisplay =
    "darvenix: cannot connect to a display; use darvenix-cli for calculations without one\n";

bool NoDisplayNamed() { return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"); }

void OnMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const std::string_view category = context.category ? context.category : "";
    if (type == QtFatalMsg) {
        // Qt aborts after this handler returns: leave first, with one line.
        if (displayUnreachable || NoDisplayNamed()) {
            std::fputs(kNoDisplay, stderr);
        } else {
            const QByteArray line = message.section('\n', 0, 0).toLocal8Bit();
            std::fprintf(stderr, "darvenix: %s\n", line.constData());
        }
        std::fflush(stderr);
        std::_Exit(1);
    }
    // The platform plugin's warnings lead up to the fatal message, which
    // says it all in one line.
    if (category.starts_with("qt.qpa")) {
        if (message.contains(QLatin1String("connect to display"))) displayUnreachable = true;
        return;
    }
    if (previousHandler) previousHandler(type, context, message);
}

} // namespace

DisplayGuard::DisplayGuard() {
    displayUnreachable = false;
    previous_ = qInstallMessageHandler(OnMessage);
    previousHandler = previous_;
}

DisplayGuard::~DisplayGuard() { qInstallMessageHandler(previous_); }

} // namespace dvx::app
