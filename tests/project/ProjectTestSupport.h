// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared pieces of the project-file tests: a fixture that starts the fluid
// module and the built-in tables, a temporary folder, and a builder for
// hand-made project files.

#include "engine/catalogue/Tables.h"
#include "engine/fluid/Fluid.h"
#include "engine/hydraulics/Calc.h"
#include "engine/hydraulics/ProjectContext.h"
#include "storage/project/TagStream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace dvx::test {

// A folder of its own under the system temporary folder, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("darvenix-project-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Each test's own project: built-in tables (fittings by equivalent length),
// clean water at 9 °C and a fresh item counter.
class ProjectFileFixture : public ::testing::Test {
protected:
    TProjectState state_;
    const TProjectContext project = state_.Context();
};

// The fluid values in stream order, as a file stores them.
struct FluidValues {
    double t = 20, tfi = 15, tfo = 25;
    std::string caption = "Water";
    double m = 0, Cp = 4.18, ro = 998.2, Ko = 0.0006, mu = 0.001, Pr = 6.97;
    double UserCp = 4.185, UserRo = 983.3, UserKo = 0.000653, UserMu = 0.000463;
    int LiquidSpec = 0, WaterAdditive = 0;
    double AdditiveVolume = 0;
};

// Writes the parts of a project file one by one, so that tests can build
// files of every generation, including damaged ones.
class FileBuilder {
public:
    TTagWriter w;

    FileBuilder& Start() {
        w.WriteSignature();
        w.WriteShortName("TCircuit");
        w.WriteShortName("");
        w.WriteShortName("Circuit");
        return *this;
    }
    // Header (if any) up to and including the item count.
    FileBuilder& Circuit(const std::string& header, const std::string& heading1, int count,
                         const std::vector<std::string>& lines = {}) {
        if (!header.empty()) w.WriteString(header);
        w.WriteString(heading1);
        w.WriteString("Heading two");
        w.WriteListBegin();
        for (const auto& l : lines) w.WriteString(l);
        w.WriteListEnd();
        w.WriteString("Author");
        w.WriteString("Company");
        w.WriteDate(45000.25);
        w.WriteInteger(count);
        return *this;
    }
    FileBuilder& Fluid(const FluidValues& f = {}) {
        for (double v : {f.t, f.tfi, f.tfo}) w.WriteFloat(v);
        w.WriteString(f.caption);
        for (double v : {f.m, f.Cp, f.ro, f.Ko, f.mu, f.Pr, f.UserCp, f.UserRo, f.UserKo, f.UserMu})
            w.WriteFloat(v);
        w.WriteInteger(f.LiquidSpec);
        w.WriteInteger(f.WaterAdditive);
        w.WriteFloat(f.AdditiveVolume);
        return *this;
    }
    FileBuilder& Material(int m) {
        w.WriteInteger(m);
        return *this;
    }
    // Class name, instance name, property name, then the common values up to
    // the bore.
    FileBuilder& ItemHead(const std::string& cls, const std::string& prop, const std::string& typeName,
                          int number) {
        w.WriteShortName(cls);
        w.WriteShortName("");
        w.WriteShortName(prop);
        w.WriteString(typeName);
        w.WriteString("Item " + std::to_string(number));
        w.WriteInteger(number);
        return *this;
    }
    FileBuilder& Float(double v) {
        w.WriteFloat(v);
        return *this;
    }
    FileBuilder& Int(std::int64_t v) {
        w.WriteInteger(v);
        return *this;
    }
    FileBuilder& Bool(bool v) {
        w.WriteBoolean(v);
        return *this;
    }
    FileBuilder& Raw(std::uint8_t b) {
        w.WriteRawByte(b);
        return *this;
    }
    FileBuilder& End() { return Raw(0).Raw(0); }
    std::vector<std::uint8_t> Bytes() const { return w.Bytes(); }
};

} // namespace dvx::test
