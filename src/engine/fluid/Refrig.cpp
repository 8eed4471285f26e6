// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/fluid/Refrig.h"

#include "base/Errors.h"
#include "base/Numbers.h"
#include "base/Format.h"
#include "base/IniDocument.h"
#include "base/QuotedText.h"
#include "base/platform/IniFileIO.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>

namespace dvx {


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
// when the list has fewer or one of them does not convert. The message names
// the key and its line and quotes at most the start of the value.
template <std::size_t N>
void ReadList(const IniDocument& ini, const std::string& section, const char* key, std::array<double, N>& values) {
    std::string text = ini.Value(section, key).value_or("0,0,0,0,0,0,0,0,0,0");
    auto fail = [&](const std::string& what) {
        std::string where = std::string(key);
        if (std::size_t line = ini.LineOf(section, key)) where += " (line " + std::to_string(line) + ")";
        throw ConvertError(where + ": " + what + " in '" + QuotedText(text) + "'");
    };
    std::string_view rest = text;
    for (std::size_t i = 0; i < N; ++i) {
        if (rest.data() == nullptr) fail(std::to_string(N) + " numbers expected");
        auto comma = rest.find(',');
        auto value = TryStrToFloat(rest.substr(0, comma));
        if (!value) fail("'" + QuotedText(rest.substr(0, comma)) + "' is not a valid floating point value");
        values[i] = *value;
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
}

// Scalars: the value, or current when the key is missing or does not convert.
double ReadNumber(const IniDocument& ini, const std::string& section, const char* key, double current) {
    auto text = ini.Value(section, key);
    return text ? TryStrToFloat(*text).value_or(current) : current;
}

int ReadInt(const IniDocument& ini, const std::string& section, const char* key, int current) {
    auto text = ini.Value(section, key);
    return text ? TryStrToInt(*text).value_or(current) : current;
}

std::string ReadText(const IniDocument& ini, const std::string& section, const char* key, const std::string& current) {
    return ini.Value(section, key).value_or(current);
}

} // namespace

const TRefrigRecord& BuiltInRefrigRecord() {
    static const TRefrigRecord r22 = MakeR22();
    return r22;
}

TRefrigLib::TRefrigLib(std::string fileName) : FileName(std::move(fileName)) {
    IniLoad load = LoadIniFile(FileName);
    if (load.Read()) FileDate = FileDateText(FileName);
    // A missing library is normal (no message); one that exists but cannot
    // be read is reported.
    if (!load.Error.empty()) Errors.push_back("Error reading " + FileName + ": " + load.Reason);
    Load(std::move(load.Doc));
}

TRefrigLib::TRefrigLib(std::string fileName, IniDocument library) : FileName(std::move(fileName)) {
    Load(std::move(library));
}

void TRefrigLib::Load(IniDocument library) {
    Data = BuiltInRefrigRecord();
    LoadedName.clear();
    Status = rsLoaded;
    Root.SetFunction(&ResidualOf, this);
    Root.SetDerivative({});
    Root.SetTolerance(0.001, 120);

    auto shared = std::make_shared<IniDocument>(std::move(library));
    library_ = shared;
    const IniDocument& ini = *shared;
    Sections = ini.Sections();
    std::sort(Sections.begin(), Sections.end(), LessIgnoringCase);
    InternalNumbers.resize(Sections.size());
    for (std::size_t i = 0; i < Sections.size(); ++i)
        InternalNumbers[i] = ReadInt(ini, Sections[i], "InternalNumber", -1);
    Select("R22");
}

bool TRefrigLib::ReadRecord(const std::string& section) {
    const IniDocument& ini = *library_;
    TRefrigRecord r = Data;
    try {
        r.InternalNumber = ReadInt(ini, section, "InternalNumber", r.InternalNumber);
        r.RNumber = ReadText(ini, section, "RNumber", r.RNumber);
        r.Formula = ReadText(ini, section, "Formula", r.Formula);
        r.ChemicalName = ReadText(ini, section, "ChemicalName", r.ChemicalName);
        r.CASNumber = ReadText(ini, section, "CASNumber", "");
        r.Components = ReadInt(ini, section, "Components", r.Components);
        r.RefState = ReadText(ini, section, "RefState", r.RefState);
        r.SourceFile = ReadText(ini, section, "SourceFile", r.SourceFile);
        r.FluidType = ReadText(ini, section, "FluidType", r.FluidType);
        r.TCrit = ReadNumber(ini, section, "TCrit", r.TCrit);
        r.PCrit = ReadNumber(ini, section, "PCrit", r.PCrit);
        r.DCrit = ReadNumber(ini, section, "DCrit", r.DCrit);
        r.wm = ReadNumber(ini, section, "wm", r.wm);
        r.TTrip = ReadNumber(ini, section, "TTrip", r.TTrip);
        r.TBoil = ReadNumber(ini, section, "TBoil", r.TBoil);
        r.TMax = ReadNumber(ini, section, "TMax", r.TMax);
        r.TMin = ReadNumber(ini, section, "TMin", r.TMin);
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
        Errors.push_back("Error reading " + FileName + " [" + QuotedText(section) + "]: " + e.what());
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
