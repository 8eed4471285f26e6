// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the help page and the manual are found. A build tree keeps Help/ and
// Manual/ beside the programs, in the program folder. An installation keeps
// them with the rest of the package's documentation, in
// <prefix>/share/doc/darvenix/, while the programs live in
// <prefix>/lib/darvenix/: two levels up from the program folder.

#include <string>
#include <string_view>

namespace dvx {

// The installed documentation folder for a program folder (both end with
// "/"): programFolder + "../../share/doc/darvenix/", without the "..".
std::string InstalledDocFolderFor(std::string_view programFolder);

// The file of a page given relative to the documentation ("Help/Darvenix.htm"):
// in the program folder when it is there, else in the installed
// documentation folder when it is there, else the program folder's path (so
// that a message names the place the page was first looked for).
std::string DocumentPathFor(std::string_view programFolder, std::string_view relativePath);

// The same for the running program's folder.
std::string DocumentPath(std::string_view relativePath);

} // namespace dvx
