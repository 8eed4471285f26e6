// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProjectTestSupport.h"

#include "engine/catalogue/Bores.h"
#include "base/Errors.h"
#include "storage/project/FileIO.h"
#include "storage/project/ProjectFile.h"
#include "platform/ChildProcess.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>

namespace dvx {
namespace {

using test::FileBuilder;
using test::FluidValues;
using Bytes = std::vector<std::uint8_t>;

Bytes Text(std::string_view s) { return Bytes(s.begin(), s.end()); }

bool Contains(const Bytes& haystack, const Bytes& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

class ProjectFile : public test::ProjectFileFixture {};

TEST_F(ProjectFile, FileBeginsWithSignatureRootAndHeader) {
    TCircuit circuit(project);
    const Bytes bytes = EncodeProject(circuit, *project.Liquid, project.Tables);
    Bytes expected = {0x54, 0x50, 0x46, 0x30, 0x08};
    for (char c : std::string("TCircuit")) expected.push_back(static_cast<std::uint8_t>(c));
    expected.push_back(0x00);
    expected.push_back(0x07);
    for (char c : std::string("Circuit")) expected.push_back(static_cast<std::uint8_t>(c));
    expected.push_back(0x06);
    expected.push_back(0x17);
    for (char c : std::string("Darvenix 2.09 data file")) expected.push_back(static_cast<std::uint8_t>(c));
    ASSERT_GE(bytes.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bytes.begin()));
    // The circuit's property list and child list close the file.
    EXPECT_EQ(bytes[bytes.size() - 1], 0x00);
    EXPECT_EQ(bytes[bytes.size() - 2], 0x00);
}

TEST_F(ProjectFile, EmptyCircuitWritesCountZeroAndReadsBackEmpty) {
    TCircuit circuit(project);
    circuit.Heading1 = "Empty";
    const Bytes bytes = EncodeProject(circuit, *project.Liquid, project.Tables);
    // The description list is empty and the count follows the date.
    EXPECT_TRUE(Contains(bytes, Bytes{0x01, 0x00}));
    project.ItemCounter = 12;
    TProjectData data = ParseProject(bytes, *project.Liquid, project);
    EXPECT_EQ(data.Circuit->Count(), 0);
    EXPECT_EQ(data.Circuit->Heading1, "Empty");
    EXPECT_EQ(data.HighestNumber, 0);
    EXPECT_EQ(project.ItemCounter, 12); // untouched until the project is installed
    std::unique_ptr<TCircuit> current;
    InstallProject(std::move(data), current, project);
    EXPECT_EQ(project.ItemCounter, 0);
}

TEST_F(ProjectFile, ItemNumbersUseTheSmallestIntegerTag) {
    struct Case {
        std::int32_t number;
        Bytes encoded;
    };
    const Case cases[] = {
        {5, {0x02, 0x05}},
        {300, {0x03, 0x2C, 0x01}},
        {70000, {0x04, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        TCircuit circuit(project);
        auto user = std::make_unique<TUser>(project);
        user->Description = "D";
        user->Number = c.number;
        circuit.Append(std::move(user));
        // TUser record: class, empty instance, "Branch", TypeName, Description, Number.
        Bytes record = {0x05};
        for (auto b : Text("TUser")) record.push_back(b);
        record.push_back(0x00);
        record.push_back(0x06);
        for (auto b : Text("Branch")) record.push_back(b);
        for (auto b : Bytes{0x06, 0x04, 'U', 's', 'e', 'r', 0x06, 0x01, 'D'}) record.push_back(b);
        record.insert(record.end(), c.encoded.begin(), c.encoded.end());
        EXPECT_TRUE(Contains(EncodeProject(circuit, *project.Liquid, project.Tables), record));
    }
}

TEST_F(ProjectFile, DescriptionLineTagsByContent) {
    const std::string longLine(300, 'L');
    const std::string accented = "R\xC3\xA9seau de chauffage";
    TCircuit circuit(project);
    circuit.DescriptionLines = {longLine, accented, "plain"};
    const Bytes bytes = EncodeProject(circuit, *project.Liquid, project.Tables);

    Bytes longRecord = {0x0C, 0x2C, 0x01, 0x00, 0x00};
    longRecord.insert(longRecord.end(), longLine.begin(), longLine.end());
    EXPECT_TRUE(Contains(bytes, longRecord));
    Bytes accentedRecord = {0x14, static_cast<std::uint8_t>(accented.size()), 0x00, 0x00, 0x00};
    accentedRecord.insert(accentedRecord.end(), accented.begin(), accented.end());
    EXPECT_TRUE(Contains(bytes, accentedRecord));

    const TProjectData data = ParseProject(bytes, *project.Liquid, project);
    EXPECT_EQ(data.Circuit->DescriptionLines, circuit.DescriptionLines);
}

// A description of millions of empty lines (two bytes each in the file)
// reads within four times the file's size: the file's bytes and at most
// three times as much again, held to it by an address-space limit in a
// child process.
TEST_F(ProjectFile, ManyEmptyDescriptionLinesReadInBoundedMemory) {
    constexpr std::size_t kLines = 8'000'000;
    Bytes bytes;
    {
        std::vector<std::string> lines(kLines);
        lines.push_back("last");
        TCircuit circuit(project);
        circuit.DescriptionLines = lines;
        bytes = EncodeProject(circuit, *project.Liquid, project.Tables);
    }
    ASSERT_GT(bytes.size(), 2 * kLines);
    const test::ChildOutcome outcome = test::RunInChild(
        [&] {
#ifndef DVX_TEST_ASAN
            std::size_t pages = 0;
            std::ifstream("/proc/self/statm") >> pages;
            const rlim_t inUse = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
            const struct rlimit limit = {inUse + 3 * bytes.size(), inUse + 3 * bytes.size()};
            if (pages == 0 || ::setrlimit(RLIMIT_AS, &limit) != 0) return std::string("no limit set");
#endif
            const TProjectData data = ParseProject(bytes, *project.Liquid, project);
            std::size_t count = 0;
            std::string last;
            for (std::string_view line : data.Circuit->DescriptionLines) {
                last = line;
                ++count;
            }
            return std::to_string(count) + " " + last;
        },
        {.seconds = 120, .addressSpace = RLIM_INFINITY});
    ASSERT_TRUE(outcome.exited) << "ended by signal " << outcome.signal;
    EXPECT_EQ(outcome.text, std::to_string(kLines + 1) + " last");
}

// Every stored field of every item kind, the circuit's own data and the
// liquid survive a write and a read; what the file does not hold comes from
// the tables and the liquid the reader starts from.
TEST_F(ProjectFile, RoundTripOfEveryField) {
    TCircuit circuit(project);
    circuit.Heading1 = "Plant room";
    circuit.Heading2 = "Chilled water \xE2\x80\x93 level 2";
    circuit.DescriptionLines = {"Line one", "", "Line three"};
    circuit.Author = "A. Engineer";
    circuit.Company = "Caf\xC3\xA9 Ltd";
    circuit.CreationDate = 45123.75;
    circuit.Material = 2;

    auto pipe = std::make_unique<TPipe>(project);
    pipe->Description = "Main riser";
    pipe->Number = 3;
    pipe->SetBore(project, 11);
    pipe->Flow = 0.025;
    pipe->PressureDrop = 8077.123456789;
    pipe->Group = 2;
    pipe->InIndex = false;
    pipe->Length = 10.5;
    pipe->Friction = 0.0123; // not stored: comes back as the bore's ff

    auto fitting = std::make_unique<TFitting>(project, 5);
    fitting->TypeName = "Renamed tee"; // the stored name stays
    fitting->Description = "Tee to AHU";
    fitting->Number = -7;
    fitting->SetBore(project, 19);
    fitting->Flow = 1e-5;
    fitting->PressureDrop = std::numeric_limits<double>::denorm_min();
    fitting->Group = -40000;
    fitting->InIndex = true;
    fitting->Length = 6.138;
    fitting->EquivLength = 3.069;
    fitting->Quantity = 2;
    fitting->C = 99; // not stored: comes back from project.Tables.FittingTable

    auto user = std::make_unique<TUser>(project);
    user->Description = std::string(400, 'u');
    user->Number = 70000;
    user->SetBore(project, 0);
    user->Flow = -0.5;
    user->PressureDrop = 50000;
    user->Group = 1;
    user->InIndex = true;

    circuit.Append(std::move(pipe));
    circuit.Append(std::move(fitting));
    circuit.Append(std::move(user));

    TLiquid fluid = *project.Liquid;
    fluid.t = 35.5;
    fluid.tfi = 30;
    fluid.tfo = 41;
    fluid.Caption = "Water (30% Propylene Glycol)";
    fluid.m = 1.25;
    fluid.Cp = 3.9;
    fluid.ro = 1030.5;
    fluid.Ko = 0.00045;
    fluid.mu = 0.0028;
    fluid.Pr = 24.3;
    fluid.UserCp = 4.1;
    fluid.UserRo = 1001;
    fluid.UserKo = 0.0007;
    fluid.UserMu = 0.0011;
    fluid.LiquidSpec = 0;
    fluid.WaterAdditive = 2;
    fluid.AdditiveVolume = 0.3;

    // Fields the file does not carry come from the liquid the reader starts from.
    TLiquid base = *project.Liquid;
    base.UserProps = true;
    base.ValidTMin = -12;
    base.ValidTMax = 99;
    base.RangeStatus = 1;

    const TProjectData data = ParseProject(EncodeProject(circuit, fluid, project.Tables), base, project);
    const TCircuit& c = *data.Circuit;
    EXPECT_EQ(c.Heading1, circuit.Heading1);
    EXPECT_EQ(c.Heading2, circuit.Heading2);
    EXPECT_EQ(c.DescriptionLines, circuit.DescriptionLines);
    EXPECT_EQ(c.Author, circuit.Author);
    EXPECT_EQ(c.Company, circuit.Company);
    EXPECT_EQ(c.CreationDate, circuit.CreationDate);
    EXPECT_EQ(c.Material, 2);
    EXPECT_TRUE(c.Saved);
    EXPECT_FALSE(c.Solved);
    EXPECT_EQ(data.Version, kProjectHeader209);
    EXPECT_EQ(data.HighestNumber, 70000);
    ASSERT_EQ(c.Count(), 3);

    ASSERT_EQ(c.Item(0).Kind(), TItemKind::Pipe);
    const auto& p = static_cast<const TPipe&>(c.Item(0));
    EXPECT_EQ(p.TypeName, "Pipe");
    EXPECT_EQ(p.Description, "Main riser");
    EXPECT_EQ(p.Number, 3);
    EXPECT_EQ(p.BoreIndex, 11);
    EXPECT_EQ(p.InsideDiameter, project.Tables.BoreTable[11].ID);
    EXPECT_EQ(p.Friction, project.Tables.BoreTable[11].ff);
    EXPECT_EQ(p.Flow, 0.025);
    EXPECT_EQ(p.PressureDrop, 8077.123456789);
    EXPECT_EQ(p.Group, 2);
    EXPECT_FALSE(p.InIndex);
    EXPECT_EQ(p.Length, 10.5);

    ASSERT_EQ(c.Item(1).Kind(), TItemKind::Fitting);
    const auto& f = static_cast<const TFitting&>(c.Item(1));
    EXPECT_EQ(f.TypeName, "Renamed tee");
    EXPECT_EQ(f.Description, "Tee to AHU");
    EXPECT_EQ(f.Number, -7);
    EXPECT_EQ(f.BoreIndex, 19);
    EXPECT_EQ(f.Flow, 1e-5);
    EXPECT_EQ(f.PressureDrop, std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(f.Group, -40000);
    EXPECT_TRUE(f.InIndex);
    EXPECT_EQ(f.Length, 6.138);
    EXPECT_EQ(f.EquivLength, 3.069);
    EXPECT_EQ(f.Quantity, 2);
    EXPECT_EQ(f.FittingType, 5);
    EXPECT_EQ(f.C, project.Tables.FittingTable[5].C);

    ASSERT_EQ(c.Item(2).Kind(), TItemKind::User);
    const auto& u = c.Item(2);
    EXPECT_EQ(u.TypeName, "User");
    EXPECT_EQ(u.Description, std::string(400, 'u'));
    EXPECT_EQ(u.Number, 70000);
    EXPECT_EQ(u.BoreIndex, 0);
    EXPECT_EQ(u.Flow, -0.5);
    EXPECT_EQ(u.PressureDrop, 50000);
    EXPECT_EQ(u.Group, 1);
    EXPECT_TRUE(u.InIndex);

    const TLiquid& l = data.Fluid;
    EXPECT_EQ(l.t, 35.5);
    EXPECT_EQ(l.tfi, 30);
    EXPECT_EQ(l.tfo, 41);
    EXPECT_EQ(l.Caption, "Water (30% Propylene Glycol)");
    EXPECT_EQ(l.m, 1.25);
    EXPECT_EQ(l.Cp, 3.9);
    EXPECT_EQ(l.ro, 1030.5); // as stored, not re-evaluated
    EXPECT_EQ(l.Ko, 0.00045);
    EXPECT_EQ(l.mu, 0.0028);
    EXPECT_EQ(l.Pr, 24.3);
    EXPECT_EQ(l.UserCp, 4.1);
    EXPECT_EQ(l.UserRo, 1001);
    EXPECT_EQ(l.UserKo, 0.0007);
    EXPECT_EQ(l.UserMu, 0.0011);
    EXPECT_EQ(l.LiquidSpec, 0);
    EXPECT_EQ(l.WaterAdditive, 2);
    EXPECT_EQ(l.AdditiveVolume, 0.3);
    EXPECT_TRUE(l.UserProps);
    EXPECT_EQ(l.ValidTMin, -12);
    EXPECT_EQ(l.ValidTMax, 99);
    EXPECT_EQ(l.RangeStatus, 1);
}

TEST_F(ProjectFile, ReadingResetsTheSortState) {
    TCircuit circuit(project);
    circuit.Append(std::make_unique<TPipe>(project));
    circuit.SetSortKey(5);
    circuit.SortItems();
    circuit.SetSortKey(1);
    const TProjectData data = ParseProject(EncodeProject(circuit, *project.Liquid, project.Tables), *project.Liquid, project);
    for (bool ascending : data.Circuit->SortAscending) EXPECT_FALSE(ascending);
    EXPECT_EQ(data.Circuit->SecondKey, 0);
    EXPECT_EQ(data.Circuit->TotalCost, 0);
}

TEST_F(ProjectFile, Generation200ReadsTheUntaggedBoreByte) {
    FileBuilder b;
    b.Start().Circuit(kProjectHeader200, "Old project", 2).Fluid().Material(1);
    // A pipe on old bore code 5 (today's 100 mm) and a fitting on code 0 (300 mm).
    b.ItemHead("TPipe", "Pipe", "Pipe", 4).Raw(5).Float(0.02).Float(1234).Int(3).Bool(false).Float(12.5).End();
    b.ItemHead("TFitting", "Fitting", "Gate Valve", 9).Raw(0).Float(0.02).Float(55).Int(0).Bool(true)
        .Float(3.6).Float(3.6).Float(1).Int(12).End();
    b.End();
    const TProjectData data = ParseProject(b.Bytes(), *project.Liquid, project);
    const TCircuit& c = *data.Circuit;
    EXPECT_EQ(data.Version, kProjectHeader200);
    EXPECT_EQ(c.Heading1, "Old project");
    EXPECT_EQ(c.Material, 1);
    ASSERT_EQ(c.Count(), 2);
    EXPECT_EQ(c.Item(0).BoreIndex, 11);
    EXPECT_EQ(NominalOf(project.Tables, c.Item(0).BoreIndex), 100);
    EXPECT_EQ(c.Item(0).Group, 3);
    EXPECT_FALSE(c.Item(0).InIndex);
    EXPECT_EQ(static_cast<const TPipe&>(c.Item(0)).Length, 12.5);
    EXPECT_EQ(c.Item(1).BoreIndex, 6);
    EXPECT_EQ(static_cast<const TFitting&>(c.Item(1)).FittingType, 12);
    EXPECT_EQ(data.HighestNumber, 9);
}

TEST_F(ProjectFile, HeaderlessFileReadsTitleAsHeadingAndDefaultsGroups) {
    FileBuilder b;
    b.Start().Circuit("", "Boiler house", 3).Fluid().Material(0);
    // Numbers 3, 7, 5; a stored nominal of 90 (no such bore) and 15.
    b.ItemHead("TPipe", "Pipe", "Pipe", 3).Float(90).Float(0.01).Float(500).Float(20).End();
    b.ItemHead("TUser", "Branch", "User", 7).Float(15).Float(0.001).Float(40000).End();
    b.ItemHead("TFitting", "Fitting", "Std Elbow 90 deg", 5).Float(750).Float(0.5).Float(10).Float(22)
        .Float(22).Float(1).Int(0).End();
    b.End();
    project.ItemCounter = 1;
    TProjectData data = ParseProject(b.Bytes(), *project.Liquid, project);
    const TCircuit& c = *data.Circuit;
    EXPECT_EQ(data.Version, "Boiler house");
    EXPECT_EQ(c.Heading1, "Boiler house");
    EXPECT_EQ(c.Heading2, "Heading two");
    ASSERT_EQ(c.Count(), 3);
    EXPECT_EQ(NominalOf(project.Tables, c.Item(0).BoreIndex), 100); // 90 → the next bore up
    EXPECT_EQ(NominalOf(project.Tables, c.Item(1).BoreIndex), 15);
    EXPECT_EQ(NominalOf(project.Tables, c.Item(2).BoreIndex), 750);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(c.Item(i).Group, 0);
        EXPECT_TRUE(c.Item(i).InIndex);
    }
    EXPECT_EQ(static_cast<const TPipe&>(c.Item(0)).Length, 20);
    EXPECT_EQ(project.ItemCounter, 1);
    std::unique_ptr<TCircuit> current = std::make_unique<TCircuit>(project);
    InstallProject(std::move(data), current, project);
    EXPECT_EQ(project.ItemCounter, 7);
    EXPECT_EQ(TPipe(project).Number, 8);
}

TEST_F(ProjectFile, NonAsciiTextFromOlderWritersIsConverted) {
    FileBuilder b;
    b.Start();
    b.w.WriteString(kProjectHeader209);
    // Heading1 as Windows-1252 under tag 0x06, Heading2 as UTF-16 under 0x12.
    for (std::uint8_t x : Bytes{0x06, 0x04, 'C', 'a', 'f', 0xE9}) b.Raw(x);
    for (std::uint8_t x : Bytes{0x12, 0x02, 0, 0, 0, 0xAC, 0x20, 'x', 0}) b.Raw(x);
    b.w.WriteListBegin();
    b.w.WriteListEnd();
    b.w.WriteString("");
    b.w.WriteString("");
    b.w.WriteDate(1);
    b.w.WriteInteger(0);
    b.Fluid().Material(0).End();
    const TProjectData data = ParseProject(b.Bytes(), *project.Liquid, project);
    EXPECT_EQ(data.Circuit->Heading1, "Caf\xC3\xA9");
    EXPECT_EQ(data.Circuit->Heading2, "\xE2\x82\xACx");
}

// Damaged files of every kind fail as read errors: never an index out of
// range, a huge allocation or a hang.
TEST_F(ProjectFile, DamagedFilesAreReadErrors) {
    auto withItem = [](auto addItem, int count = 1, int material = 0, FluidValues fluid = {}) {
        FileBuilder b;
        b.Start().Circuit(kProjectHeader209, "T", count).Fluid(fluid).Material(material);
        addItem(b);
        b.End();
        return b.Bytes();
    };
    auto goodPipe = [](FileBuilder& b) {
        b.ItemHead("TPipe", "Pipe", "Pipe", 1).Float(100).Float(0.01).Float(1).Int(0).Bool(true).Float(1).End();
    };
    FluidValues badLiquid;
    badLiquid.LiquidSpec = 14;
    FluidValues badAdditive;
    badAdditive.WaterAdditive = 4;

    struct Case {
        const char* what;
        Bytes bytes;
    };
    std::vector<Case> cases = {
        {"empty file", {}},
        {"wrong signature", Text("TPF1\x08TCircuit")},
        {"wrong root class", [] {
             TTagWriter w;
             w.WriteSignature();
             w.WriteShortName("TCircuiT");
             return w.Bytes();
         }()},
        {"no circuit data", [] {
             TTagWriter w;
             w.WriteSignature();
             w.WriteShortName("TCircuit");
             w.WriteShortName("");
             w.WriteRawByte(0);
             w.WriteRawByte(0);
             return w.Bytes();
         }()},
        {"unknown item class", withItem([](FileBuilder& b) {
             b.ItemHead("TValve", "Pipe", "Pipe", 1).Float(100).Float(0.01).Float(1).Int(0).Bool(true).Float(1).End();
         })},
        {"property of another class", withItem([](FileBuilder& b) {
             b.ItemHead("TPipe", "Fitting", "Pipe", 1).Float(100).Float(0.01).Float(1).Int(0).Bool(true).Float(1).End();
         })},
        {"unexpected tag for a float", withItem([](FileBuilder& b) {
             b.ItemHead("TPipe", "Pipe", "Pipe", 1);
             b.w.WriteString("100");
         })},
        {"fitting type past 23", withItem([](FileBuilder& b) {
             b.ItemHead("TFitting", "Fitting", "X", 1).Float(100).Float(0.01).Float(1).Int(0).Bool(true)
                 .Float(1).Float(1).Float(1).Int(24).End();
         })},
        {"fitting type 255 in the low byte", withItem([](FileBuilder& b) {
             b.ItemHead("TFitting", "Fitting", "X", 1).Float(100).Float(0.01).Float(1).Int(0).Bool(true)
                 .Float(1).Float(1).Float(1).Int(-1).End();
         })},
        {"material past 2", withItem(goodPipe, 1, 3)},
        {"liquid type past 13", withItem(goodPipe, 1, 0, badLiquid)},
        {"water additive past 3", withItem(goodPipe, 1, 0, badAdditive)},
        {"negative item count", withItem(goodPipe, -1)},
        {"item count beyond the file", withItem(goodPipe, 2000000000)},
        {"item count just beyond the items", withItem(goodPipe, 2)},
        {"extra property after the item", withItem([](FileBuilder& b) {
             b.ItemHead("TPipe", "Pipe", "Pipe", 1).Float(100).Float(0.01).Float(1).Int(0).Bool(true).Float(1);
             b.w.WriteShortName("Pipe");
             b.End();
         })},
    };
    // Bore bytes past the last bore in a 2.00 file (14 → index 20; 255 → 261).
    for (std::uint8_t bore : {std::uint8_t{14}, std::uint8_t{255}}) {
        FileBuilder b;
        b.Start().Circuit(kProjectHeader200, "T", 1).Fluid().Material(0);
        b.ItemHead("TPipe", "Pipe", "Pipe", 1).Raw(bore).Float(0.01).Float(1).Int(0).Bool(true).Float(1).End();
        b.End();
        cases.push_back({"2.00 bore byte past the table", b.Bytes()});
    }
    // A 2 GB description line in a small file.
    {
        FileBuilder b;
        b.Start();
        b.w.WriteString(kProjectHeader209);
        b.w.WriteString("");
        b.w.WriteString("");
        b.w.WriteListBegin();
        for (std::uint8_t x : Bytes{0x0C, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 'b'}) b.Raw(x);
        cases.push_back({"oversized string length", b.Bytes()});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_THROW(ParseProject(c.bytes, *project.Liquid, project), FileError);
    }
    // The good file those cases were made from reads.
    EXPECT_EQ(ParseProject(withItem(goodPipe), *project.Liquid, project).Circuit->Count(), 1);
}

TEST_F(ProjectFile, EveryTruncationIsAReadError) {
    TCircuit circuit(project);
    circuit.DescriptionLines = {"a", "b"};
    circuit.Append(std::make_unique<TPipe>(project));
    circuit.Append(std::make_unique<TFitting>(project, 3));
    circuit.Append(std::make_unique<TUser>(project));
    const Bytes full = EncodeProject(circuit, *project.Liquid, project.Tables);
    for (std::size_t n = 0; n < full.size(); ++n) {
        const Bytes part(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_THROW(ParseProject(part, *project.Liquid, project), FileError) << "length " << n;
    }
    EXPECT_EQ(ParseProject(full, *project.Liquid, project).Circuit->Count(), 3);
}

// ReadProject on a damaged file: the message names the file, and neither
// project.ItemCounter nor project.Liquid has moved.
TEST_F(ProjectFile, FailedReadLeavesTheCurrentProject) {
    test::TempFolder dir;
    TCircuit circuit(project);
    circuit.Append(std::make_unique<TPipe>(project));
    Bytes bytes = EncodeProject(circuit, *project.Liquid, project.Tables);
    bytes.resize(bytes.size() - 3); // cut inside the last item
    const auto path = dir / "broken.dvx";
    WriteFileAtomically(path, bytes);

    project.Liquid->t = 42;
    project.Liquid->Caption = "Current";
    project.ItemCounter = 17;
    try {
        (void)ReadProject(path, project);
        FAIL() << "no error";
    } catch (const ProjectFileError& e) {
        EXPECT_EQ(std::string(e.what()), "Error reading " + path.string());
        EXPECT_FALSE(e.Detail().empty());
    }
    EXPECT_EQ(project.Liquid->t, 42);
    EXPECT_EQ(project.Liquid->Caption, "Current");
    EXPECT_EQ(project.ItemCounter, 17);

    EXPECT_THROW((void)ReadProject(dir / "missing.dvx", project), ProjectFileError);
    EXPECT_THROW((void)ReadProject(dir.Path(), project), ProjectFileError); // a folder
}

TEST_F(ProjectFile, WriteThenReadThroughTheFile) {
    test::TempFolder dir;
    TCircuit circuit(project);
    circuit.Heading1 = "On disk";
    circuit.Append(std::make_unique<TPipe>(project));
    project.Liquid->Caption = "Stored";
    const auto path = dir / "job.dvx";
    WriteProject(path, circuit, *project.Liquid, project.Tables);
    project.Liquid->Caption = "Changed since";
    TProjectData data = ReadProject(path, project);
    std::unique_ptr<TCircuit> current = std::make_unique<TCircuit>(project);
    InstallProject(std::move(data), current, project);
    EXPECT_EQ(current->Heading1, "On disk");
    EXPECT_EQ(current->Count(), 1);
    EXPECT_EQ(project.Liquid->Caption, "Stored");
}

} // namespace
} // namespace dvx
