// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/project/TextItems.h"
#include "engine/hydraulics/ProjectContext.h"

#include "engine/catalogue/Bores.h"
#include "engine/catalogue/Tables.h"
#include "base/Errors.h"
#include "engine/fluid/Fluid.h"
#include "storage/project/ProjectFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <filesystem>
#include <string>

namespace dvx {
namespace {

class TextItems : public ::testing::Test {
protected:
    void SetUp() override {
        project.Liquid->ro = 1000;
        project.Liquid->mu = 0.001;
    }

    TProjectState state_; // the test's own tables, liquid and item counter
    const TProjectContext project = state_.Context();
};

TEST_F(TextItems, ExportLinesOfEachKind) {
    TPipe pipe(project);
    pipe.Number = 3;
    pipe.Description = "Main riser";
    pipe.PressureDrop = 8077;
    EXPECT_EQ(TextItemLine(pipe), "p, 3, 'Main riser', 102, 25.0, 8.077, 'Pipe', 10.0");

    TFitting fitting(project, 7);
    fitting.Number = 12;
    fitting.Quantity = 4;
    fitting.SetBore(project, 19);
    fitting.Flow = 0.00026;
    fitting.PressureDrop = 123456;
    EXPECT_EQ(TextItemLine(fitting),
              "f, 12, 'Welded Elbow 90 deg', 16, 0.3, 123.5, 'Welded Elbow 90 deg', 7, 4");

    TUser user(project);
    user.Number = -1;
    user.Description = "Chiller, evaporator";
    user.PressureDrop = 50000;
    EXPECT_EQ(TextItemLine(user), "u, -1, 'Chiller, evaporator', 102, 25.0, 50, 'User'");

    TCircuit circuit(project);
    circuit.Append(std::make_unique<TUser>(project));
    circuit.Append(std::make_unique<TPipe>(project));
    EXPECT_EQ(TextItemsContent(circuit),
              "u, 1, 'User', 102, 25.0, 0, 'User'\r\np, 2, 'Pipe', 102, 25.0, 0, 'Pipe', 10.0\r\n");
}

TEST_F(TextItems, ReadingBackTheExportedPipe) {
    TTextImport import = ReadTextItems("p, 3, 'Main riser', 102, 25.0, 8.077, 'Pipe', 10.0\r\n", project);
    ASSERT_EQ(import.Items.size(), 1u);
    EXPECT_TRUE(import.Messages.empty());
    const auto& pipe = static_cast<const TPipe&>(*import.Items[0]);
    EXPECT_EQ(pipe.Kind(), TItemKind::Pipe);
    EXPECT_EQ(pipe.Number, 3);
    EXPECT_EQ(pipe.Description, "Main riser");
    EXPECT_EQ(pipe.BoreIndex, 11);
    EXPECT_EQ(pipe.InsideDiameter, 0.1023);
    EXPECT_EQ(pipe.Friction, 0.017);
    EXPECT_DOUBLE_EQ(pipe.Flow, 0.025);
    EXPECT_EQ(pipe.Length, 10);
    EXPECT_EQ(pipe.PressureDrop, 0); // recomputed at the next calculation
    EXPECT_EQ(project.ItemCounter, 1);       // the constructor still counted
}

TEST_F(TextItems, ReadsEachKindAndSkipsOtherLines) {
    const std::string content =
        "; a comment line\n"
        "\n"
        "x, 1, 'unknown kind', 102, 1, 1\n"
        "P, 2, 'capital letter', 102, 1, 1, 'Pipe', 3\r"
        "f, 4, 'Bends', 52, 4.8, 1.2, 'Std Elbow 90 deg', 0, 2.5\n"
        "f, 5, 'Valves', 16, 0.3, 1.2, 'Gate Valve', 12, 3.5\r\n"
        "u, 6, 'Coil, north', 18, 0.26, 45.5, 'User'\n"
        "p, 7, 'Odd, fields', abc, x, 0, 'Pipe', 12abc\n"
        "u, 8, 'It's cut', 102, 1, 2, 'User'";
    TTextImport import = ReadTextItems(content, project);
    EXPECT_TRUE(import.Messages.empty());
    ASSERT_EQ(import.Items.size(), 5u);

    const auto& bends = static_cast<const TFitting&>(*import.Items[0]);
    EXPECT_EQ(bends.Kind(), TItemKind::Fitting);
    EXPECT_EQ(bends.Number, 4);
    EXPECT_EQ(bends.TypeName, "Std Elbow 90 deg");
    EXPECT_EQ(bends.Quantity, 2); // 2.5 to the even neighbour
    EXPECT_STREQ(BoreName[bends.BoreIndex], "50");
    EXPECT_DOUBLE_EQ(bends.Flow, 0.0048);
    EXPECT_EQ(bends.PressureDrop, 0);

    const auto& valves = static_cast<const TFitting&>(*import.Items[1]);
    EXPECT_EQ(valves.FittingType, 12);
    EXPECT_EQ(valves.C, 12);
    EXPECT_EQ(valves.Quantity, 4); // 3.5 to the even neighbour
    EXPECT_STREQ(BoreName[valves.BoreIndex], "15");

    const auto& coil = *import.Items[2];
    EXPECT_EQ(coil.Kind(), TItemKind::User);
    EXPECT_EQ(coil.Description, "Coil, north");
    EXPECT_DOUBLE_EQ(coil.PressureDrop, 45500);
    EXPECT_STREQ(BoreName[coil.BoreIndex], "750"); // 18 mm matches no bore within 10 %

    // Fields that are not numbers read as 0; the line still makes its item.
    const auto& odd = static_cast<const TPipe&>(*import.Items[3]);
    EXPECT_EQ(odd.Number, 7);
    EXPECT_EQ(odd.Flow, 0);
    EXPECT_EQ(odd.Length, 0);
    EXPECT_STREQ(BoreName[odd.BoreIndex], "750");

    // A quote inside a description cuts it and shifts the fields after it.
    const auto& cut = *import.Items[4];
    EXPECT_EQ(cut.Description, "It");
    EXPECT_EQ(cut.Kind(), TItemKind::User);
}

// The same two lines as another tool or editor may have saved them.
TEST_F(TextItems, EncodingsOfTheFileAllGiveTheSameText) {
    const std::string cp1252 = "u, 1, 'K\xFChler \x80', 102, 1, 2, 'User'\r\np, 2, 'Rohr', 102, 1, 0, 'Pipe', 4\r\n";
    const std::string utf8 = "u, 1, 'K\xC3\xBChler \xE2\x82\xAC', 102, 1, 2, 'User'\r\np, 2, 'Rohr', 102, 1, 0, 'Pipe', 4\r\n";
    auto utf16 = [&](bool bigEndian) {
        // "Kühler €" and the rest, code unit by code unit.
        std::u16string text = u"u, 1, 'K\u00FChler \u20AC', 102, 1, 2, 'User'\r\np, 2, 'Rohr', 102, 1, 0, 'Pipe', 4\r\n";
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (char16_t unit : text) {
            const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
            bytes += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        return bytes;
    };
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"Windows-1252", cp1252},
        {"UTF-8", utf8},
        {"UTF-8 with byte-order mark", "\xEF\xBB\xBF" + utf8},
        {"UTF-16LE with byte-order mark", utf16(false)},
        {"UTF-16BE with byte-order mark", utf16(true)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TTextImport import = ReadTextItems(c.bytes, project);
        EXPECT_TRUE(import.Messages.empty());
        ASSERT_EQ(import.Items.size(), 2u); // the first line is not lost to a mark
        EXPECT_EQ(import.Items[0]->Description, "K\xC3\xBChler \xE2\x82\xAC");
        EXPECT_EQ(import.Items[0]->Kind(), TItemKind::User);
        EXPECT_EQ(import.Items[1]->Description, "Rohr");
        EXPECT_EQ(static_cast<const TPipe&>(*import.Items[1]).Length, 4);

        // Saved in a project file and read back, the name is unchanged.
        TCircuit circuit(project);
        InsertImportedItems(circuit, import);
        TProjectData back = ParseProject(EncodeProject(circuit, *project.Liquid, project.Tables), *project.Liquid, project);
        ASSERT_EQ(back.Circuit->Count(), 2);
        EXPECT_EQ(back.Circuit->Items[1]->Description, "K\xC3\xBChler \xE2\x82\xAC");
    }
}

TEST_F(TextItems, LinesOfEitherEncodingInOneFileEachReadRight) {
    // Lines added with another editor: UTF-8 and Windows-1252 in one file.
    TTextImport import = ReadTextItems("u, 1, 'Main riser \xCE\xA9', 102, 1, 2, 'User'\r\n"
                                       "u, 2, 'K\xFChler', 102, 1, 2, 'User'\r\n"
                                       "u, 3, 'B\xC3\xA9nds', 102, 1, 2, 'User'", project);
    ASSERT_EQ(import.Items.size(), 3u);
    EXPECT_EQ(import.Items[0]->Description, "Main riser \xCE\xA9");
    EXPECT_EQ(import.Items[1]->Description, "K\xC3\xBChler");
    EXPECT_EQ(import.Items[2]->Description, "B\xC3\xA9nds");
}

TEST_F(TextItems, AFileWithTextButNoItemIsTold) {
    const struct {
        const char* bytes;
        bool hasText;
    } cases[] = {
        {"", false},
        {"\r\n  \n", false},
        {"\xEF\xBB\xBF", false},
        {"; only a comment\r\n", true},
        {"x, 1, 'unknown kind', 102, 1, 1\n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        TTextImport import = ReadTextItems(c.bytes, project);
        EXPECT_TRUE(import.Items.empty());
        EXPECT_TRUE(import.Messages.empty());
        EXPECT_EQ(import.HasText, c.hasText);
    }
}

TEST_F(TextItems, FittingTypeOutsideTheTableSkipsTheLine) {
    const std::string content =
        "f, 1, 'ok', 102, 25, 0, 'Std Elbow 90 deg', 23, 1\n"
        "f, 2, 'too big', 102, 25, 0, 'Nothing', 99, 1\n"
        "f, 3, 'negative', 102, 25, 0, 'Nothing', -1, 1\n"
        "f, 4, 'just past', 102, 25, 0, 'Nothing', 24, 1\n"
        "f, 5, 'not a number', 102, 25, 0, 'Std Elbow 90 deg', x, 1\n";
    TTextImport import = ReadTextItems(content, project);
    ASSERT_EQ(import.Items.size(), 2u);
    EXPECT_EQ(import.Items[0]->Number, 1);
    EXPECT_EQ(import.Items[1]->Number, 5); // reads as type 0
    EXPECT_EQ(static_cast<const TFitting&>(*import.Items[1]).FittingType, 0);
    ASSERT_EQ(import.Messages.size(), 3u);
    EXPECT_EQ(import.Messages[0], "Line 2: fitting type 99 is not in the fittings table (0 to 23); line skipped");
    EXPECT_EQ(import.Messages[1], "Line 3: fitting type -1 is not in the fittings table (0 to 23); line skipped");
    EXPECT_EQ(import.Messages[2], "Line 4: fitting type 24 is not in the fittings table (0 to 23); line skipped");
}

TEST_F(TextItems, ImportedItemsEndInReverseOrder) {
    TCircuit circuit(project);
    TTextImport import = ReadTextItems(
        "p, 10, 'A', 102, 1.0, 0, 'Pipe', 1.0\r\n"
        "u, 20, 'B', 102, 1.0, 5, 'User'\r\n"
        "f, 30, 'C', 102, 1.0, 0, 'Reducer', 2, 1\r\n", project);
    InsertImportedItems(circuit, import);
    ASSERT_EQ(circuit.Count(), 3);
    EXPECT_EQ(circuit.Item(0).Description, "C");
    EXPECT_EQ(circuit.Item(1).Description, "B");
    EXPECT_EQ(circuit.Item(2).Description, "A");
    EXPECT_EQ(circuit.Item(0).Number, 30);
    EXPECT_EQ(circuit.Item(2).Number, 10);
}

TEST_F(TextItems, RoundTripThroughAFile) {
    const auto path = std::filesystem::temp_directory_path() / "darvenix_textitems_test.txt";
    TCircuit circuit(project);
    auto pipe = std::make_unique<TPipe>(project);
    pipe->Flow = 0.00026; // written with one decimal: comes back as 0.3 l/s
    circuit.Append(std::move(pipe));
    circuit.Append(std::make_unique<TFitting>(project, 3));
    WriteTextItemsFile(circuit, path.string());
    TTextImport import = ReadTextItems(ReadTextFileBytes(path.string()), project);
    std::filesystem::remove(path);
    ASSERT_EQ(import.Items.size(), 2u);
    EXPECT_DOUBLE_EQ(import.Items[0]->Flow, 0.0003);
    EXPECT_EQ(import.Items[1]->TypeName, "Expander");
    EXPECT_THROW(ReadTextFileBytes(path.string()), FileError);
    EXPECT_THROW(WriteTextItemsFile(circuit, (path / "no" / "such.txt").string()), FileError);
}

// Writing over an existing text file either replaces it whole or, when the
// write fails midway, leaves it as it was.
TEST_F(TextItems, FailedExportLeavesTheEarlierFile) {
    const auto folder = std::filesystem::temp_directory_path() / "darvenix_textitems_safe";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto path = folder / "items.txt";
    TCircuit circuit(project);
    circuit.Append(std::make_unique<TPipe>(project));
    WriteTextItemsFile(circuit, path.string());
    const std::string before = ReadTextFileBytes(path.string());
    for (int i = 0; i < 200; ++i) circuit.Append(std::make_unique<TPipe>(project));
    // A file-size limit makes the write fail after its first few kilobytes.
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(WriteTextItemsFile(circuit, path.string()), FileError);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(ReadTextFileBytes(path.string()), before);
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1u); // no temporary file left behind
    std::filesystem::remove_all(folder);
}

TEST_F(TextItems, GarbageNeverCrashes) {
    std::string garbage;
    unsigned state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1103515245 + 12345;
        garbage.push_back(static_cast<char>(state >> 16));
        if (i % 97 == 0) garbage += "\nf, 1, '";
        if (i % 89 == 0) garbage += "\np, ";
    }
    TTextImport import = ReadTextItems(garbage, project);
    for (const auto& item : import.Items) {
        EXPECT_LT(item->BoreIndex, BoreCount);
        if (item->Kind() == TItemKind::Fitting) {
            EXPECT_LT(static_cast<const TFitting&>(*item).FittingType, FittingCount);
        }
    }
}

} // namespace
} // namespace dvx
