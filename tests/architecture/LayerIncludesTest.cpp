// SPDX-License-Identifier: GPL-3.0-or-later
// The layers of src/ as the include lines state them. Every folder under
// src/ belongs to the layer its first path component names:
//   base → engine → storage → presentation → desktop,
// each allowed to include only the layers to its left; app/cli sits on
// every layer but the desktop, app/gui on all of them. Inside a layer the
// folders must not include each other in a circle. Below the desktop no file
// includes a Qt header, and no header name appears twice under src/.
// The check reads the sources themselves, so a fault is named by file and
// line before any build notices it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <ostream>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The layers from the bottom up.
const std::vector<std::string> kLayers = {"base", "engine", "storage", "presentation", "desktop"};

int LayerRank(const std::string& name) {
    const auto at = std::find(kLayers.begin(), kLayers.end(), name);
    return at == kLayers.end() ? -1 : static_cast<int>(at - kLayers.begin());
}

const int kDesktop = LayerRank("desktop");

// Where a file sits: its folder relative to the root, and the highest layer
// it may include (−1: none) plus whether it may include the toolkit.
struct TUnit {
    std::string Folder;
    std::string Layer; // "base" … "desktop", "app/cli", "app/gui"
    int HighestAllowed = -1;
    bool Toolkit = false;
};

std::optional<TUnit> UnitOf(const std::string& relative) {
    const fs::path path(relative);
    auto part = path.begin();
    if (part == path.end()) return std::nullopt;
    TUnit unit;
    unit.Folder = path.parent_path().generic_string();
    const std::string top = (part++)->string();
    if (part == path.end()) return std::nullopt;
    const std::string second = part->string();
    if (top == "src") {
        const int rank = LayerRank(second);
        if (rank < 0) return TUnit{unit.Folder, second, -1, false}; // a folder outside the layers
        unit.Layer = second;
        unit.HighestAllowed = rank;
        unit.Toolkit = rank == kDesktop;
        return unit;
    }
    if (top == "app" && (second == "cli" || second == "gui")) {
        unit.Layer = "app/" + second;
        unit.HighestAllowed = second == "gui" ? kDesktop : kDesktop - 1;
        unit.Toolkit = second == "gui";
        return unit;
    }
    return std::nullopt;
}

struct TEdge {
    std::string Where; // file:line of the first include that makes the edge
};

// Every fault found under root, one line each ("file:line: what").
std::vector<std::string> CheckLayers(const fs::path& root) {
    std::vector<std::string> faults;
    std::vector<std::string> files;
    for (const char* top : {"src", "app"}) {
        if (!fs::is_directory(root / top)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
            const std::string ext = entry.path().extension().string();
            if (entry.is_regular_file() && (ext == ".h" || ext == ".cpp" || ext == ".hpp"))
                files.push_back(fs::relative(entry.path(), root).generic_string());
        }
    }
    std::sort(files.begin(), files.end());

    std::map<std::string, std::vector<std::string>> headersByName;
    // folder → folder it includes → the first include line doing so
    std::map<std::string, std::map<std::string, TEdge>> graph;
    const std::regex includeLine(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    const std::regex toolkitHeader(R"(^Q[A-Za-z]|^Qt)");

    for (const std::string& file : files) {
        const std::optional<TUnit> unit = UnitOf(file);
        if (!unit) continue;
        if (file.starts_with("src/") && fs::path(file).extension() == ".h")
            headersByName[fs::path(file).filename().string()].push_back(file);
        if (unit->HighestAllowed < 0 && file.starts_with("src/")) {
            faults.push_back(file + ": outside every layer (src/ holds only " + "the layer folders)");
            continue;
        }
        std::ifstream in(root / file);
        std::string text;
        for (int line = 1; std::getline(in, text); ++line) {
            std::smatch match;
            if (!std::regex_search(text, match, includeLine)) continue;
            const std::string where = file + ":" + std::to_string(line);
            const std::string included = match[2];
            if (match[1] == "<") {
                if (!unit->Toolkit && std::regex_search(included, toolkitHeader))
                    faults.push_back(where + ": toolkit header <" + included + "> below the desktop layer");
                continue;
            }
            if (included.ends_with(".moc")) continue;
            const std::string first = fs::path(included).begin()->string();
            const int target = LayerRank(first);
            if (target < 0) {
                // Only the programs include their own files by bare name.
                if (file.starts_with("src/"))
                    faults.push_back(where + ": \"" + included + "\" is not written from src/ (layer/folder/File.h)");
                continue;
            }
            if (!fs::exists(root / "src" / included)) {
                faults.push_back(where + ": \"" + included + "\" does not exist under src/");
                continue;
            }
            if (target > unit->HighestAllowed) {
                faults.push_back(where + ": " + unit->Layer + " includes \"" + included + "\" of the " + first +
                                 " layer above it");
                continue;
            }
            const std::string to = ("src" / fs::path(included).parent_path()).generic_string();
            if (to != unit->Folder) graph[unit->Folder].try_emplace(to, TEdge{where});
        }
    }

    for (const auto& [name, paths] : headersByName)
        if (paths.size() > 1) {
            std::string line = "header name " + name + " appears " + std::to_string(paths.size()) + " times:";
            for (const std::string& path : paths) line += " " + path;
            faults.push_back(line);
        }

    // Circles between folders: the strongly connected components of the
    // folder graph (Tarjan); each component of more than one folder is
    // reported with the include lines that close it.
    std::map<std::string, int> index, low;
    std::vector<std::string> stack;
    std::set<std::string> onStack;
    int next = 0;
    std::function<void(const std::string&)> visit = [&](const std::string& folder) {
        index[folder] = low[folder] = next++;
        stack.push_back(folder);
        onStack.insert(folder);
        for (const auto& [to, edge] : graph[folder]) {
            if (!index.contains(to)) {
                visit(to);
                low[folder] = std::min(low[folder], low[to]);
            } else if (onStack.contains(to)) {
                low[folder] = std::min(low[folder], index[to]);
            }
        }
        if (low[folder] != index[folder]) return;
        std::set<std::string> component;
        std::string member;
        do {
            member = stack.back();
            stack.pop_back();
            onStack.erase(member);
            component.insert(member);
        } while (member != folder);
        if (component.size() < 2) return;
        std::string line = "folders include each other in a circle:";
        for (const std::string& from : component)
            for (const auto& [to, edge] : graph[from])
                if (component.contains(to)) line += "\n    " + edge.Where + ": " + from + " -> " + to;
        faults.push_back(line);
    };
    std::vector<std::string> folders;
    for (const auto& [from, targets] : graph) folders.push_back(from);
    for (const std::string& folder : folders)
        if (!index.contains(folder)) visit(folder);
    return faults;
}

std::string Joined(const std::vector<std::string>& faults) {
    std::string text;
    for (const std::string& fault : faults) text += fault + "\n";
    return text;
}

TEST(LayerIncludes, SourceTreeIncludesOnlyDownwardAndWithoutCircles) {
    const std::vector<std::string> faults = CheckLayers(DARVENIX_SOURCE_DIR);
    EXPECT_TRUE(faults.empty()) << Joined(faults);
}

// A small tree written into a fresh folder per case.
class LayerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "darvenix-layers-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
    }
    void TearDown() override { fs::remove_all(root_); }
    void Write(const std::string& relative, const std::string& text) {
        fs::create_directories((root_ / relative).parent_path());
        std::ofstream(root_ / relative) << "// SPDX-License-Identifier: GPL-3.0-or-later\n" << text;
    }
    fs::path root_;
};

struct TTreeCase {
    const char* Name;
    std::vector<std::pair<std::string, std::string>> Files;
    std::vector<std::string> Expected; // each must appear in one fault; none: no fault at all
};

// ctest lists the case by its name, not its bytes.
void PrintTo(const TTreeCase& tree, std::ostream* out) { *out << tree.Name; }

class LayerTreeCases : public LayerFixture, public ::testing::WithParamInterface<TTreeCase> {};

TEST_P(LayerTreeCases, FindsTheFaultNamingFileAndLine) {
    for (const auto& [path, text] : GetParam().Files) Write(path, text);
    const std::vector<std::string> faults = CheckLayers(root_);
    if (GetParam().Expected.empty()) {
        EXPECT_TRUE(faults.empty()) << Joined(faults);
        return;
    }
    for (const std::string& expected : GetParam().Expected)
        EXPECT_NE(Joined(faults).find(expected), std::string::npos)
            << "expected \"" << expected << "\" in:\n" << Joined(faults);
}

const std::pair<std::string, std::string> kBase{"src/base/Text.h", "#pragma once\n"};
const std::pair<std::string, std::string> kEngine{"src/engine/flow/Flow.h", "#include \"base/Text.h\"\n"};
const std::pair<std::string, std::string> kStorage{"src/storage/files/File.h", "#include \"engine/flow/Flow.h\"\n"};

INSTANTIATE_TEST_SUITE_P(
    Trees, LayerTreeCases,
    ::testing::Values(
        TTreeCase{"Downward", {kBase, kEngine, kStorage,
                               {"src/desktop/w/Window.cpp", "#include \"storage/files/File.h\"\n#include <QWidget>\n"},
                               {"app/cli/main.cpp", "#include \"Args.h\"\n#include \"storage/files/File.h\"\n"}},
                  {}},
        TTreeCase{"Upward", {kBase, kStorage, {"src/engine/flow/Flow.h", "#pragma once\n#include \"storage/files/File.h\"\n"}},
                  {"src/engine/flow/Flow.h:3: engine includes \"storage/files/File.h\" of the storage layer above it"}},
        TTreeCase{"CircleInsideALayer",
                  {kBase, {"src/engine/a/A.h", "#include \"engine/b/B.h\"\n"},
                   {"src/engine/b/B.h", "#include \"base/Text.h\"\n#include \"engine/a/A.h\"\n"}},
                  {"src/engine/a/A.h:2: src/engine/a -> src/engine/b", "src/engine/b/B.h:3: src/engine/b -> src/engine/a"}},
        TTreeCase{"ToolkitBelowDesktop", {kBase, {"src/engine/flow/Flow.cpp", "#include <QString>\n"}},
                  {"src/engine/flow/Flow.cpp:2: toolkit header <QString> below the desktop layer"}},
        TTreeCase{"CommandLineProgramOnTheDesktop", {kBase, {"src/desktop/w/Window.h", "#include <QWidget>\n"},
                                                     {"app/cli/main.cpp", "#include \"desktop/w/Window.h\"\n"}},
                  {"app/cli/main.cpp:2: app/cli includes \"desktop/w/Window.h\" of the desktop layer above it"}},
        TTreeCase{"HeaderNameTwice", {kBase, {"src/desktop/w/Text.h", "#pragma once\n"}},
                  {"header name Text.h appears 2 times: src/base/Text.h src/desktop/w/Text.h"}},
        TTreeCase{"NotWrittenFromSrc", {kBase, {"src/engine/flow/Flow.h", "#include \"Text.h\"\n#include \"engine/Gone.h\"\n"}},
                  {"src/engine/flow/Flow.h:2: \"Text.h\" is not written from src/",
                   "src/engine/flow/Flow.h:3: \"engine/Gone.h\" does not exist under src/"}},
        TTreeCase{"FolderOutsideTheLayers", {{"src/misc/Thing.h", "#pragma once\n"}}, {"src/misc/Thing.h: outside every layer"}}),
    [](const ::testing::TestParamInfo<TTreeCase>& info) { return std::string(info.param.Name); });

} // namespace
