// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Window placement in the settings store: the section named after the
// window holds "Left", "Top", "Width", "Height" (pixels) and "WinState"
// (0 normal, 1 minimised, 2 maximised). The rules work on plain numbers; the
// windowing layer reads its window into a TWindowPlacement and applies the
// result.

#include <string_view>

namespace dvx {

class SettingsStore;

struct TWindowPlacement {
    int Left = 0;     // pixels
    int Top = 0;      // pixels
    int Width = 0;    // pixels
    int Height = 0;   // pixels
    int WinState = 0; // 0 normal, 1 minimised, 2 maximised
};

// Keeps a stored position on the screen: a coordinate below 0 becomes 0, and
// one beyond the screen size − 100 becomes the screen size − 200.
TWindowPlacement ClampPlacement(TWindowPlacement placement, int screenWidth, int screenHeight);

// The placement stored for windowName, each missing value taken from
// current; the size only when restoreSize is set. The position is clamped
// to the screen (pixels); a stored state other than 0, 1 or 2 keeps the
// current state.
TWindowPlacement RestorePlacement(const SettingsStore& store, std::string_view windowName,
                                  const TWindowPlacement& current, bool restoreSize,
                                  int screenWidth, int screenHeight);

// Writes all five values of the placement.
void SavePlacement(SettingsStore& store, std::string_view windowName, const TWindowPlacement& placement);

} // namespace dvx
