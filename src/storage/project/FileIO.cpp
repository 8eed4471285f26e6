// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/project/FileIO.h"

namespace dvx {

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path) {
    return ReadFileBytes(path, kMaxProjectFileBytes);
}

} // namespace dvx
