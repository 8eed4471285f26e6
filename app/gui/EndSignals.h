// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SIGTERM and SIGHUP (the session ends, a service manager stops the program,
// "kill") end the desktop program the way File › Exit does, instead of
// killing it with its settings unwritten.
//
// A signal handler may call no Qt function, so the handler only writes the
// signal's number into one end of a socket pair; a socket notifier on the
// other end hands it to the event loop, where `Received` is emitted like
// any other event.

#include <QObject>

class QSocketNotifier;

namespace dvx::app {

class EndSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers for SIGTERM and SIGHUP. One object per process.
    explicit EndSignals(QObject* parent = nullptr);
    ~EndSignals() override;
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;

    // False when the socket pair or a handler could not be set up; the
    // signals then keep their default action.
    bool Installed() const { return notifier_ != nullptr; }

signals:
    void Received(int signal);

private:
    void ReadSignal();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace dvx::app
