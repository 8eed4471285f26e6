// SPDX-License-Identifier: GPL-3.0-or-later
// The fitting method in the project file: absent for equivalent length (the
// file is byte for byte what it was before methods existed), read back in
// every combination with the pump, refused when damaged, and put in force
// with the project.
#include "ProjectTestSupport.h"

#include "base/Errors.h"
#include "storage/project/CircuitFiles.h"
#include "storage/project/ProjectFile.h"
#include "storage/project/PumpData.h"

#include <algorithm>

namespace dvx {
namespace {

using test::FileBuilder;
using Bytes = std::vector<std::uint8_t>;

class FittingMethodFile : public test::ProjectFileFixture {};

const Bytes kMethodName = {0x0D, 'F', 'i', 't', 't', 'i', 'n', 'g', 'M', 'e', 't', 'h', 'o', 'd'};

bool ContainsMethod(const Bytes& bytes) {
    return std::search(bytes.begin(), bytes.end(), kMethodName.begin(), kMethodName.end()) != bytes.end();
}

void AddItems(const TProjectContext& project, TCircuit& circuit) {
    circuit.Append(std::make_unique<TPipe>(project));
    circuit.Append(std::make_unique<TFitting>(project, 12));
}

TEST_F(FittingMethodFile, OnlyAnotherMethodAddsItsPropertyAtTheEnd) {
    TCircuit circuit(project);
    AddItems(project, circuit);
    const Bytes plain = EncodeProject(circuit, *project.Liquid, project.Tables);
    EXPECT_FALSE(ContainsMethod(plain));

    circuit.FittingMethod = TFittingMethod::ThreeK;
    const Bytes withMethod = EncodeProject(circuit, *project.Liquid, project.Tables);
    Bytes expected(plain.begin(), plain.end() - 2);
    expected.insert(expected.end(), kMethodName.begin(), kMethodName.end());
    TTagWriter value;
    value.WriteInteger(2);
    expected.insert(expected.end(), value.Bytes().begin(), value.Bytes().end());
    expected.insert(expected.end(), {0x00, 0x00});
    EXPECT_EQ(withMethod, expected);

    circuit.FittingMethod = TFittingMethod::EquivalentLength;
    EXPECT_EQ(EncodeProject(circuit, *project.Liquid, project.Tables), plain);
}

TEST_F(FittingMethodFile, ReadsBackWithAndWithoutAPump) {
    for (auto method : {TFittingMethod::EquivalentLength, TFittingMethod::CraneK, TFittingMethod::ThreeK}) {
        for (bool pump : {false, true}) {
            TCircuit circuit(project);
            AddItems(project, circuit);
            circuit.FittingMethod = method;
            if (pump) circuit.Pump.Curve.StaticHead = 4.5;
            const TProjectData data = ParseProject(EncodeProject(circuit, *project.Liquid, project.Tables), *project.Liquid, project);
            EXPECT_EQ(data.Circuit->FittingMethod, method) << static_cast<int>(method) << " pump " << pump;
            EXPECT_EQ(data.Circuit->Pump.Curve.StaticHead, pump ? 4.5 : circuit.Pump.Curve.StaticHead);
        }
    }
}

TEST_F(FittingMethodFile, DamagedMethodIsAReadError) {
    auto file = [](auto tail) {
        FileBuilder b;
        b.Start().Circuit(kProjectHeader209, "T", 0).Fluid().Material(0);
        tail(b.w);
        b.End();
        return b.Bytes();
    };
    auto method = [](std::int64_t v) {
        return [v](TTagWriter& w) {
            w.WriteShortName("FittingMethod");
            w.WriteInteger(v);
        };
    };
    struct Case {
        const char* what;
        Bytes bytes;
    };
    const Case cases[] = {
        {"method 0, never written", file(method(0))},
        {"method 3", file(method(3))},
        {"method -1", file(method(-1))},
        {"method twice", file([&](TTagWriter& w) {
             method(1)(w);
             method(2)(w);
         })},
        {"method as text", file([](TTagWriter& w) {
             w.WriteShortName("FittingMethod");
             w.WriteString("1");
         })},
        {"method without a value", file([](TTagWriter& w) { w.WriteShortName("FittingMethod"); })},
    };
    for (const Case& c : cases) EXPECT_THROW(ParseProject(c.bytes, *project.Liquid, project), FileError) << c.what;
    // The good one reads.
    EXPECT_EQ(ParseProject(file(method(1)), *project.Liquid, project).Circuit->FittingMethod, TFittingMethod::CraneK);
}

TEST_F(FittingMethodFile, OpeningAProjectPutsItsMethodInForce) {
    test::TempFolder folder;
    TCircuit crane(project);
    AddItems(project, crane);
    crane.FittingMethod = TFittingMethod::CraneK;
    WriteProject(folder / "crane.dvx", crane, *project.Liquid, project.Tables);
    TCircuit plain(project);
    AddItems(project, plain);
    WriteProject(folder / "plain.dvx", plain, *project.Liquid, project.Tables);

    ApplyLoadedCircuit(LoadCircuitFile(folder / "crane.dvx", project), project);
    EXPECT_EQ(project.Tables.FittingMethod, TFittingMethod::CraneK);
    // A project without the property is one by equivalent length, whatever was in force.
    ApplyLoadedCircuit(LoadCircuitFile(folder / "plain.dvx", project), project);
    EXPECT_EQ(project.Tables.FittingMethod, TFittingMethod::EquivalentLength);
}

} // namespace
} // namespace dvx
