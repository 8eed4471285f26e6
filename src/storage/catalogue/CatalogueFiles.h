// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The catalogue files in the data folder override the built-in tables at
// start-up, and the cost editors write the price and labour keys back.
//
//   "SteelPipe.ini"      one section per bore (named by BoreName): ID (m), ff,
//                        mf (l/s), ListPrice, LabourTime of the steel column
//   "GalvIronPipe.ini"   ListPrice, LabourTime of the galvanised-iron column
//   "DrawnTubePipe.ini"  ListPrice, LabourTime of the drawn-tubing column
//   "PipeFittings.ini"   one section per fitting type (named by FittingName):
//                        C, and "Price" and "LabourTime" as lists of 20 values
//                        in BoreIndex order, written "%0.2f," each
//
// The program never writes ID, ff, mf or C. Also here: the pipe roughness
// settings (section "Pipe") and the user's fitting coefficients (section
// "Fittings") of the settings store.

#include <string>
#include <string_view>
#include <vector>

namespace dvx {

class SettingsStore;
struct TCatalogueTables;

inline constexpr const char* kSteelPipeFile = "SteelPipe.ini";
inline constexpr const char* kGalvIronPipeFile = "GalvIronPipe.ini";
inline constexpr const char* kDrawnTubePipeFile = "DrawnTubePipe.ini";
inline constexpr const char* kPipeFittingsFile = "PipeFittings.ini";

// Reads the four catalogue files of dataFolder (ending with "/") into
// tables. A missing or non-numeric value leaves the value in memory, silently.
// Returns the messages for the caller to show: "Error reading " + full path
// for each missing file, the same followed by ": " and the reason for a file
// that exists but cannot be read (not a regular file, no permission, larger
// than kMaxIniFileBytes), and once for "PipeFittings.ini" when a price or
// labour item did not convert. Each file is read and parsed once. Then the
// further materials' files (storage/catalogue/MaterialFiles.h) replace the
// list of further materials, with a message for each file not used.
std::vector<std::string> LoadCatalogues(const std::string& dataFolder, TCatalogueTables& tables);

// The same for one file already read: the steel file (bore data and the
// steel cost column), a cost file of another material, the fittings file
// (false when a price or labour item did not convert), into tables.
class IniDocument;
void ApplySteelCatalogue(const IniDocument& ini, TCatalogueTables& tables);
void ApplyPipeCostCatalogue(const IniDocument& ini, int material, TCatalogueTables& tables);
bool ApplyFittingsCatalogue(const IniDocument& ini, TCatalogueTables& tables);

// Writes the pipe cost columns and the fittings' "Price" and "LabourTime"
// lists of tables; files that do not exist are created. Raises FileError
// "Unable to write to <file>" when a file cannot be written.
void SaveCatalogues(const std::string& dataFolder, const TCatalogueTables& tables);

// Splits a stored list at commas and blanks; a double-quoted item may hold
// blanks ("" inside quotes is one quote). A trailing comma gives an empty
// last item.
std::vector<std::string> SplitCatalogueList(std::string_view text);

// The written form of a list: each value "%0.2f," (so it ends in a comma).
std::string FormatCatalogueList(const double* values, int count);

// Section "Pipe": the three roughness texts (mm, "%0.6f", defaults 0.046000,
// 0.150000, 0.001500) converted into tables.MaterialRoughness (m) in
// material order. A text that is not a number raises ConvertError; the
// materials before it are already taken. tables.CurrentRoughness is not
// touched.
void LoadRoughnessSettings(const SettingsStore& store, TCatalogueTables& tables);
void SaveRoughnessSettings(SettingsStore& store, const TCatalogueTables& tables);

// Section "Fittings": for each type of tables.FittingTable in table order
// the stored coefficient, the one in force formatted "%0.2f" when the key
// is missing (so it comes back rounded to two decimals). A text that is not a number raises
// ConvertError; the types after it keep their coefficients.
void LoadFittingsSettings(const SettingsStore& store, TCatalogueTables& tables);
void SaveFittingsSettings(SettingsStore& store, const TCatalogueTables& tables);

} // namespace dvx
