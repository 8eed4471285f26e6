// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/fluid/Fluid.h"

#include "base/Errors.h"
#include "base/Format.h"
#include "engine/fluid/CorrelationForms.h"
#include "engine/fluid/StreamIO.h"
#include "engine/fluid/TransportProps.h"
#include "engine/fluid/WaterAdditives.h"
#include "engine/fluid/XmlNodeIO.h"

#include <cmath>
#include <memory>

namespace dvx {

const std::array<const char*, 14> LiquidNames = {
    "Water",           "Thermal Oil",         "Engine Oil",     "Glycerin",
    "Ethylene Glycol", "Calcium Chloride",    "Sulphur Dioxide", "Mercury",
    "Liquid Ammonia",  "Liquid Carbon Dioxide", "Methylchloride", "Freon - Liquid R12",
    "Condensed Steam", "Compressed Air",
};

const std::array<const char*, 4> AdditiveNames = {
    "None", "EthyleneGlycol", "PropyleneGlycol", "CalciumChloride",
};

namespace {

// The library's names of liquid code (empty for a code it does not know).
// An evaluation sets the names before any correlation can fail, and they
// depend on the code only, so a liquid read from a file names itself
// before its first evaluation.
TTransportProps LibraryNames(int code, double t) {
    TTransportProps names;
    try {
        names.EvalByCode(code, t);
    } catch (const MathError&) {
    }
    return names;
}

// The valid range reported for every water-additive mixture, °C.
constexpr double MixtureTMin = -30;
constexpr double MixtureTMax = 300;

// The XML integer fields are 8-bit codes.
constexpr std::int64_t CodeMax = 255;

std::uint8_t CodeFromStream(std::int64_t value, const char* what) {
    if (value < 0 || value > CodeMax)
        throw FileError(Format("Invalid %s code %d in the fluid data",
                               {FmtArg(what), FmtArg(static_cast<long long>(value))}));
    return static_cast<std::uint8_t>(value);
}

} // namespace

// TFluid ---------------------------------------------------------------------

void TFluid::SetT(double T) {
    t = T;
    tfo = 2 * T - tfi;
    Evaluate();
}

void TFluid::ReadFromStream(TStreamReader& reader) {
    t = reader.ReadFloat();
    tfi = reader.ReadFloat();
    tfo = reader.ReadFloat();
    Caption = reader.ReadString();
    m = reader.ReadFloat();
    Cp = reader.ReadFloat();
    ro = reader.ReadFloat();
    Ko = reader.ReadFloat();
    mu = reader.ReadFloat();
    Pr = reader.ReadFloat();
    UserCp = reader.ReadFloat();
    UserRo = reader.ReadFloat();
    UserKo = reader.ReadFloat();
    UserMu = reader.ReadFloat();
}

void TFluid::WriteToStream(TStreamWriter& writer) const {
    writer.WriteFloat(t);
    writer.WriteFloat(tfi);
    writer.WriteFloat(tfo);
    writer.WriteString(Caption);
    writer.WriteFloat(m);
    writer.WriteFloat(Cp);
    writer.WriteFloat(ro);
    writer.WriteFloat(Ko);
    writer.WriteFloat(mu);
    writer.WriteFloat(Pr);
    writer.WriteFloat(UserCp);
    writer.WriteFloat(UserRo);
    writer.WriteFloat(UserKo);
    writer.WriteFloat(UserMu);
}

void TFluid::ReadBaseXml(XmlNodeIO& io, pugi::xml_node liquid) {
    io.ReadString(liquid, "Caption", Caption);
    io.ReadFloat(liquid, "t", t);
    io.ReadFloat(liquid, "tfi", tfi);
    io.ReadFloat(liquid, "tfo", tfo);
    io.ReadFloat(liquid, "m", m);
    io.ReadFloat(liquid, "Cp", Cp);
    io.ReadFloat(liquid, "ro", ro);
    io.ReadFloat(liquid, "Ko", Ko);
    io.ReadFloat(liquid, "mu", mu);
    io.ReadFloat(liquid, "Pr", Pr);
    io.ReadBoolean(liquid, "UserProps", UserProps);
    io.ReadFloat(liquid, "UserRo", UserRo);
    io.ReadFloat(liquid, "UserCp", UserCp);
    io.ReadFloat(liquid, "UserMu", UserMu);
    io.ReadFloat(liquid, "UserKo", UserKo);
}

void TFluid::WriteBaseXml(XmlNodeIO& io, pugi::xml_node liquid) const {
    io.WriteString(liquid, "Caption", Caption);
    io.WriteFloat(liquid, "t", "%0.3f", t);
    io.WriteFloat(liquid, "tfi", "%0.3f", tfi);
    io.WriteFloat(liquid, "tfo", "%0.3f", tfo);
    io.WriteFloat(liquid, "m", "%0.3f", m);
    io.WriteFloat(liquid, "Cp", "%0.4f", Cp);
    io.WriteFloat(liquid, "ro", "%0.4f", ro);
    io.WriteFloat(liquid, "Ko", "%0.6g", Ko);
    io.WriteFloat(liquid, "mu", "%0.6g", mu);
    io.WriteFloat(liquid, "Pr", "%0.5f", Pr);
    io.WriteBoolean(liquid, "UserProps", UserProps);
    io.WriteFloat(liquid, "UserRo", "%0.6g", UserRo);
    io.WriteFloat(liquid, "UserCp", "%0.6g", UserCp);
    io.WriteFloat(liquid, "UserMu", "%0.6g", UserMu);
    io.WriteFloat(liquid, "UserKo", "%0.6g", UserKo);
}

void TFluid::ReadFromXml(XmlNodeIO& io, pugi::xml_node element) {
    pugi::xml_node liquid = XmlNodeIO::FindChild(element, XmlElementName);
    if (!liquid) return;
    ReadBaseXml(io, liquid);
}

void TFluid::WriteToXml(XmlNodeIO& io, pugi::xml_node element) const {
    pugi::xml_node liquid = io.FindOrAddChild(element, XmlElementName);
    if (!liquid) return;
    WriteBaseXml(io, liquid);
}

// TLiquid --------------------------------------------------------------------

TLiquid::TLiquid(std::string caption, std::uint8_t liquidSpec, double m_, double tfi_,
                 double tfo_) {
    RangeStatus = 0;
    UserProps = false;
    UserRo = 983.3;
    UserCp = 4.185;
    UserMu = 0.000463;
    UserKo = 0.000653;
    Caption = std::move(caption);
    m = m_;
    tfi = tfi_;
    tfo = tfo_;
    t = (tfi + tfo) / 2;
    LiquidSpec = liquidSpec;
    WaterAdditive = 0;
    AdditiveVolume = 0;
    Evaluate();
    // A fresh liquid's user values start as its computed values.
    UserRo = ro;
    UserCp = Cp;
    UserMu = mu;
    UserKo = Ko;
}

void TLiquid::Evaluate() {
    RangeStatus = 0;
    // Everything is worked out in locals and assigned at the end, so that a
    // correlation that raises leaves the previous values in force.
    double newRo = ro, newCp = Cp, newMu = mu, newKo = Ko; // kg/m³, kJ/(kg·K), Pa·s, kW/(m·K)
    double newMin = ValidTMin, newMax = ValidTMax;          // °C
    std::int32_t status = 0;

    if (UserProps) {
        newRo = UserRo;
        newCp = UserCp;
        newMu = UserMu;
        newKo = UserKo;
    } else if (LiquidSpec == 0 && WaterAdditive != 0 && AdditiveVolume != 0) {
        newMin = MixtureTMin;
        newMax = MixtureTMax;
        status = OutOfRange(t, MixtureTMin, MixtureTMax);
        const double x = AdditiveVolume;
        switch (WaterAdditive) {
        case 1:
            newRo = EthyleneGlycolMixDensity(t, x);
            newCp = EthyleneGlycolMixSpecificHeat(t, x);
            newMu = EthyleneGlycolMixViscosity(t, x);
            newKo = EthyleneGlycolMixConductivity(t, x);
            break;
        case 2:
            newRo = PropyleneGlycolMixDensity(t, x);
            newCp = PropyleneGlycolMixSpecificHeat(t, x);
            newMu = PropyleneGlycolMixViscosity(t, x);
            newKo = PropyleneGlycolMixConductivity(t, x);
            break;
        case 3:
            newRo = CalciumChlorideMixDensity(t, x);
            newCp = CalciumChlorideMixSpecificHeat(t, x);
            newMu = CalciumChlorideMixViscosity(t, x);
            newKo = CalciumChlorideMixConductivity(t, x);
            break;
        default: // an unknown additive leaves the properties as they are
            break;
        }
    } else {
        // Each evaluation has its own result buffer, so liquids evaluated in
        // different threads never share one.
        TTransportProps library;
        const int flag = library.EvalByCode(LiquidSpec, t);
        if (flag >= 0) { // a known liquid code
            status = flag;
            newMin = library.ValidTMin;
            newMax = library.ValidTMax;
            newRo = library.ro;
            newCp = library.Cp;
            newMu = library.mu;
            newKo = library.Ko;
        }
    }

    // Far outside the valid ranges an exponent can overflow; an infinite
    // density or viscosity would only surface later as nonsense in the
    // hydraulics, so it is a floating-point error here.
    if (!std::isfinite(newRo) || !std::isfinite(newCp) || !std::isfinite(newMu) ||
        !std::isfinite(newKo))
        throw MathError("Floating point overflow");

    ro = newRo;
    Cp = newCp;
    mu = newMu;
    Ko = newKo;
    ValidTMin = newMin;
    ValidTMax = newMax;
    RangeStatus = status;
    Pr = Cp * mu / Ko;
}

std::string TLiquid::GetCaption() const {
    if (UserProps) return "User Specified Fluid";
    if (LiquidSpec != 0) return LibraryNames(LiquidSpec, t).Name;
    switch (WaterAdditive) {
    case 0: return "Clean Water";
    case 1: return FormatFloat("Water (%0.0f%% Ethylene Glycol)", AdditiveVolume * 100);
    case 2: return FormatFloat("Water (%0.0f%% Propylene Glycol)", AdditiveVolume * 100);
    case 3: return FormatFloat("Water (%0.0f%% Calcium Chloride)", AdditiveVolume * 100);
    default: return {};
    }
}

std::string TLiquid::GetShortCaption() const {
    if (UserProps) return "User Spec. Fluid";
    if (LiquidSpec != 0) return LibraryNames(LiquidSpec, t).ShortName;
    switch (WaterAdditive) {
    case 0: return "Clean Water";
    case 1: return FormatFloat("%0.0f%% Eth-Glycol", AdditiveVolume * 100);
    case 2: return FormatFloat("%0.0f%% Prop-Glycol", AdditiveVolume * 100);
    case 3: return FormatFloat("%0.0f%% Calc-Chloride", AdditiveVolume * 100);
    default: return {};
    }
}

std::string TLiquid::GetDescription() const {
    return GetCaption() + " " + FormatFloat("%0.1f", t);
}

void TLiquid::ReadFromStream(TStreamReader& reader) {
    TFluid::ReadFromStream(reader);
    LiquidSpec = CodeFromStream(reader.ReadInteger(), "liquid type");
    WaterAdditive = CodeFromStream(reader.ReadInteger(), "additive");
    AdditiveVolume = reader.ReadFloat();
}

void TLiquid::WriteToStream(TStreamWriter& writer) const {
    TFluid::WriteToStream(writer);
    writer.WriteInteger(LiquidSpec);
    writer.WriteInteger(WaterAdditive);
    writer.WriteFloat(AdditiveVolume);
}

void TLiquid::ReadFromXml(XmlNodeIO& io, pugi::xml_node element) {
    pugi::xml_node liquid = XmlNodeIO::FindChild(element, XmlElementName);
    if (!liquid) return;
    ReadBaseXml(io, liquid);
    std::int64_t code = 0;
    if (io.ReadInteger(liquid, "LiquidSpec", code, 0, CodeMax))
        LiquidSpec = static_cast<std::uint8_t>(code);
    if (io.ReadInteger(liquid, "WaterAdditive", code, 0, CodeMax))
        WaterAdditive = static_cast<std::uint8_t>(code);
    io.ReadFloat(liquid, "AdditiveVolume", AdditiveVolume);
    Evaluate();
}

void TLiquid::WriteToXml(XmlNodeIO& io, pugi::xml_node element) const {
    pugi::xml_node liquid = io.FindOrAddChild(element, XmlElementName);
    if (!liquid) return;
    WriteBaseXml(io, liquid);
    // A code outside the name tables (only possible from damaged data) gets
    // an empty caption attribute rather than a read past the table.
    pugi::xml_node spec = io.WriteInteger(liquid, "LiquidSpec", LiquidSpec);
    io.WriteAttribute(spec, "caption", LiquidSpec < LiquidNames.size() ? LiquidNames[LiquidSpec] : "");
    pugi::xml_node additive = io.WriteInteger(liquid, "WaterAdditive", WaterAdditive);
    io.WriteAttribute(additive, "caption",
                      WaterAdditive < AdditiveNames.size() ? AdditiveNames[WaterAdditive] : "");
    io.WriteFloat(liquid, "AdditiveVolume", "%0.3f", AdditiveVolume);
}

} // namespace dvx
