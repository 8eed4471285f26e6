// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The item list as a text file, one line per item:
//   p, Number, 'Description', ID mm, flow l/s, dP kPa, 'TypeName', length m
//   f, Number, 'Description', ID mm, flow l/s, dP kPa, 'TypeName', type, quantity
//   u, Number, 'Description', ID mm, flow l/s, dP kPa, 'TypeName'
// Only the items travel: no liquid, material, headings or groups. Reading
// skips comment lines, empty lines and unknown kind letters; a field that is
// not a number reads as 0; the bore comes from the inside diameter.

#include "engine/hydraulics/Calc.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dvx {

// The export line of one item, without the line end.
std::string TextItemLine(const TBranch& item);
// Every item's line in list order, each ended by CR LF.
std::string TextItemsContent(const TCircuit& circuit);
// Writes TextItemsContent to path, replacing an existing file. A file that
// cannot be written raises FileError "Error writing <path>".
void WriteTextItemsFile(const TCircuit& circuit, const std::string& path);

struct TTextImport {
    std::vector<std::unique_ptr<TBranch>> Items; // in the file's order
    // One text per line that could not become an item although its kind
    // letter is known (a fitting type outside the fittings table).
    std::vector<std::string> Messages;
    // The file holds something besides blanks and line ends: with no item
    // read, the user is to be told so.
    bool HasText = false;
};

// Reads the lines of a text item file (CR, LF or CR LF end a line) from its
// bytes, decoded by TextFileToUtf8, so every text taken is UTF-8. The items
// are made for project: its defaults and bores, numbered by its item counter.
TTextImport ReadTextItems(std::string_view content, const TProjectContext& project);
// The whole file as bytes; a file that cannot be read raises FileError
// "Error reading <path>".
std::string ReadTextFileBytes(const std::string& path);
// Inserts the items as the main window inserts each one before its first
// row: the circuit starts with them in the reverse of the file's order.
void InsertImportedItems(TCircuit& circuit, TTextImport& import);

} // namespace dvx
