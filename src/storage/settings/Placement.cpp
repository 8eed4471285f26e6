// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/settings/Placement.h"

#include "storage/settings/SettingsKeys.h"
#include "storage/settings/SettingsStore.h"

#include <string>

namespace dvx {

namespace {

int ClampCoordinate(int value, int screenSize) {
    if (value < 0) value = 0;
    if (value > screenSize - 100) value = screenSize - 200;
    return value;
}

} // namespace

TWindowPlacement ClampPlacement(TWindowPlacement placement, int screenWidth, int screenHeight) {
    placement.Left = ClampCoordinate(placement.Left, screenWidth);
    placement.Top = ClampCoordinate(placement.Top, screenHeight);
    return placement;
}

TWindowPlacement RestorePlacement(const SettingsStore& store, std::string_view windowName,
                                  const TWindowPlacement& current, bool restoreSize,
                                  int screenWidth, int screenHeight) {
    using namespace settings;
    TWindowPlacement p = current;
    p.Left = store.ReadInteger(windowName, kLeft, current.Left);
    p.Top = store.ReadInteger(windowName, kTop, current.Top);
    if (restoreSize) {
        p.Width = store.ReadInteger(windowName, kWidth, current.Width);
        p.Height = store.ReadInteger(windowName, kHeight, current.Height);
    }
    p = ClampPlacement(p, screenWidth, screenHeight);
    int state = store.ReadInteger(windowName, kWinState, current.WinState);
    p.WinState = (state >= 0 && state <= 2) ? state : current.WinState;
    return p;
}

void SavePlacement(SettingsStore& store, std::string_view windowName, const TWindowPlacement& placement) {
    using namespace settings;
    auto line = [](const char* key, int value) { return std::string(key) + "=" + std::to_string(value); };
    store.WriteValues(windowName, {line(kLeft, placement.Left), line(kTop, placement.Top),
                                   line(kWidth, placement.Width), line(kHeight, placement.Height),
                                   line(kWinState, placement.WinState)});
}

} // namespace dvx
