// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/widgets/Units.h"

#include <gtest/gtest.h>

namespace dvx {
namespace {

TEST(Units, FamiliesKeepTheirOrdinals) {
    EXPECT_EQ(UnitsTypeName(0), "utNone");
    EXPECT_EQ(UnitsTypeName(utConductivity), "utConductivity");
    EXPECT_EQ(static_cast<int>(utConductivity), 11);
    EXPECT_EQ(static_cast<int>(utDensity), 12);
    EXPECT_EQ(static_cast<int>(utProportion), 40);
    EXPECT_EQ(static_cast<int>(utSpecificHeat), 41);
    EXPECT_EQ(static_cast<int>(utTemperature), 43);
    EXPECT_EQ(static_cast<int>(utViscosity), 49);
    EXPECT_EQ(static_cast<int>(utWaterPressDrop), 53);
    EXPECT_EQ(UnitsTypeName(53), "utWaterPressDrop");
    EXPECT_EQ(UnitsTypeName(54), "");
    EXPECT_EQ(UnitsTypeName(-1), "");
}

TEST(Units, FluidSheetFamilies) {
    struct Case { TUnitsType type; std::size_t count; int index; const char* label; double factor; double zero; const char* format; };
    const Case cases[] = {
        {utTemperature, 3, 1, "°F", 1.8, 32, "%0.1f"},
        {utTemperature, 3, 2, "K", 1, 273.15, "%0.2f"},
        {utProportion, 3, 1, "%", 100, 0, "%0.1f"},
        {utDensity, 3, 1, "mg/L", 1000, 0, "%0.1g"},
        {utDensity, 3, 2, "lb/ft³", 0.06242796057614461, 0, "%0.4g"},
        {utSpecificHeat, 2, 1, "Btu/lb°F", 0.23883448770002388, 0, "%0.4g"},
        {utViscosity, 7, 3, "cP", 1000, 0, "%0.6g"},
        {utViscosity, 7, 6, "lbf·hr/ft²", 5.8014e-06, 0, "%0.6g"},
        {utConductivity, 4, 1, "W/mK", 1000, 0, "%0.6g"},
        {utConductivity, 4, 3, "Btu/hr·ft°F", 577.7, 0, "%0.6g"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnitsOf(c.type).size(), c.count) << c.label;
        std::string format, label;
        double factor = 0, zero = 0;
        UnitsInfo(c.type, c.index, 0, format, label, factor, zero);
        EXPECT_EQ(label, c.label);
        EXPECT_EQ(format, c.format) << c.label;
        EXPECT_DOUBLE_EQ(factor, c.factor) << c.label;
        EXPECT_DOUBLE_EQ(zero, c.zero) << c.label;
    }
    EXPECT_EQ(UnitLabels(utTemperature), (std::vector<std::string>{"°C", "°F", "K"}));
}

TEST(Units, ViscosityUnitsAgreeWithTheirDefinitions) {
    // From the pound (0.45359237 kg), the foot (0.3048 m) and the
    // pound-force (4.4482216152605 N): how many of each unit make 1 Pa·s.
    const double lbm = 0.45359237, ft = 0.3048, lbf = 4.4482216152605;
    const struct {
        int index;
        const char* label;
        double perPascalSecond;
    } cases[] = {
        {3, "cP", 1000},
        {4, "lbm/ft·s", ft / lbm},              // 0.671969
        {5, "lbf·s/ft²", ft * ft / lbf},        // 0.0208854
        {6, "lbf·hr/ft²", ft * ft / lbf / 3600}, // 5.80151e-06
    };
    for (const auto& c : cases) {
        std::string format, label;
        double factor = 0, zero = 0;
        UnitsInfo(utViscosity, c.index, 0, format, label, factor, zero);
        EXPECT_EQ(label, c.label);
        EXPECT_NEAR(factor / c.perPascalSecond, 1.0, 1e-4) << c.label;
    }
    // Water at 20 °C, 0.001002 Pa·s, is 0.000673313 lbm/(ft·s).
    std::string format, label;
    double factor = 0, zero = 0;
    UnitsInfo(utViscosity, 4, 0, format, label, factor, zero);
    EXPECT_NEAR(0.001002 * factor, 0.000673313, 1e-9);
}

TEST(Units, FactorAndZeroRelativeToAnotherBase) {
    std::string format, label;
    double factor = 0, zero = 0;
    // Held in K, shown in °F: 273.15 K is 32 °F and 373.15 K is 212 °F.
    UnitsInfo(utTemperature, 1, 2, format, label, factor, zero);
    EXPECT_NEAR(273.15 * factor + zero, 32.0, 1e-9);
    EXPECT_NEAR(373.15 * factor + zero, 212.0, 1e-9);
    // Held in cP, shown in Pa·s.
    UnitsInfo(utViscosity, 0, 3, format, label, factor, zero);
    EXPECT_DOUBLE_EQ(factor, 0.001);
}

TEST(Units, NoneLeavesEverythingAndUnknownUnitsFail) {
    std::string format = "%0.3f", label = "kPa";
    double factor = 0.001, zero = 5;
    UnitsInfo(utNone, 4, 0, format, label, factor, zero);
    EXPECT_EQ(format, "%0.3f");
    EXPECT_EQ(label, "kPa");
    EXPECT_DOUBLE_EQ(factor, 0.001);
    EXPECT_DOUBLE_EQ(zero, 5);
    EXPECT_THROW(UnitsInfo(utTemperature, 3, 0, format, label, factor, zero), UnitsError);
    EXPECT_THROW(UnitsInfo(utTemperature, 0, -1, format, label, factor, zero), UnitsError);
    EXPECT_THROW(UnitsInfo(utPressure, 0, 0, format, label, factor, zero), UnitsError);
    EXPECT_EQ(label, "kPa"); // unchanged after a failure
    EXPECT_TRUE(UnitLabels(utPressure).empty());
}

} // namespace
} // namespace dvx
