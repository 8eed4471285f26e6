// SPDX-License-Identifier: GPL-3.0-or-later
// K items and valves in every file and table the program writes: the
// project file (a class each, refused by readers that predate them), the
// text item file ("k" and "v" lines), and the copy/paste table.
#include "ProjectTestSupport.h"

#include "base/Errors.h"
#include "storage/project/ItemTable.h"
#include "storage/project/ProjectFile.h"
#include "storage/project/TextItems.h"

#include <cmath>

namespace dvx {
namespace {

using Bytes = std::vector<std::uint8_t>;

class ResistanceItemFiles : public test::ProjectFileFixture {};

void AddOneOfEach(const TProjectContext& project, TCircuit& circuit) {
    auto k = std::make_unique<TKItem>(project);
    k->Description = "Tank outlet";
    k->K = 0.5;
    k->Flow = 0.004;
    k->SetBoreFromNominal(project, 65);
    auto valve = std::make_unique<TValve>(project);
    valve->Description = "Balancing valve \xE2\x80\x93 riser 2";
    valve->Kv = 6.3;
    valve->Flow = 0.0015;
    valve->SetBoreFromNominal(project, 40);
    valve->Group = 3;
    valve->InIndex = false;
    circuit.Append(std::move(k));
    circuit.Append(std::move(valve));
}

TEST_F(ResistanceItemFiles, ProjectFileKeepsBothKinds) {
    TCircuit circuit(project);
    AddOneOfEach(project, circuit);
    circuit.Calculate(project, false);
    const TProjectData data = ParseProject(EncodeProject(circuit, *project.Liquid, project.Tables), *project.Liquid, project);
    ASSERT_EQ(data.Circuit->Count(), 2);
    const auto& k = dynamic_cast<const TKItem&>(data.Circuit->Item(0));
    EXPECT_EQ(k.K, 0.5);
    EXPECT_EQ(k.Description, "Tank outlet");
    EXPECT_EQ(k.BoreIndex, circuit.Item(0).BoreIndex);
    const auto& valve = dynamic_cast<const TValve&>(data.Circuit->Item(1));
    EXPECT_EQ(valve.Kv, 6.3);
    EXPECT_EQ(valve.Group, 3);
    EXPECT_FALSE(valve.InIndex);
    EXPECT_EQ(valve.Flow, 0.0015);
    EXPECT_EQ(valve.PressureDrop, circuit.Item(1).PressureDrop);
}

TEST_F(ResistanceItemFiles, ProjectFileRefusesValuesThatAreNoResistance) {
    for (double bad : {0.0, -2.0, std::nan(""), double(INFINITY)}) {
        TCircuit circuit(project);
        AddOneOfEach(project, circuit);
        static_cast<TKItem&>(circuit.Item(0)).K = bad;
        EXPECT_THROW(ParseProject(EncodeProject(circuit, *project.Liquid, project.Tables), *project.Liquid, project), FileError) << bad;
        TCircuit valves(project);
        AddOneOfEach(project, valves);
        static_cast<TValve&>(valves.Item(1)).Kv = bad;
        EXPECT_THROW(ParseProject(EncodeProject(valves, *project.Liquid, project.Tables), *project.Liquid, project), FileError) << bad;
    }
}

TEST_F(ResistanceItemFiles, TextItemLinesReadBackAndBadLinesAreSkippedWithAReason) {
    TCircuit circuit(project);
    AddOneOfEach(project, circuit);
    const std::string k = TextItemLine(circuit.Item(0));
    const std::string v = TextItemLine(circuit.Item(1));
    EXPECT_EQ(k.substr(0, 3), "k, ");
    EXPECT_EQ(v.substr(0, 3), "v, ");
    EXPECT_EQ(k.substr(k.rfind(", ") + 2), "0.5");
    EXPECT_EQ(v.substr(v.rfind(", ") + 2), "6.3");

    TTextImport import = ReadTextItems(TextItemsContent(circuit) + "k, 9, 'No K', 65, 1, 0, 'K item', 0\r\n" +
                                       "v, 10, 'Bad Kv', 40, 1, 0, 'Valve', -3\r\n" +
                                       "x, 11, 'Some later kind', 40, 1, 0, 'X', 1\r\n", project);
    ASSERT_EQ(import.Items.size(), 2u);
    EXPECT_EQ(dynamic_cast<const TKItem&>(*import.Items[0]).K, 0.5);
    EXPECT_EQ(dynamic_cast<const TValve&>(*import.Items[1]).Kv, 6.3);
    EXPECT_EQ(import.Items[1]->Flow, 0.0015);
    EXPECT_EQ(import.Items[0]->BoreIndex, circuit.Item(0).BoreIndex);
    // The two bad lines say why; the unknown kind is skipped quietly, as before.
    ASSERT_EQ(import.Messages.size(), 2u);
    EXPECT_NE(import.Messages[0].find("K must be a number above zero"), std::string::npos) << import.Messages[0];
    EXPECT_NE(import.Messages[1].find("Kv must be a number above zero"), std::string::npos) << import.Messages[1];
}

TEST_F(ResistanceItemFiles, CopiedRowsPasteBack) {
    TCircuit circuit(project);
    AddOneOfEach(project, circuit);
    circuit.Calculate(project, false);
    const std::string table = ItemsAsTabSeparated({&circuit.Item(0), &circuit.Item(1)}, project);
    const TPastedItems pasted = ReadPastedItems(table, project);
    ASSERT_EQ(pasted.Items.size(), 2u) << (pasted.Messages.empty() ? "" : pasted.Messages.front());
    EXPECT_EQ(dynamic_cast<const TKItem&>(*pasted.Items[0]).K, 0.5);
    EXPECT_EQ(dynamic_cast<const TValve&>(*pasted.Items[1]).Kv, 6.3);
    EXPECT_EQ(pasted.Items[1]->Group, 3);
    // Rows in the text item file's order paste too; a short row says so.
    const TPastedItems rows = ReadPastedItems("v\t10\tBalancing\t41\t1.5\t0\tValve\t6.3\r\n"
                                              "k\t11\tEntrance\t41\t1.5\t0\tK item\t0.5\r\n"
                                              "k\t12\tShort\t41\t1.5\t0\tK item\r\n", project);
    ASSERT_EQ(rows.Items.size(), 2u);
    EXPECT_EQ(dynamic_cast<const TValve&>(*rows.Items[0]).Kv, 6.3);
    EXPECT_EQ(dynamic_cast<const TKItem&>(*rows.Items[1]).K, 0.5);
    ASSERT_EQ(rows.Messages.size(), 1u);
    EXPECT_NE(rows.Messages[0].find("too few fields"), std::string::npos) << rows.Messages[0];
}

} // namespace
} // namespace dvx
