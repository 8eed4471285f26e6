// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/WindowPlacement.h"

#include "storage/settings/SettingsKeys.h"
#include "storage/settings/SettingsStore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace dvx {

TWindowPlacement PlacementOf(const QRect& frame, const QRect& client, int winState) {
    return {frame.x(), frame.y(), client.width(), client.height(), winState};
}

TWindowPlacement PlacementOf(const QWidget& window) {
    const Qt::WindowStates state = window.windowState();
    const int winState = (state & Qt::WindowMinimized) ? 1 : (state & Qt::WindowMaximized) ? 2 : 0;
    if ((state & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) == 0)
        return PlacementOf(window.frameGeometry(), window.geometry(), winState);
    // The normal rectangle is the inside; its frame lies around it by the
    // frame's current margins.
    const QRect normal = window.normalGeometry();
    const QPoint frameOffset = window.geometry().topLeft() - window.frameGeometry().topLeft();
    return PlacementOf(normal.translated(-frameOffset), normal, winState);
}

TWindowPlacement RestoreWindowPlacement(QWidget& window, const SettingsStore& store, std::string_view name,
                                        bool restoreSize) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize area = screen != nullptr ? screen->size() : QSize(1024, 768);
    const TWindowPlacement p = RestorePlacement(store, name, PlacementOf(window), restoreSize, area.width(), area.height());
    // move() places the frame's corner, resize() the inside.
    window.move(p.Left, p.Top);
    if (restoreSize) window.resize(p.Width, p.Height);
    return p;
}

bool HasStoredPlacement(const SettingsStore& store, std::string_view name) {
    return store.ValueExists(name, settings::kLeft);
}

void SaveWindowPlacement(const QWidget& window, SettingsStore& store, std::string_view name) {
    SavePlacement(store, name, PlacementOf(window));
}

} // namespace dvx
