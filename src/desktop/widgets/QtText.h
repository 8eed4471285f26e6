// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text between the toolkit-free layers (UTF-8 std::string) and Qt (QString).

#include <QString>

#include <string>
#include <string_view>

namespace dvx {

inline QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

} // namespace dvx
