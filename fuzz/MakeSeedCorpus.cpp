// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the seed corpus of the project-reader fuzzer into the folder given
// on the command line: projects written by the program's own writer (one
// with the pump property), and
// hand-made files of the 2.00 generation and without a header, including the
// value tags only older writers used.

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "engine/hydraulics/ProjectContext.h"
#include "storage/project/FileIO.h"
#include "storage/project/ProjectFile.h"
#include "storage/project/TagStream.h"

#include <filesystem>
#include <iostream>

namespace {

using namespace dvx;
namespace fs = std::filesystem;

// The project the seeds are written from.
TProjectState& Project() {
    static TProjectState state;
    return state;
}

void Save(const fs::path& dir, const char* name, const std::vector<std::uint8_t>& bytes) {
    WriteFileAtomically(dir / name, bytes);
    std::cout << (dir / name).string() << " " << bytes.size() << " bytes\n";
}

std::vector<std::uint8_t> Written(bool withItems, bool withPump = false) {
    TCircuit c(Project().Context());
    c.Heading1 = "Seed project";
    c.Heading2 = "Caf\xC3\xA9 \xE2\x80\x93 plant room";
    c.DescriptionLines = {"First line", std::string(260, 'd'), ""};
    c.Author = "Author";
    c.Company = "Company";
    c.Material = 1;
    if (withItems) {
        auto pipe = std::make_unique<TPipe>(Project().Context());
        pipe->Group = 2;
        pipe->InIndex = false;
        c.Append(std::move(pipe));
        for (int t = 0; t < FittingCount; t += 5) {
            auto f = std::make_unique<TFitting>(Project().Context(), t);
            f->Quantity = t + 1;
            f->SetBore(Project().Context(), t % BoreCount);
            c.Append(std::move(f));
        }
        auto user = std::make_unique<TUser>(Project().Context());
        user->PressureDrop = 50000;
        user->Number = 300;
        c.Append(std::move(user));
    }
    if (withPump) {
        // The optional pump property after the circuit data.
        c.Pump.Points = {{0, 30, 0}, {0.005, 27.5, 0.6}, {0.01, 20, 0.7}, {0.012, 15, 0.65}};
        c.Pump.Curve.StaticHead = 4;
        c.Pump.Curve.Points = 21;
        c.Pump.Curve.MaxRatio = 1.5;
    }
    return EncodeProject(c, Project().Liquid, Project().Tables);
}

// Header (or none), headings, description, author, company, date, count,
// liquid and material of a hand-made file.
void HandMadeStart(TTagWriter& w, const char* header, const char* title, int count) {
    w.WriteSignature();
    w.WriteShortName("TCircuit");
    w.WriteShortName("");
    w.WriteShortName("Circuit");
    if (header) w.WriteString(header);
    w.WriteString(title);
    w.WriteString("");
    w.WriteListBegin();
    w.WriteString("Old description");
    w.WriteListEnd();
    w.WriteString("");
    w.WriteString("");
    w.WriteDate(36000);
    w.WriteInteger(count);
    Project().Liquid.WriteToStream(w);
    w.WriteInteger(0);
}

void Raw(TTagWriter& w, std::initializer_list<std::uint8_t> bytes) {
    for (std::uint8_t b : bytes) w.WriteRawByte(b);
}

void ItemHead(TTagWriter& w, const char* cls, const char* prop, const char* type, int number) {
    w.WriteShortName(cls);
    w.WriteShortName("");
    w.WriteShortName(prop);
    w.WriteString(type);
    w.WriteString("Item");
    w.WriteInteger(number);
}

std::vector<std::uint8_t> Version200() {
    TTagWriter w;
    HandMadeStart(w, kProjectHeader200, "Old project", 3);
    ItemHead(w, "TPipe", "Pipe", "Pipe", 3);
    w.WriteRawByte(5); // bore code 5: today's 100 mm
    w.WriteFloat(0.025);
    w.WriteFloat(8000);
    w.WriteInteger(1);
    w.WriteBoolean(false);
    w.WriteFloat(10);
    w.WriteRawByte(0);
    w.WriteRawByte(0);
    ItemHead(w, "TFitting", "Fitting", "Gate Valve", 7);
    w.WriteRawByte(13);
    w.WriteFloat(0.001);
    w.WriteFloat(100);
    w.WriteInteger(0);
    w.WriteBoolean(true);
    w.WriteFloat(1);
    w.WriteFloat(1);
    w.WriteFloat(2);
    w.WriteInteger(12);
    w.WriteRawByte(0);
    w.WriteRawByte(0);
    ItemHead(w, "TUser", "Branch", "User", 5);
    w.WriteRawByte(0);
    w.WriteFloat(0.01);
    w.WriteFloat(20000);
    w.WriteInteger(0);
    w.WriteBoolean(true);
    w.WriteRawByte(0);
    w.WriteRawByte(0);
    w.WriteRawByte(0);
    w.WriteRawByte(0);
    return w.TakeBytes();
}

std::vector<std::uint8_t> Headerless() {
    TTagWriter w;
    HandMadeStart(w, nullptr, "Project without a header", 2);
    ItemHead(w, "TPipe", "Pipe", "Pipe", 1);
    w.WriteFloat(90); // no such bore: the next one up
    w.WriteFloat(0.02);
    w.WriteFloat(0);
    w.WriteFloat(25);
    w.WriteRawByte(0);
    w.WriteRawByte(0);
    ItemHead(w, "TFitting", "Fitting", "Std Elbow 90 deg", 2);
    w.WriteFloat(15);
    w.WriteFloat(0.0002);
    w.WriteFloat(0);
    w.WriteFloat(0.5);
    w.WriteFloat(0.5);
    w.WriteFloat(1);
    w.WriteInteger(0);
    w.WriteRawByte(0);
    w.WriteRawByte(0);
    w.WriteRawByte(0);
    w.WriteRawByte(0);
    return w.TakeBytes();
}

// Values under the tags only older writers produced: 8-bit text with bytes
// above 127, UTF-16 text, doubles and 64-bit integers where floats go.
std::vector<std::uint8_t> OlderTags() {
    TTagWriter w;
    w.WriteSignature();
    w.WriteShortName("TCircuit");
    w.WriteShortName("");
    w.WriteShortName("Circuit");
    w.WriteString(kProjectHeader209);
    Raw(w, {0x06, 0x05, 'C', 'a', 'f', 0xE9, 0x80});
    Raw(w, {0x12, 0x02, 0x00, 0x00, 0x00, 0x3D, 0xD8, 0x00, 0xDE});
    w.WriteListBegin();
    Raw(w, {0x0C, 0x02, 0x00, 0x00, 0x00, 0xC4, 0xD6});
    w.WriteListEnd();
    w.WriteString("");
    w.WriteString("");
    Raw(w, {0x13, 0x10, 0x27, 0, 0, 0, 0, 0, 0}); // date as int64
    w.WriteInteger(1);
    Project().Liquid.WriteToStream(w);
    w.WriteInteger(2);
    ItemHead(w, "TUser", "Branch", "User", 1);
    Raw(w, {0x15, 0, 0, 0, 0, 0, 0, 0x59, 0x40}); // 100.0 as double
    w.WriteInteger(1);                                                              // flow as int8
    Raw(w, {0x13, 0x20, 0x4E, 0, 0, 0, 0, 0, 0});   // 20000 as int64
    w.WriteInteger(0);
    w.WriteBoolean(true);
    w.WriteRawByte(0);
    w.WriteRawByte(0);
    w.WriteRawByte(0);
    w.WriteRawByte(0);
    return w.TakeBytes();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_seed_corpus FOLDER\n";
        return 2;
    }
    const fs::path dir = argv[1];
    fs::create_directories(dir);
    try {
        Save(dir, "current.dvx", Written(true));
        Save(dir, "empty.dvx", Written(false));
        Save(dir, "pump.dvx", Written(true, true));
        Save(dir, "version200.dvx", Version200());
        Save(dir, "headerless.dvx", Headerless());
        Save(dir, "older-tags.dvx", OlderTags());
        // Every seed must be a readable project.
        for (const auto& e : fs::directory_iterator(dir)) (void)ReadProject(e.path(), Project().Context());
    } catch (const ProjectFileError& e) {
        std::cerr << e.what() << ": " << e.Detail() << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
