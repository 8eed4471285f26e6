// SPDX-License-Identifier: GPL-3.0-or-later
#include "fluid/Refrig.h"

#include "common/Errors.h"
#include "common/Numbers.h"
#include "settings/IniFiles.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>

namespace dvx {

TRefrigLib* RefrigLib = nullptr;

namespace {

TRefrigRecord MakeR22() {
    TRefrigRecord r;
    r.InternalNumber = 0;
    r.RNumber = "R22";
    r.Formula = "CHClF2";
    r.ChemicalName = "chlorodifluoromethane";
    r.CASNumber = "";
    r.Components = 1;
    r.RefState = "IIR";
    r.SourceFile = "R22.FLD";
    r.FluidType = "Halocarbon-Methane Series";
    r.TCrit = 96.1;
    r.PCrit = 4990;
    r.DCrit = 523.842;
    r.wm = 86.468;
    r.TTrip = -157.42;
    r.TBoil = -40.8;
    r.TMax = 60;
    r.TMin = -60;
    r.vh = {251040.6, 373.4119, -1.685585, -0.01689365, 154002.2};
    r.sh = {0.002846625, 6.958993e-07, 1.108134e-05, -5.134816e-08, 1.497383e-07, -7.479003e-10};
    return r;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
}

double ResidualOf(double x, void* context) { return static_cast<TRefrigLib*>(context)->Residual(x); }

std::string FileDateText(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {};
    std::time_t t = info.st_mtime;
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

// Reads the first N numbers of a comma-separated list; raises ConvertError
// when the list has fewer or one of them does not convert.
template <std::size_t N>
void ReadList(const TIniFile& ini, const std::string& section, const char* key, std::array<double, N>& values) {
    std::string text = ini.ReadString(section, key, "0,0,0,0,0,0,0,0,0,0");
    std::string_view rest = text;
    for (std::size_t i = 0; i < N; ++i) {
        if (rest.data() == nullptr)
            throw ConvertError(std::string(key) + ": " + std::to_string(N) + " numbers expected in '" + text + "'");
        auto comma = rest.find(',');
        values[i] = StrToFloat(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
}

} // namespace

const TRefrigRecord& BuiltInRefrigRecord() {
    static const TRefrigRecord r22 = MakeR22();
    return r22;
}

TRefrigLib::TRefrigLib(std::string fileName) : FileName(std::move(fileName)) {
    Data = BuiltInRefrigRecord();
    LoadedName.clear();
    Status = rsLoaded;
    Root.SetFunction(&ResidualOf, this);
    Root.SetDerivative({});
    Root.SetTolerance(0.001, 120);

    std::error_code ec;
    if (std::filesystem::is_regular_file(FileName, ec)) FileDate = FileDateText(FileName);
    TIniFile ini(FileName);
    Sections = ini.ReadSections();
    std::sort(Sections.begin(), Sections.end(), LessIgnoringCase);
    InternalNumbers.resize(Sections.size());
    for (std::size_t i = 0; i < Sections.size(); ++i)
        InternalNumbers[i] = ini.ReadInteger(Sections[i], "InternalNumber", -1);
    Select("R22");
}

bool TRefrigLib::ReadRecord(const std::string& section) {
    TIniFile ini(FileName);
    TRefrigRecord r = Data;
    try {
        r.InternalNumber = ini.ReadInteger(section, "InternalNumber", r.InternalNumber);
        r.RNumber = ini.ReadString(section, "RNumber", r.RNumber);
        r.Formula = ini.ReadString(section, "Formula", r.Formula);
        r.ChemicalName = ini.ReadString(section, "ChemicalName", r.ChemicalName);
        r.CASNumber = ini.ReadString(section, "CASNumber", "");
        r.Components = ini.ReadInteger(section, "Components", r.Components);
        r.RefState = ini.ReadString(section, "RefState", r.RefState);
        r.SourceFile = ini.ReadString(section, "SourceFile", r.SourceFile);
        r.FluidType = ini.ReadString(section, "FluidType", r.FluidType);
        r.TCrit = ini.ReadFloat(section, "TCrit", r.TCrit);
        r.PCrit = ini.ReadFloat(section, "PCrit", r.PCrit);
        r.DCrit = ini.ReadFloat(section, "DCrit", r.DCrit);
        r.wm = ini.ReadFloat(section, "wm", r.wm);
        r.TTrip = ini.ReadFloat(section, "TTrip", r.TTrip);
        r.TBoil = ini.ReadFloat(section, "TBoil", r.TBoil);
        r.TMax = ini.ReadFloat(section, "TMax", r.TMax);
        r.TMin = ini.ReadFloat(section, "TMin", r.TMin);
        ReadList(ini, section, "dp", r.dp);
        ReadList(ini, section, "bp", r.bp);
        ReadList(ini, section, "lh", r.lh);
        ReadList(ini, section, "th", r.th);
        ReadList(ini, section, "vh", r.vh);
        ReadList(ini, section, "sh", r.sh);
        ReadList(ini, section, "vv", r.vv);
        ReadList(ini, section, "sv", r.sv);
        ReadList(ini, section, "ic", r.ic);
        ReadList(ini, section, "sc", r.sc);
        ReadList(ini, section, "lv", r.lv);
        ReadList(ini, section, "cl", r.cl);
        ReadList(ini, section, "cv", r.cv);
        ReadList(ini, section, "ul", r.ul);
        ReadList(ini, section, "uv", r.uv);
        ReadList(ini, section, "kl", r.kl);
        ReadList(ini, section, "kv", r.kv);
    } catch (const ConvertError& e) {
        Errors.push_back("Error reading " + FileName + " [" + section + "]: " + e.what());
        return false;
    }
    Data = r;
    return true;
}

void TRefrigLib::Select(std::string_view name) {
    if (!LoadedName.empty() && SameIniName(name, LoadedName)) return;
    Data = BuiltInRefrigRecord();
    auto found = std::find_if(Sections.begin(), Sections.end(),
                              [&](const std::string& s) { return SameIniName(s, name); });
    if (found != Sections.end()) {
        if (ReadRecord(*found)) {
            LoadedName = Data.RNumber;
            Status = rsLoaded;
        } else {
            // A half-read record would mix two refrigerants.
            Data = BuiltInRefrigRecord();
            LoadedName.clear();
            Status = rsLoadError;
        }
        Index = static_cast<int>(found - Sections.begin());
    } else {
        Status = rsNotInFile;
        Data = BuiltInRefrigRecord();
        Index = -1;
    }
}

double TRefrigLib::VapourEnthalpy(double T, double Ts) {
    const auto& a = Data.vh;
    const auto& b = Data.sh;
    double dT = T - Ts;
    if (dT + 1e-9 < 0) Status = rsBelowSaturation;
    double hv = a[0] + a[1] * Ts + a[2] * Ts * Ts + a[3] * Ts * Ts * Ts;
    double S = dT * (b[0] + b[1] * dT + b[2] * Ts + b[3] * dT * Ts + b[4] * Ts * Ts + b[5] * dT * Ts * Ts);
    return hv * (1 + S) + a[4];
}

double TRefrigLib::Residual(double x) {
    return static_cast<double>(TargetEnthalpy - VapourEnthalpy(x, static_cast<double>(Ts)));
}

double TRefrigLib::TemperatureForEnthalpy(double h, double ts) {
    Ts = ts;
    TargetEnthalpy = h;
    return Root.SolveAbove(ts);
}

} // namespace dvx
