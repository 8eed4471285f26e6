// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The liquid in the circuit: which liquid, its temperature, an optional
// additive to water or the user's own property values, and the properties
// evaluated from them. Each project has one liquid of this kind (its
// TProjectContext::Liquid); the hydraulics read only its ro and mu.

#include <array>
#include <cstdint>
#include <pugixml.hpp>
#include <string>

namespace dvx {

class TStreamReader;
class TStreamWriter;
class XmlNodeIO;

// Names of the liquid types indexed by LiquidSpec (0 "Water" … 13
// "Compressed Air").
extern const std::array<const char*, 14> LiquidNames;
// Labels of WaterAdditive 0 to 3 in the XML form ("None", "EthyleneGlycol", …).
extern const std::array<const char*, 4> AdditiveNames;

class TFluid {
public:
    virtual ~TFluid() = default;

    double AuxValue = 0;     // spare value, not persisted
    double t = 0;            // °C, temperature the properties are evaluated at
    double tfi = 0;          // °C, inlet temperature
    double tfo = 0;          // °C, outlet temperature (t is the mean of tfi and tfo)
    std::string Caption;     // caption text
    double m = 0;            // carried and persisted only
    double ro = 0;           // kg/m³, density
    double Cp = 0;           // kJ/(kg·K), specific heat
    double mu = 0;           // Pa·s, dynamic viscosity
    double Ko = 0;           // kW/(m·K), thermal conductivity
    double Pr = 0;           // —, Prandtl number Cp·mu/Ko
    double ValidTMin = 0;    // °C, lower end of the valid range of the last evaluation
    double ValidTMax = 0;    // °C, upper end of the valid range
    bool UserProps = false;  // true: the properties are the user's values below
    double UserRo = 0;       // kg/m³
    double UserCp = 0;       // kJ/(kg·K)
    double UserMu = 0;       // Pa·s
    double UserKo = 0;       // kW/(m·K)
    std::int32_t RangeStatus = 0; // 0: t inside [ValidTMin, ValidTMax]; 1: outside

    virtual double GetT() const { return t; }
    // Sets t = T (°C) and tfo = 2·T − tfi, then evaluates.
    virtual void SetT(double T);
    virtual std::string GetCaption() const = 0;
    virtual std::string GetShortCaption() const { return GetCaption(); }
    virtual std::string GetDescription() const { return {}; }
    virtual void SetAux(double value) { AuxValue = value; }
    virtual double GetAux() const { return AuxValue; }
    // Evaluates the properties. A correlation with no real value (or a
    // result that overflows) raises MathError and leaves the properties, Pr and the valid range as they
    // were, with RangeStatus 0.
    virtual void Evaluate() = 0;
    virtual void ReadFromStream(TStreamReader& reader);
    virtual void WriteToStream(TStreamWriter& writer) const;
    // The XML form lives in the child element "liquid" of element (never in
    // element itself). Reading does nothing when that child is missing.
    virtual void ReadFromXml(XmlNodeIO& io, pugi::xml_node element);
    virtual void WriteToXml(XmlNodeIO& io, pugi::xml_node element) const;

    // Name of the element that holds a fluid's XML form.
    static constexpr const char* XmlElementName = "liquid";

protected:
    // The base values as child elements of the "liquid" element itself.
    void ReadBaseXml(XmlNodeIO& io, pugi::xml_node liquid);
    void WriteBaseXml(XmlNodeIO& io, pugi::xml_node liquid) const;
};

class TLiquid : public TFluid {
public:
    // Creation: caption, liquid type code, m, inlet and outlet temperature (°C).
    TLiquid(std::string caption, std::uint8_t liquidSpec, double m, double tfi, double tfo);

    std::uint8_t LiquidSpec = 0;    // liquid type code 0 to 13
    std::uint8_t WaterAdditive = 0; // 0 none, 1 ethylene glycol, 2 propylene glycol, 3 calcium chloride
    double AdditiveVolume = 0;      // volume fraction of the additive, 0 to 1

    std::string GetCaption() const override;
    std::string GetShortCaption() const override;
    std::string GetDescription() const override;
    void Evaluate() override;
    // Stream values: the base values, then LiquidSpec, WaterAdditive,
    // AdditiveVolume. Reading does not evaluate; a code that does not fit its
    // field raises FileError.
    void ReadFromStream(TStreamReader& reader) override;
    void WriteToStream(TStreamWriter& writer) const override;
    // Reading evaluates the liquid after the values are in (a MathError of
    // that evaluation reaches the caller, with the values read kept).
    void ReadFromXml(XmlNodeIO& io, pugi::xml_node element) override;
    void WriteToXml(XmlNodeIO& io, pugi::xml_node element) const override;
};

} // namespace dvx
