// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small picture buttons of the property sheet: the drop-down triangle,
// the property-editor dots and the two spin triangles.

#include <QPixmap>

class QToolButton;
class QWidget;

namespace dvx {

QPixmap PullDownPicture(); // 10 × 10, a downward triangle
QPixmap PropEdPicture();   // 10 × 10, three dots
QPixmap SpinPicture(bool up); // 6 × 4, an upward or downward triangle

// A hidden, disabled 15 × 15 button without caption, outside the tab order.
QToolButton* MakeButton(QWidget* parent, const QPixmap& picture);

} // namespace dvx
