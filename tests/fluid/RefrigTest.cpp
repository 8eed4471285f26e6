// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Errors.h"
#include "engine/fluid/Refrig.h"
#include "engine/fluid/Root.h"
#include "settings/TempFolder.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

namespace dvx {
namespace {

using test::TempFolder;
using test::WriteText;

const std::string kShippedLibrary = std::string(DARVENIX_SOURCE_DIR) + "/data/RefLib8.rdf";

void ExpectBuiltIn(const TRefrigRecord& r) {
    const TRefrigRecord& b = BuiltInRefrigRecord();
    EXPECT_EQ(r.RNumber, "R22");
    EXPECT_EQ(r.InternalNumber, b.InternalNumber);
    EXPECT_EQ(r.Formula, "CHClF2");
    EXPECT_EQ(r.ChemicalName, "chlorodifluoromethane");
    EXPECT_EQ(r.CASNumber, "");
    EXPECT_EQ(r.Components, 1);
    EXPECT_EQ(r.RefState, "IIR");
    EXPECT_EQ(r.SourceFile, "R22.FLD");
    EXPECT_EQ(r.FluidType, "Halocarbon-Methane Series");
    EXPECT_EQ(r.TCrit, 96.1);
    EXPECT_EQ(r.PCrit, 4990);
    EXPECT_EQ(r.DCrit, 523.842);
    EXPECT_EQ(r.wm, 86.468);
    EXPECT_EQ(r.TTrip, -157.42);
    EXPECT_EQ(r.TBoil, -40.8);
    EXPECT_EQ(r.TMax, 60);
    EXPECT_EQ(r.TMin, -60);
    EXPECT_EQ(r.vh, b.vh);
    EXPECT_EQ(r.sh, b.sh);
    EXPECT_EQ(r.ic, b.ic);
}

TEST(RefrigLibTest, ShippedLibraryHoldsTheBuiltInR22) {
    TRefrigLib lib(kShippedLibrary);
    EXPECT_EQ(lib.Status, rsLoaded);
    EXPECT_EQ(lib.LoadedName, "R22");
    EXPECT_EQ(lib.Index, 0);
    EXPECT_FALSE(lib.FileDate.empty());
    EXPECT_TRUE(lib.Errors.empty());
    ExpectBuiltIn(lib.Data);
    // Saturated vapour at 0 °C: vh[0] + vh[4].
    EXPECT_NEAR(lib.VapourEnthalpy(0, 0), 405042.8, 1e-6);
}

TEST(RefrigLibTest, AMissingFileKeepsTheBuiltInRecordSilently) {
    TempFolder dir;
    TRefrigLib lib(dir / "RefLib8.rdf");
    EXPECT_EQ(lib.Status, rsNotInFile);
    EXPECT_TRUE(lib.Sections.empty());
    EXPECT_TRUE(lib.FileDate.empty());
    EXPECT_TRUE(lib.Errors.empty());
    EXPECT_EQ(lib.Index, -1);
    ExpectBuiltIn(lib.Data);
}

TEST(RefrigLibTest, SectionsAreSortedAndSelectReadsARecord) {
    TempFolder dir;
    WriteText(dir / "lib.rdf",
              "[r134a]\nInternalNumber=134\nRNumber=R134a\nTCrit=101.06\nvh=1,2,3,4,5\nsh=0.1,0,0,0,0,0,7\n"
              "[R22]\nInternalNumber=22\nRNumber=R22\n"
              "[Ammonia]\nRNumber=R717\nCASNumber=7664-41-7\n");
    TRefrigLib lib(dir / "lib.rdf");
    EXPECT_EQ(lib.Sections, (std::vector<std::string>{"Ammonia", "r134a", "R22"})); // letter case ignored
    EXPECT_EQ(lib.InternalNumbers, (std::vector<int>{-1, 134, 22}));
    EXPECT_EQ(lib.Index, 2);
    EXPECT_EQ(lib.Data.InternalNumber, 22);
    EXPECT_EQ(lib.Data.vh, (std::array<double, 5>{})); // lists missing from the section read as zeros

    lib.Select("R134A");
    EXPECT_EQ(lib.Status, rsLoaded);
    EXPECT_EQ(lib.LoadedName, "R134a");
    EXPECT_EQ(lib.Index, 1);
    EXPECT_EQ(lib.Data.TCrit, 101.06);
    EXPECT_EQ(lib.Data.Formula, "CHClF2"); // from the built-in record, the default for missing keys
    EXPECT_EQ(lib.Data.vh, (std::array<double, 5>{1, 2, 3, 4, 5}));
    EXPECT_EQ(lib.Data.sh[0], 0.1); // the seventh item is beyond the six used

    lib.Select("R999");
    EXPECT_EQ(lib.Status, rsNotInFile);
    EXPECT_EQ(lib.Index, -1);
    ExpectBuiltIn(lib.Data);
}

TEST(RefrigLibTest, LoadErrorsAreReportedNotThrown) {
    struct Case {
        const char* line;
    } cases[] = {
        {"vh=1,2,3"},          // too few numbers
        {"sh=1,2,x,4,5,6"},    // a number that does not convert
        {"dp="},               // empty list
    };
    for (const Case& c : cases) {
        TempFolder dir;
        WriteText(dir / "lib.rdf", std::string("[R22]\nTCrit=50\n") + c.line + "\n");
        TRefrigLib lib(dir / "lib.rdf");
        EXPECT_EQ(lib.Status, rsLoadError) << c.line;
        ASSERT_EQ(lib.Errors.size(), 1u) << c.line;
        EXPECT_NE(lib.Errors[0].find("Error reading " + (dir / "lib.rdf")), std::string::npos);
        EXPECT_TRUE(lib.LoadedName.empty());
        EXPECT_EQ(lib.Data.TCrit, 96.1) << "no half-read record";
    }
}

// The message names the key and its line and quotes only the start of a long
// value, however long the value is.
TEST(RefrigLibTest, LoadErrorMessagesNameKeyAndLineAndStayShort) {
    TempFolder dir;
    const std::string path = dir / "lib.rdf";
    WriteText(path, "[R22]\nTCrit=50\n; comment\nvh=" + std::string(2000, '7') + ",x\n");
    TRefrigLib lib(path);
    ASSERT_EQ(lib.Errors.size(), 1u);
    const std::string& message = lib.Errors[0];
    EXPECT_EQ(message.rfind("Error reading " + path + " [R22]: vh (line 4): ", 0), 0u) << message;
    EXPECT_LT(message.size(), path.size() + 200);
    EXPECT_NE(message.find("7777..."), std::string::npos) << message;
}

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

// A section name or a value is file content like any other: the message cuts
// it and shows its unprintable bytes escaped, whatever the file holds.
TEST(RefrigLibTest, MessagesQuoteFileContentCutAndEscaped) {
    using namespace std::string_literals;
    const std::string longName(400, 'A');
    struct Case {
        std::string section;
        std::string list;   // the line "vh=..." of the section
        std::string quoted; // the message after "Error reading lib.rdf "
    } cases[] = {
        {longName, "1,2", "[" + std::string(57, 'A') + "...]: vh (line 2): 5 numbers expected in '1,2'"},
        {"R\0\x01 x"s, "1,2", "[R\\x00\\x01 x]: vh (line 2): 5 numbers expected in '1,2'"},
        {"R\xff\xc3(\xe2\x82"s, "1,2", "[R\\xFF\\xC3(\\xE2\\x82]: vh (line 2): 5 numbers expected in '1,2'"},
        {"R\x1b[2J\xc2\x9b\x7f"s, "1,2", "[R\\x1B[2J\\xC2\\x9B\\x7F]: vh (line 2): 5 numbers expected in '1,2'"},
        {"R-\xc3\xa9\xe2\x82\xac", "1,2", "[R-\xc3\xa9\xe2\x82\xac]: vh (line 2): 5 numbers expected in '1,2'"},
        {"R134a", "1,\x01\xfe,3,4,5"s,
         "[R134a]: vh (line 2): '\\x01\\xFE' is not a valid floating point value in '1,\\x01\\xFE,3,4,5'"},
        // 500 control bytes: the piece quoted twice, each time cut within
        // 60 bytes after whole escapes.
        {"R134a", "1,#" + std::string(500, '\x02') + "#",
         "[R134a]: vh (line 2): '#" + Repeat("\\x02", 14) + "...' is not a valid floating point value in '1,#" +
             Repeat("\\x02", 13) + "...'"},
    };
    for (const Case& c : cases) {
        TRefrigLib lib("lib.rdf", IniDocument::Parse("[" + c.section + "]\nvh=" + c.list + "\n"));
        lib.Select(c.section);
        EXPECT_EQ(lib.Status, rsLoadError) << c.quoted;
        ASSERT_EQ(lib.Errors.size(), 1u) << c.quoted;
        EXPECT_EQ(lib.Errors[0], "Error reading lib.rdf " + c.quoted);
        EXPECT_LE(lib.Errors[0].size(), 400u);
    }
}

// A library that exists but cannot be read is reported; a missing one is not
// (the built-in record serves without a word).
TEST(RefrigLibTest, AnUnreadableLibraryIsReportedAMissingOneIsNot) {
    TempFolder dir;
    std::filesystem::create_directory(dir / "RefLib8.rdf");
    TRefrigLib unreadable(dir / "RefLib8.rdf");
    EXPECT_EQ(unreadable.Errors, std::vector<std::string>{"Error reading " + (dir / "RefLib8.rdf") + ": not a file"});
    EXPECT_TRUE(unreadable.FileDate.empty());
    TRefrigLib missing(dir / "missing.rdf");
    EXPECT_TRUE(missing.Errors.empty());
    EXPECT_EQ(missing.Status, rsNotInFile);
}

TEST(RefrigLibTest, EnthalpyBelowSaturationSetsTheStatus) {
    TRefrigLib lib(kShippedLibrary);
    double h = lib.VapourEnthalpy(20, 0);
    const auto& a = lib.Data.vh;
    const auto& b = lib.Data.sh;
    EXPECT_NEAR(h, a[0] * (1 + 20 * (b[0] + b[1] * 20)) + a[4], 1e-6);
    EXPECT_EQ(lib.Status, rsLoaded);
    lib.VapourEnthalpy(-1e-10, 0); // within the allowance
    EXPECT_EQ(lib.Status, rsLoaded);
    lib.VapourEnthalpy(-5, 0);
    EXPECT_EQ(lib.Status, rsBelowSaturation);
}

TEST(RefrigLibTest, InvertingTheEnthalpyGivesTheTemperatureBack) {
    TRefrigLib lib(kShippedLibrary);
    EXPECT_EQ(lib.Root.Tolerance, 0.001);
    EXPECT_EQ(lib.Root.MaxIterations, 120);
    for (double ts : {-40.0, -10.0, 0.0, 25.0}) {
        for (double superheat : {0.5, 5.0, 20.0, 60.0}) {
            double h = lib.VapourEnthalpy(ts + superheat, ts);
            EXPECT_NEAR(lib.TemperatureForEnthalpy(h, ts), ts + superheat, 0.001) << ts << " +" << superheat;
            EXPECT_NEAR(lib.Residual(ts + superheat), 0, 1e-6);
        }
    }
    EXPECT_EQ(lib.Status, rsLoaded); // the search never went below saturation
}

double Cubic(double x, void*) { return x * x * x - 2 * x - 5; } // root 2.0945514815423265
double Flat(double, void*) { return 1; }
double Step(double x, void*) { return x < 1 ? -1 : 1; }

TEST(RootTest, NewtonWithBisectionFallback) {
    TRoot root(&Cubic, nullptr);
    EXPECT_EQ(root.Tolerance, 1e-6);
    EXPECT_EQ(root.Step, 0.1);
    EXPECT_EQ(root.MaxIterations, 50);
    EXPECT_NEAR(root.Solve(0, 3), 2.0945514815423265, 1e-6);
    EXPECT_LT(root.Iterations(), 10);

    // From 0 the Newton step leaves [−10, 10]; bisection takes over.
    root.SetDerivative([](double x) { return 3 * x * x - 2; });
    EXPECT_NEAR(root.Solve(-10, 10), 2.0945514815423265, 1e-6);
    EXPECT_NEAR(root.SolveAbove(1.5), 2.0945514815423265, 1e-6);

    // A discontinuity: the derivative is zero, bisection alone closes in.
    TRoot step(&Step, nullptr);
    step.SetTolerance(1e-9, 100);
    EXPECT_NEAR(step.Solve(0, 3), 1, 1e-8);

    TRoot flat(&Flat, nullptr);
    EXPECT_THROW(flat.Solve(0, 1), MathError);
    EXPECT_THROW(flat.SolveAbove(0), MathError);
    TRoot slow(&Step, nullptr);
    slow.SetTolerance(1e-15, 3);
    EXPECT_THROW(slow.Solve(0, 3), MathError);
}

TEST(RootTest, ForwardDifference) {
    TRoot root(&Cubic, nullptr);
    double x = 2;
    double step = x * 0.000344;
    double d = root.ForwardDifference(x);
    EXPECT_EQ(root.LastValue, Cubic(2, nullptr));
    // The same quotient computed here may differ in its last bits (the
    // compiler may fuse a multiply and an add on either side); the bound is
    // the rounding of f divided by the step, far below what another step or
    // another formula would change.
    EXPECT_NEAR(d, (Cubic(x + step, nullptr) - Cubic(x, nullptr)) / ((x + step) - x), 1e-9);
    EXPECT_NEAR(root.ForwardDifference(0), -2, 1e-3); // step 0.000344 at x = 0
}

} // namespace
} // namespace dvx
