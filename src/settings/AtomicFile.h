// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole-file replacement that never leaves a half-written file behind: the
// new content goes to a temporary file in the same folder, is flushed to the
// disk and then renamed over the target. A failure at any point leaves the
// previous file as it was and removes the temporary file.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace dvx {

// Replaces the file at path by content. Raises FileError
// "Unable to write to <path>" when any step fails.
void WriteFileAtomically(const std::string& path, std::string_view content);

// Fault injection for tests: when set, the hook is called before each block
// of the temporary file is written, with the target path and the number of
// bytes written so far; returning false makes the write fail at that point as
// a full disk would. Pass an empty function to remove the hook.
using WriteFaultHook = std::function<bool(const std::string& path, std::size_t written)>;
void SetWriteFaultHook(WriteFaultHook hook);

} // namespace dvx
