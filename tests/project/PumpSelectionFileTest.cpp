// SPDX-License-Identifier: GPL-3.0-or-later
// The pump selection in the project file: absent while at its defaults (a
// project with only today's pump data is written byte for byte as before),
// read back whole, and refused field by field when out of range.
#include "ProjectTestSupport.h"

#include "base/Errors.h"
#include "storage/project/ProjectFile.h"
#include "storage/project/PumpData.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace dvx {
namespace {

using test::FileBuilder;
using Bytes = std::vector<std::uint8_t>;

class PumpSelectionFile : public test::ProjectFileFixture {};

bool Contains(const Bytes& bytes, const std::string& name) {
    Bytes tag{static_cast<std::uint8_t>(name.size())};
    tag.insert(tag.end(), name.begin(), name.end());
    return std::search(bytes.begin(), bytes.end(), tag.begin(), tag.end()) != bytes.end();
}

TPumpSelection FullSelection() {
    TPumpSelection s;
    s.Speed = 0.85;
    s.Pumps = 3;
    s.Arrangement = TPumpArrangement::Series;
    s.Standby = true;
    s.NpshRequired = {{0, 1.5}, {0.01, 2.5}, {0.02, 5.25}};
    s.SuctionItems = {4, 17, 2};
    s.SuctionHeight = -2.5;
    s.SurfacePressure = 150e3;
    s.VapourPressure = 3170;
    s.NpshMargin = 1.2;
    s.HoursPerYear = 6000;
    s.PricePerKWh = 0.27;
    s.MotorEfficiency = 0.93;
    s.DriveEfficiency = 0.97;
    return s;
}

TEST_F(PumpSelectionFile, WrittenOnlyWhenUsedAndReadBackWhole) {
    TCircuit circuit(project);
    circuit.Append(std::make_unique<TPipe>(project));
    circuit.Pump.Points = {{0, 30, 0}, {0.005, 25, 0.6}, {0.01, 15, 0.7}};
    const Bytes todays = EncodeProject(circuit, *project.Liquid, project.Tables);
    EXPECT_TRUE(Contains(todays, "Pump"));
    EXPECT_FALSE(Contains(todays, "PumpSelection"));

    circuit.Pump.Selection = FullSelection();
    const Bytes withSelection = EncodeProject(circuit, *project.Liquid, project.Tables);
    // Today's bytes, then the selection before the two closing bytes.
    TTagWriter selectionOnly;
    WritePumpSelection(selectionOnly, circuit.Pump.Selection);
    Bytes expected(todays.begin(), todays.end() - 2);
    expected.insert(expected.end(), selectionOnly.Bytes().begin(), selectionOnly.Bytes().end());
    expected.insert(expected.end(), {0x00, 0x00});
    EXPECT_EQ(withSelection, expected);
    EXPECT_EQ(ParseProject(withSelection, *project.Liquid, project).Circuit->Pump, circuit.Pump);

    // A selection without pump points stands on its own.
    TCircuit selectionAlone(project);
    selectionAlone.Pump.Selection = FullSelection();
    const Bytes alone = EncodeProject(selectionAlone, *project.Liquid, project.Tables);
    EXPECT_FALSE(Contains(alone, std::string("\x04Pump", 5) + "\x02"));
    EXPECT_EQ(ParseProject(alone, *project.Liquid, project).Circuit->Pump, selectionAlone.Pump);

    circuit.Pump.Selection = {};
    EXPECT_EQ(EncodeProject(circuit, *project.Liquid, project.Tables), todays);
}

// The file and the command line share one range check: a value refused in
// a file is refused with the sentence darvenix-cli prints for it.
TEST_F(PumpSelectionFile, RangeMessagesAreTheCommandLines) {
    struct Case {
        std::function<void(TPumpSelection&)> spoil;
        const char* message;
    };
    const Case cases[] = {
        {[](TPumpSelection& s) { s.Speed = 1.2; }, "The speed ratio must be 0.1 to 1."},
        {[](TPumpSelection& s) { s.Pumps = 11; }, "The number of pumps must be 1 to 10."},
        {[](TPumpSelection& s) { s.NpshRequired = {{0.001, 2}, {0.001, 3}}; },
         "The NPSH points' flows must rise from point to point."},
        {[](TPumpSelection& s) { s.SurfacePressure = 0; }, "The surface pressure must be 0.001 to 100000 kPa."},
        {[](TPumpSelection& s) { s.MotorEfficiency = 0; }, "The motor efficiency must be 0.1 to 100 %."},
        {[](TPumpSelection& s) { s.SuctionItems = {4, -3}; }, "-3 is not an item number."},
    };
    for (const Case& c : cases) {
        TCircuit circuit(project);
        circuit.Pump.Selection = FullSelection();
        c.spoil(circuit.Pump.Selection);
        try {
            ParseProject(EncodeProject(circuit, *project.Liquid, project.Tables), *project.Liquid, project);
            ADD_FAILURE() << c.message << ": read without complaint";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find(std::string("Pump data: ") + c.message), std::string::npos)
                << e.what();
        }
    }
}

TEST_F(PumpSelectionFile, OutOfRangeValuesAreReadErrors) {
    struct Field {
        const char* name;
        std::function<void(TPumpSelection&)> spoil;
    };
    const double nan = std::nan("");
    const Field fields[] = {
        {"speed 0", [](TPumpSelection& s) { s.Speed = 0; }},
        {"speed above rated", [](TPumpSelection& s) { s.Speed = 1.01; }},
        {"speed NaN", [=](TPumpSelection& s) { s.Speed = nan; }},
        {"no pump", [](TPumpSelection& s) { s.Pumps = 0; }},
        {"eleven pumps", [](TPumpSelection& s) { s.Pumps = 11; }},
        {"arrangement 2", [](TPumpSelection& s) { s.Arrangement = static_cast<TPumpArrangement>(2); }},
        {"negative NPSH", [](TPumpSelection& s) { s.NpshRequired = {{0, -1}}; }},
        {"infinite NPSH flow", [](TPumpSelection& s) { s.NpshRequired = {{INFINITY, 1}}; }},
        {"suction height beyond 10 km", [](TPumpSelection& s) { s.SuctionHeight = 1e5; }},
        {"no surface pressure", [](TPumpSelection& s) { s.SurfacePressure = 0; }},
        {"vapour pressure below -1", [](TPumpSelection& s) { s.VapourPressure = -2; }},
        {"negative margin", [](TPumpSelection& s) { s.NpshMargin = -0.1; }},
        {"more hours than a year has", [](TPumpSelection& s) { s.HoursPerYear = 9000; }},
        {"negative price", [](TPumpSelection& s) { s.PricePerKWh = -0.1; }},
        {"motor efficiency 0", [](TPumpSelection& s) { s.MotorEfficiency = 0; }},
        {"drive efficiency above 1", [](TPumpSelection& s) { s.DriveEfficiency = 1.1; }},
    };
    for (const Field& f : fields) {
        TCircuit circuit(project);
        circuit.Pump.Selection = FullSelection();
        f.spoil(circuit.Pump.Selection);
        EXPECT_THROW(ParseProject(EncodeProject(circuit, *project.Liquid, project.Tables), *project.Liquid, project), FileError) << f.name;
    }
    // Layout 2, a selection given twice, a selection before the circuit.
    auto file = [](const std::function<void(TTagWriter&)>& tail) {
        FileBuilder b;
        b.Start().Circuit(kProjectHeader209, "T", 0).Fluid().Material(0);
        tail(b.w);
        b.End();
        return b.Bytes();
    };
    EXPECT_THROW(ParseProject(file([](TTagWriter& w) {
                                  w.WriteShortName("PumpSelection");
                                  w.WriteInteger(2);
                              }),
                              *project.Liquid, project),
                 FileError);
    EXPECT_THROW(ParseProject(file([](TTagWriter& w) {
                                  WritePumpSelection(w, FullSelection());
                                  WritePumpSelection(w, FullSelection());
                              }),
                              *project.Liquid, project),
                 FileError);
    EXPECT_EQ(ParseProject(file([](TTagWriter& w) { WritePumpSelection(w, FullSelection()); }), *project.Liquid, project)
                  .Circuit->Pump.Selection,
              FullSelection());
}

} // namespace
} // namespace dvx
