// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// While the application object connects to the display, a failure to connect
// is reported by Qt as a run of platform-plugin warnings and a fatal message
// that aborts the program (exit 134, "Reinstalling the application may fix
// this problem"), which misleads a user who ran the program over ssh or in a
// container. For as long as a DisplayGuard lives, such a failure prints one
// line naming the cause and the command-line program, and exits with 1.

#include <QtGlobal>

namespace dvx::app {

class DisplayGuard {
public:
    DisplayGuard();
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;

private:
    QtMessageHandler previous_;
};

} // namespace dvx::app
