// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps every window of the program inside the usable area of its screen:
// a window asks for a size or a remembered placement that may not fit a
// small screen (or a screen that has changed since), and a frame or status
// bar pushed off-screen cannot be reached.

#include <QMargins>
#include <QRect>

class QWidget;

namespace dvx {

// The window rectangle (without its frame) moved and shrunk so that, with
// the frame margins around it, it lies inside `area`. Never smaller than
// `minimum` (a window that cannot be smaller keeps its top-left corner in
// the area).
QRect FittedGeometry(const QRect& wanted, const QMargins& frame, const QRect& area, const QSize& minimum = {});

// Where a second window of size `wanted` (inside its frame) goes beside a
// window whose frame is `beside`, so that both can be seen: to its right
// where the area has room for the second window's minimum width, else to
// its left, else at the side with more room, overlapping the first window
// as little as its minimum size allows. Returns the inside rectangle; the
// frame margins are those the second window is expected to get.
QRect BesideGeometry(const QRect& beside, const QSize& wanted, const QSize& minimum, const QMargins& frame,
                     const QRect& area);

// The window's frame margins: the real ones once a window manager has framed
// it, else what a frame usually takes (none without a window manager).
QMargins FrameMargins(const QWidget* window);

// The usable area of the screen the window is on (the primary screen when
// it has none yet).
QRect AvailableArea(const QWidget* window);

// Moves and resizes a top-level window into its screen's usable area.
// Maximised and full-screen windows are left to the window system.
void FitOnScreen(QWidget* window);

// From now on, every top-level window of the program is fitted this way
// each time it is shown. Calling it again does nothing.
void FitWindowsOnScreen();

} // namespace dvx
