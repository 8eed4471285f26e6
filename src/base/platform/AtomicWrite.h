// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one routine every writer of the program uses to replace a whole file:
// project files, text item files, settings, catalogues and the install-data
// copies.
//
// The new content goes to a temporary file in the target's folder, is
// flushed to disk, given the target's permissions and renamed over the
// target; the folder is flushed after the rename. Any failure removes the
// temporary file, leaves the previous file byte-identical and raises
// FileError naming the file and the reason.
//
// The temporary is hidden and named after its target,
// ".<first 64 bytes of the name>~darvenix-<16 hex digits>-<8 random>.tmp"
// (so names up to the 255-byte limit still work), and locked while the save
// runs. A save killed before its rename leaves it behind; the next save of
// the same target removes every such temporary of that target that was last
// written before this save began and that no running save holds. Other
// files, and the temporaries of other targets, are left alone.
//
// Rules:
// - A symbolic link is followed (through any chain of links) and the file it
//   names is replaced; the link stays. A link to nothing or a loop of links
//   is an error.
// - An existing target keeps its permission bits (and, where allowed, its
//   owner); a new file gets 0666 less the process umask, as a plain create.
// - Only regular files are replaced: a folder, a FIFO or a device is refused
//   ("... is not a file"), and so is a target without write permission
//   ("... is read-only").
// - A file-size limit (RLIMIT_FSIZE) ends the write with an error instead of
//   killing the process: the first call sets SIGXFSZ to be ignored, so the
//   write fails with EFBIG.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace dvx {

void WriteFileAtomically(const std::filesystem::path& path, std::string_view content);
void WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// The file a write to path replaces: path itself, or the end of its chain
// of symbolic links. Raises FileError for a link to nothing or a loop.
std::filesystem::path ResolveWriteTarget(const std::filesystem::path& path);

// Fault injection for tests: when set, the hook is called before each block
// of the temporary file is written and once after the last, with the path as
// given to the writer and the number of bytes written so far; returning false
// makes the write fail at that point as a full disk would. Pass an empty
// function to remove the hook.
using WriteFaultHook = std::function<bool(const std::string& path, std::size_t written)>;
void SetWriteFaultHook(WriteFaultHook hook);

} // namespace dvx
