// SPDX-License-Identifier: GPL-3.0-or-later
// The pump settings in the project file: absent unless used, read back in
// every generation, and refused when damaged.
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

class PumpFile : public test::ProjectFileFixture {};

TPumpSettings SomePump() {
    TPumpSettings pump;
    pump.Points = {{0, 32.5, 0}, {0.004, 30.1, 0.55}, {0.008, 24.75, 0.72}, {0.012, 15.2, 0.61}};
    pump.Curve.StaticHead = 3.25;
    pump.Curve.Points = 61;
    pump.Curve.MaxRatio = 1.5;
    return pump;
}

bool ContainsPumpName(const Bytes& bytes) {
    const Bytes name = {0x04, 'P', 'u', 'm', 'p'};
    return std::search(bytes.begin(), bytes.end(), name.begin(), name.end()) != bytes.end();
}

TEST_F(PumpFile, ProjectWithoutPumpIsWrittenAsBefore) {
    TCircuit circuit(project);
    circuit.Append(std::make_unique<TPipe>(project));
    circuit.Append(std::make_unique<TUser>(project));
    const Bytes plain = EncodeProject(circuit, *project.Liquid, project.Tables);
    EXPECT_FALSE(ContainsPumpName(plain));

    // The pump adds its property before the two closing bytes and changes
    // nothing else.
    circuit.Pump = SomePump();
    const Bytes withPump = EncodeProject(circuit, *project.Liquid, project.Tables);
    TTagWriter pumpOnly;
    WritePumpData(pumpOnly, circuit.Pump);
    Bytes expected(plain.begin(), plain.end() - 2);
    expected.insert(expected.end(), pumpOnly.Bytes().begin(), pumpOnly.Bytes().end());
    expected.insert(expected.end(), {0x00, 0x00});
    EXPECT_EQ(withPump, expected);

    // Taking the pump away again, settings included, gives the plain file.
    circuit.Pump = {};
    EXPECT_EQ(EncodeProject(circuit, *project.Liquid, project.Tables), plain);
}

TEST_F(PumpFile, PumpAndCurveSettingsReadBack) {
    struct Case {
        const char* name;
        TPumpSettings pump;
    };
    TPumpSettings settingsOnly;
    settingsOnly.Curve.StaticHead = 12;
    TPumpSettings pointsOnly;
    pointsOnly.Points = {{0.001, 10, 0}, {0.002, 9, 0}};
    for (const Case& c : {Case{"full", SomePump()}, Case{"static head only", settingsOnly},
                          Case{"two points, not yet a curve", pointsOnly}}) {
        SCOPED_TRACE(c.name);
        TCircuit circuit(project);
        circuit.Append(std::make_unique<TPipe>(project));
        circuit.Pump = c.pump;
        const Bytes bytes = EncodeProject(circuit, *project.Liquid, project.Tables);
        EXPECT_TRUE(ContainsPumpName(bytes));
        const TProjectData data = ParseProject(bytes, *project.Liquid, project);
        EXPECT_EQ(data.Circuit->Pump, c.pump);
        EXPECT_EQ(data.Circuit->Count(), 1);
        // Written again, the same bytes.
        EXPECT_EQ(EncodeProject(*data.Circuit, *project.Liquid, project.Tables), bytes);
    }
}

// A file of each generation with one pipe, optionally followed by the pump.
Bytes GenerationFile(const std::string& header, bool v200, const TPumpSettings* pump) {
    FileBuilder b;
    b.Start().Circuit(header, "Plant room", 1).Fluid().Material(0);
    b.ItemHead("TPipe", "Pipe", "Pipe", 4);
    if (v200) b.Raw(5);
    else b.Float(100);
    b.Float(0.02).Float(1234);
    if (!header.empty()) b.Int(2).Bool(false);
    b.Float(12.5).End();
    if (pump) WritePumpData(b.w, *pump);
    b.End();
    return b.Bytes();
}

TEST_F(PumpFile, EveryGenerationReadsWithAndWithoutThePump) {
    struct Generation {
        const char* header;
        bool v200;
    };
    const TPumpSettings pump = SomePump();
    for (const Generation& g : {Generation{kProjectHeader209, false}, Generation{kProjectHeader200, true},
                                Generation{"", false}}) {
        SCOPED_TRACE(g.header);
        const TProjectData without = ParseProject(GenerationFile(g.header, g.v200, nullptr), *project.Liquid, project);
        EXPECT_TRUE(without.Circuit->Pump.IsDefault());
        const TProjectData with = ParseProject(GenerationFile(g.header, g.v200, &pump), *project.Liquid, project);
        EXPECT_EQ(with.Circuit->Pump, pump);
        // The circuit itself reads the same either way.
        ASSERT_EQ(with.Circuit->Count(), 1);
        EXPECT_EQ(with.Circuit->Heading1, "Plant room");
        EXPECT_EQ(with.Circuit->Item(0).BoreIndex, without.Circuit->Item(0).BoreIndex);
        EXPECT_EQ(with.Circuit->Item(0).Group, without.Circuit->Item(0).Group);
        EXPECT_EQ(with.Circuit->Item(0).Flow, 0.02);
        // Saved again, the project is in the current generation and keeps the pump.
        const TProjectData again = ParseProject(EncodeProject(*with.Circuit, *project.Liquid, project.Tables), *project.Liquid, project);
        EXPECT_EQ(again.Version, kProjectHeader209);
        EXPECT_EQ(again.Circuit->Pump, pump);
    }
}

TEST_F(PumpFile, DamagedPumpDataIsAReadError) {
    // Pump values written by hand after a good circuit.
    auto file = [](const std::function<void(TTagWriter&)>& pumpValues) {
        FileBuilder b;
        b.Start().Circuit(kProjectHeader209, "T", 0).Fluid().Material(0);
        pumpValues(b.w);
        b.End();
        return b.Bytes();
    };
    auto values = [](int layout, std::vector<double> point, double staticHead, int points, double ratio) {
        return [=](TTagWriter& w) {
            w.WriteShortName("Pump");
            w.WriteInteger(layout);
            w.WriteListBegin();
            for (double v : point) w.WriteFloat(v);
            w.WriteListEnd();
            w.WriteFloat(staticHead);
            w.WriteInteger(points);
            w.WriteFloat(ratio);
        };
    };
    const double nan = std::nan("");
    struct Case {
        const char* name;
        Bytes bytes;
    };
    std::vector<Case> cases = {
        {"unknown layout", file(values(2, {0, 10, 0}, 0, 41, 1.3))},
        {"flow not a number", file(values(1, {nan, 10, 0}, 0, 41, 1.3))},
        {"infinite head", file(values(1, {0, INFINITY, 0}, 0, 41, 1.3))},
        {"efficiency above 1", file(values(1, {0, 10, 1.5}, 0, 41, 1.3))},
        {"half a point", file(values(1, {0, 10}, 0, 41, 1.3))},
        {"static head not a number", file(values(1, {0, 10, 0}, nan, 41, 1.3))},
        {"static head of 1e308 m", file(values(1, {0, 10, 0}, 1e308, 41, 1.3))},
        {"static head beyond -10 000 m", file(values(1, {0, 10, 0}, -10001, 41, 1.3))},
        {"one curve point", file(values(1, {0, 10, 0}, 0, 1, 1.3))},
        {"a billion curve points", file(values(1, {0, 10, 0}, 0, 1000000000, 1.3))},
        {"ratio 0", file(values(1, {0, 10, 0}, 0, 41, 0))},
        {"ratio beyond 100", file(values(1, {0, 10, 0}, 0, 41, 1e6))},
        {"pump twice", file([&](TTagWriter& w) {
             values(1, {0, 10, 0}, 0, 41, 1.3)(w);
             values(1, {0, 10, 0}, 0, 41, 1.3)(w);
         })},
        {"too many points", file([](TTagWriter& w) {
             w.WriteShortName("Pump");
             w.WriteInteger(1);
             w.WriteListBegin();
             for (int i = 0; i <= kMaxPumpPoints; ++i)
                 for (double v : {0.001 * i, 10.0, 0.0}) w.WriteFloat(v);
             w.WriteListEnd();
             w.WriteFloat(0);
             w.WriteInteger(41);
             w.WriteFloat(1.3);
         })},
    };
    // The pump before the circuit data.
    {
        TTagWriter w;
        w.WriteSignature();
        w.WriteShortName("TCircuit");
        w.WriteShortName("");
        WritePumpData(w, SomePump());
        cases.push_back({"pump before the circuit", w.Bytes()});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(ParseProject(c.bytes, *project.Liquid, project), FileError);
    }
    // The good values those cases vary read.
    EXPECT_EQ(ParseProject(file(values(1, {0, 10, 0}, 0, 41, 1.3)), *project.Liquid, project).Circuit->Pump.Points.size(), 1u);

    // And every truncation of a file with a pump fails.
    TCircuit circuit(project);
    circuit.Pump = SomePump();
    const Bytes full = EncodeProject(circuit, *project.Liquid, project.Tables);
    for (std::size_t n = 0; n < full.size(); ++n)
        EXPECT_THROW(ParseProject(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n)), *project.Liquid, project),
                     FileError)
            << "length " << n;
}

} // namespace
} // namespace dvx
