// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the help page and the manual are found. A build tree keeps Help/ and
// Manual/ beside the programs, in the program folder. An installation keeps
// them with the program's other shared files, in <prefix>/share/darvenix/,
// while the programs live in <prefix>/lib/darvenix/: two levels up from the
// program folder. They are not kept under share/doc/: a system may leave
// that folder out (minimal and container installs do), and the program
// needs its pages at run time.

#include <string>
#include <string_view>

namespace dvx {

// The installed folder of the pages for a program folder (both end with
// "/"): programFolder + "../../share/darvenix/", without the "..".
std::string InstalledDocFolderFor(std::string_view programFolder);

// The file of a page given relative to the documentation ("Help/Darvenix.htm"):
// in the program folder when it is there, else in the installed folder of
// the pages when it is there, else the program folder's path (so
// that a message names the place the page was first looked for).
std::string DocumentPathFor(std::string_view programFolder, std::string_view relativePath);

// The same for the running program's folder.
std::string DocumentPath(std::string_view relativePath);

} // namespace dvx
