// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main tool bar's pictures: the desktop's icon theme gives them where it
// has them, and pictures drawn here stand in where it has not (no theme, or
// no picture of that name in it).

#include <QIcon>

namespace dvx {

enum class TToolPicture { New, Open, Save, Renumber, Calculate, Report, Pump };

// The theme's icon for the picture, else the one drawn here.
QIcon ToolIcon(TToolPicture picture);

// The picture as drawn here, whatever the theme holds.
QIcon DrawnToolIcon(TToolPicture picture);

} // namespace dvx
