// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every window's remembered place, read and written the same way: "Left" and
// "Top" are the corner of the window's frame (title bar included), "Width"
// and "Height" the size inside the frame, so a window reopens exactly where
// it was closed whatever frame the window manager draws around it.

#include <QRect>
#include <string_view>

#include "storage/settings/Placement.h"

class QWidget;

namespace dvx {

class SettingsStore;

// The placement of a window whose frame is `frame` and whose inside is
// `client` (both in screen pixels); a window not shown yet has the same
// rectangle for both.
TWindowPlacement PlacementOf(const QRect& frame, const QRect& client, int winState);

// The window's placement to keep: its normal place while it is maximised
// or minimised, with the state.
TWindowPlacement PlacementOf(const QWidget& window);

// Applies the placement stored under `name`: the position always, the size
// when `restoreSize` is set; values not stored keep the window's own. The
// position is kept on the screen. Returns what was read, with the stored
// state for the windows that restore it.
TWindowPlacement RestoreWindowPlacement(QWidget& window, const SettingsStore& store, std::string_view name,
                                        bool restoreSize);

// Whether a placement has been stored under `name` (a window may place
// itself on its first opening).
bool HasStoredPlacement(const SettingsStore& store, std::string_view name);

// Writes the window's placement under `name`. Raises what the store raises.
void SaveWindowPlacement(const QWidget& window, SettingsStore& store, std::string_view name);

} // namespace dvx
