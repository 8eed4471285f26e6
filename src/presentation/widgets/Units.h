// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The units service: unit families with their labels, factors, zeros and
// display formats. A value is held in the family's internal unit and shown
// as display = internal × factor + zero.
//
// Every family name exists, but only the six families the fluid sheet uses
// (conductivity, density, proportion, specific heat, temperature, viscosity)
// carry a table of units; asking for a unit of any other family fails.

#include <stdexcept>
#include <string>
#include <vector>

namespace dvx {

enum TUnitsType {
    utNone,
    utAirFlowPrim,
    utAirFlowSec,
    utAirFlowSmall,
    utAirFlowRate,
    utAirPressDrop,
    utAltitude,
    utAngularSpeed,
    utArea,
    utCondensateRate,
    utConductance,
    utConductivity,
    utDensity,
    utDiameter,
    utDutyPrim,
    utDutySec,
    utDutyRate,
    utEnergy,
    utEnthalpy,
    utFinDensity,
    utHeatOfRespir,
    utHeatTransCoeff,
    utHumidity,
    utLengthBig,
    utLengthMeasure,
    utLengthPrim,
    utLengthSec,
    utLengthSmall,
    utMass,
    utMassFlow,
    utMassFlowGas,
    utMassFlux,
    utMetRate,
    utPeopleDensity,
    utPower,
    utPressure,
    utPressureBar,
    utPressureSteam,
    utPressureRateGas,
    utPressureRateLiquid,
    utProportion,
    utSpecificHeat,
    utSpecificVol,
    utTemperature,
    utTemperatureChange,
    utThermalCapacity,
    utThermalResist,
    utTime,
    utVelocity,
    utViscosity,
    utVolume,
    utVolumeFluid,
    utWaterFlow,
    utWaterPressDrop,
};

inline constexpr int UnitsTypeCount = 54;

// The enumeration name of a family ("utTemperature"); "" outside the range.
std::string UnitsTypeName(int type);

// One unit of a family, relative to the family's internal unit (index 0).
struct TUnitDef {
    const char* Label;
    double Factor; // display = internal × Factor + Zero
    double Zero;
    const char* Format; // printf-style display format
};

// The units of a family in index order; empty for utNone and for families
// without a table.
const std::vector<TUnitDef>& UnitsOf(TUnitsType type);

// The labels of a family in index order (the list the units chooser shows).
std::vector<std::string> UnitLabels(TUnitsType type);

class UnitsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Display format, label, factor and zero of unit `value` relative to unit
// `base` of family `type`: a number held in the base unit is shown in unit
// `value` as held × factor + zero. For utNone nothing is changed (callers
// keep their own format, label, factor and zero). A family without a table,
// or an index outside it, raises UnitsError and changes nothing.
void UnitsInfo(TUnitsType type, int value, int base, std::string& format, std::string& label,
               double& factor, double& zero);

} // namespace dvx
