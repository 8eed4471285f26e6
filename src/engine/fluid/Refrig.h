// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The refrigerant library: the file "RefLib8.rdf" in the data folder, an INI
// text with one section per refrigerant (its name, e.g. [R22], then
// key=value lines), loaded at start-up with "R22" selected. The library also
// carries the superheated-vapour enthalpy of the selected refrigerant and a
// root finder set up to invert it.

#include "base/IniDocument.h"
#include "engine/fluid/Root.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dvx {


inline constexpr const char* kRefrigLibFile = "RefLib8.rdf";

// One refrigerant. Temperatures °C, pressure kPa, density kg/m³, molar mass
// kg/kmol; enthalpies from the lists in J/kg with the IIR reference state.
struct TRefrigRecord {
    int InternalNumber = 0;
    std::string RNumber;
    std::string Formula;
    std::string ChemicalName;
    std::string CASNumber;
    int Components = 1;
    std::string RefState;
    std::string SourceFile;
    std::string FluidType;
    double TCrit = 0; // °C
    double PCrit = 0; // kPa
    double DCrit = 0; // kg/m³
    double wm = 0;    // kg/kmol
    double TTrip = 0; // °C
    double TBoil = 0; // °C
    double TMax = 0;  // °C
    double TMin = 0;  // °C
    // Coefficient lists, in file order. Only vh (saturated-vapour enthalpy,
    // J/kg) and sh (superheat factor) enter a function of the library.
    std::array<double, 3> dp{}, bp{};
    std::array<double, 4> lh{}, th{};
    std::array<double, 5> vh{};
    std::array<double, 6> sh{}, vv{}, sv{};
    std::array<double, 8> ic{};
    std::array<double, 4> sc{}, lv{};
    std::array<double, 5> cl{}, cv{};
    std::array<double, 4> ul{}, uv{}, kl{}, kv{};
};

// The built-in record, R22. Its lists other than vh and sh are zero: no
// function of the library reads them.
const TRefrigRecord& BuiltInRefrigRecord();

enum TRefrigStatus : int {
    rsLoaded = 0,          // the selection is loaded
    rsNotInFile = 1,       // the requested refrigerant is not in the file
    rsBelowSaturation = 2, // an enthalpy was asked for below saturation
    rsLoadError = 3,       // the file's section did not read; the built-in record is in force
};

class TRefrigLib {
public:
    // Loads the library from fileName, parsing it once, and selects "R22". A
    // missing file gives an empty list; one that exists but cannot be read
    // (not a regular file, no permission, over kMaxIniFileBytes) gives the
    // same and "Error reading <file>: <reason>" in Errors. A load error names
    // the section, the key and its line, and quotes the value; the section
    // name and the value are cut to 60 bytes with unprintable bytes escaped
    // (QuotedText), so a message stays one short line.
    explicit TRefrigLib(std::string fileName);
    // The same with the file's content already read (fileName only names it
    // in messages; FileDate stays empty).
    TRefrigLib(std::string fileName, IniDocument library);

    // Makes the named refrigerant current (names compared without regard to
    // case). A name not in the file sets rsNotInFile; a list with too few
    // numbers or a number that does not convert sets rsLoadError and notes a
    // message in Errors. Either way the built-in record is then in force.
    void Select(std::string_view name);

    // J/kg, enthalpy of vapour at T (°C) with saturation temperature Ts (°C).
    // Below saturation the status becomes rsBelowSaturation (the value is
    // still given).
    double VapourEnthalpy(double T, double Ts);
    // J/kg, target − h(x, Ts) with the stored Ts and target.
    double Residual(double x);
    // °C, the vapour temperature whose enthalpy is h (J/kg) at saturation
    // temperature Ts (°C), found with the root finder. Raises MathError when
    // there is none.
    double TemperatureForEnthalpy(double h, double Ts);

    TRefrigRecord Data;               // the selected refrigerant
    std::string LoadedName;           // empty until a selection succeeds
    int Index = -1;                   // position of the selection in Sections, -1 when absent
    int Status = rsLoaded;
    TRoot Root;
    long double Ts = 0;               // °C, saturation temperature for Residual
    long double TargetEnthalpy = 0;   // J/kg, target for Residual

    std::string FileName;
    std::vector<std::string> Sections; // section names of the file, sorted (letter case ignored)
    std::vector<int> InternalNumbers;  // "InternalNumber" of each section in Sections (-1 when missing)
    std::string FileDate;              // modification time of the file as text, empty when missing
    std::vector<std::string> Errors;   // load errors met so far, for the caller to show

private:
    void Load(IniDocument library);
    bool ReadRecord(const std::string& section);
    // The file parsed once at load; every selection reads from it.
    std::shared_ptr<const IniDocument> library_;
};

} // namespace dvx
