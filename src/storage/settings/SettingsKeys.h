// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every section and key of the settings store with its type and the default
// used when it is missing. Keys whose default is only known at run time (the
// program folder, the coefficient in force, a window's design placement)
// carry their names here and take the default from the caller.

#include <array>

namespace dvx {

struct TextSetting {
    const char* Section;
    const char* Key;
    const char* Default;
};
struct BoolSetting {
    const char* Section;
    const char* Key;
    bool Default;
};
struct FloatSetting {
    const char* Section;
    const char* Key;
    double Default;
};
struct IntSetting {
    const char* Section;
    const char* Key;
    int Default;
};

namespace settings {

// Window placement: one section per window, named after the window.
inline constexpr const char* kLeft = "Left";         // pixels
inline constexpr const char* kTop = "Top";           // pixels
inline constexpr const char* kWidth = "Width";       // pixels
inline constexpr const char* kHeight = "Height";     // pixels
inline constexpr const char* kWinState = "WinState"; // 0 normal, 1 minimised, 2 maximised
inline constexpr std::array<const char*, 13> kWindowSections = {
    "MainForm", "WarningsForm", "PreviewForm", "FittingsForm", "PipeSpecForm",
    "SummaryForm", "LimitsForm", "DefaultsForm", "InsertForm", "PriceForm",
    "DefaultFlowForm", "PropertiesForm", "FluidSpecForm"};

// Recent files: keys "0" (most recent) to "5", texts, no default.
inline constexpr const char* kMRUSection = "MRU";

// "Tools"/"CurrentDir": folder of the last project chosen; default the
// program's own folder.
inline constexpr const char* kToolsSection = "Tools";
inline constexpr const char* kCurrentDir = "CurrentDir";

inline constexpr BoolSetting ActiveGroups{"Settings", "ActiveGroups", false};
inline constexpr BoolSetting ShowTypes{"Settings", "ShowTypes", true};
// The optional result columns shown in the grid: a bit per column
// (velocity 1, gradient 2, Reynolds 4, friction 8, volume 16); none by default.
inline constexpr IntSetting ExtraColumns{"Settings", "ExtraColumns", 0};
inline constexpr TextSetting GridCols{"Settings", "GridCols", "25, 135, 35, 35, 60, 50, 50, 55, 125"};
inline constexpr FloatSetting LabourRate{"Settings", "LabourRate", 100.0}; // cost per hour
inline constexpr TextSetting MaxFlows{
    "Settings", "MaxFlows",
    "1250, 780, 540, 430, 340, 260, 210, 150, 100, 55, 38, 25, 14, 7.5, 4.8, 2.5, 1.6, 0.8, 0.5, 0.25"};
inline constexpr BoolSetting SplashScreen{"Settings", "SplashScreen", false};
// The currency symbol for prices; empty: the locale's.
inline constexpr TextSetting Currency{"Settings", "Currency", ""};

// Item defaults, texts written "%0.0f" / "%0d".
inline constexpr TextSetting WaterTemp{"Default", "Water Temp", "9"};          // °C
inline constexpr TextSetting PipeDiameter{"Default", "Pipe Diameter", "100"};  // mm
inline constexpr TextSetting PipeLength{"Default", "Pipe Length", "10"};       // m
inline constexpr TextSetting WaterFlow{"Default", "Water Flow", "20"};         // l/s
inline constexpr TextSetting Fitting{"Default", "Fitting", "0"};               // index
inline constexpr TextSetting FittingQuantity{"Default", "Fitting Quantity", "1"};
inline constexpr TextSetting UserDP{"Default", "User dP", "50"};               // kPa

// Warning limits, texts written "%0.1f".
inline constexpr TextSetting PRate{"Limits", "PRate", "1500.0"}; // Pa/m
inline constexpr TextSetting VMax{"Limits", "VMax", "3.5"};      // m/s
// K above a mixture's freezing point; written only once the user changes it.
inline constexpr TextSetting FreezeMargin{"Limits", "FreezeMargin", "2.0"};

// Pipe roughness, texts in mm written "%0.6f".
inline constexpr TextSetting Shed40Steel{"Pipe", "Shed40Steel", "0.046000"};
inline constexpr TextSetting GalvIron{"Pipe", "GalvIron", "0.150000"};
inline constexpr TextSetting DrawnTubing{"Pipe", "DrawnTubing", "0.001500"};

// User coefficients: one key per fitting type named by its FittingName,
// text "%0.2f"; default the coefficient in force.
inline constexpr const char* kFittingsSection = "Fittings";

// Project details defaults. "Author" and "Company" default to the
// platform's registered owner and organisation names.
inline constexpr TextSetting FileName{"File Properties", "Name", ""};
inline constexpr TextSetting FileNumber{"File Properties", "Number", ""};
inline constexpr const char* kFilePropertiesSection = "File Properties";
inline constexpr const char* kAuthor = "Author";
inline constexpr const char* kCompany = "Company";

// Report styles. Margins and tab positions in cm as general-format texts;
// "Zoom" 0 (100 %) or 1 (full page); the font keys default to the
// toolkit's font.
inline constexpr const char* kReportSection = "Report";
inline constexpr const char* kReport2Section = "Report 2";
inline constexpr std::array<const char*, 4> kMarginKeys = {"Left margin", "Right margin", "Top margin",
                                                           "Bottom margin"};
inline constexpr std::array<const char*, 8> kReportTabKeys = {"mX1", "mX2", "mX3", "mX4",
                                                              "mX5", "mX6", "mX7", "mX8"};
inline constexpr std::array<const char*, 8> kReport2TabKeys = {
    "X1 margin", "X2 margin", "X3 margin", "X4 margin", "X5 margin", "X6 margin", "X7 margin", "X8 margin"};
inline constexpr double kDefaultMargin = 2.5; // cm
inline constexpr std::array<double, 8> kDefaultTabs = {3.5, 11, 12, 13, 14, 15, 16, 17}; // cm
inline constexpr const char* kZoom = "Zoom";
inline constexpr int kDefaultZoom = 0;
inline constexpr std::array<const char*, 5> kFontKeys = {"Name", "Charset", "Style", "Size", "Color"};

// Fluid specification sheet: integers "ColWidths<c>" (c from 0) and
// "Units<r>" (r from 1) in section "FluidSpecForm"; defaults the sheet's own.
inline constexpr const char* kFluidSpecSection = "FluidSpecForm";
inline constexpr const char* kColWidthsPrefix = "ColWidths";
inline constexpr const char* kUnitsPrefix = "Units";

} // namespace settings
} // namespace dvx
