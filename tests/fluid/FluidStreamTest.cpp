// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Errors.h"
#include "engine/fluid/Fluid.h"
#include "engine/fluid/StreamIO.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace dvx {
namespace {

// An in-memory stream: each value keeps its kind, and reading a value of
// another kind (or past the end) fails, so the order of kinds is checked too.
using StreamValue = std::variant<double, std::int64_t, std::string, bool>;

class MemoryWriter : public TStreamWriter {
public:
    std::vector<StreamValue> values;
    void WriteFloat(double v) override { values.emplace_back(v); }
    void WriteInteger(std::int64_t v) override { values.emplace_back(v); }
    void WriteString(const std::string& v) override { values.emplace_back(v); }
    void WriteBoolean(bool v) override { values.emplace_back(v); }
};

class MemoryReader : public TStreamReader {
public:
    explicit MemoryReader(std::vector<StreamValue> v) : values(std::move(v)) {}
    double ReadFloat() override { return Next<double>(); }
    std::int64_t ReadInteger() override { return Next<std::int64_t>(); }
    std::string ReadString() override { return Next<std::string>(); }
    bool ReadBoolean() override { return Next<bool>(); }
    std::size_t position = 0;

private:
    template <class T> T Next() {
        if (position >= values.size()) throw FileError("read past the end");
        const T* v = std::get_if<T>(&values[position]);
        if (!v) throw FileError("unexpected value kind");
        ++position;
        return *v;
    }
    std::vector<StreamValue> values;
};

TLiquid DistinctLiquid() {
    TLiquid f("Loop fluid", 0, 1.25, 10, 30);
    f.WaterAdditive = 2;
    f.AdditiveVolume = 0.35;
    f.UserRo = 1001;
    f.UserCp = 4.1;
    f.UserMu = 0.0011;
    f.UserKo = 0.00061;
    f.Evaluate();
    return f;
}

TEST(FluidStream, WritesSeventeenValuesInOrder) {
    const TLiquid f = DistinctLiquid();
    MemoryWriter w;
    f.WriteToStream(w);
    const std::vector<StreamValue> expected = {
        f.t,      f.tfi,    f.tfo,    std::string("Loop fluid"), f.m,  f.Cp,
        f.ro,     f.Ko,     f.mu,     f.Pr,   f.UserCp, f.UserRo, f.UserKo, f.UserMu,
        std::int64_t{0}, std::int64_t{2}, 0.35,
    };
    EXPECT_EQ(w.values, expected);
}

TEST(FluidStream, ReadingRestoresValuesWithoutEvaluating) {
    TLiquid source = DistinctLiquid();
    source.ro = 1234.5; // a stored value that no evaluation would give
    MemoryWriter w;
    source.WriteToStream(w);

    TLiquid target("Other", 7, 0, 100, 100); // mercury, user values off
    target.UserProps = true;
    target.SetAux(3);
    target.ValidTMin = -11;
    target.ValidTMax = 11;
    target.RangeStatus = 1;
    MemoryReader r(w.values);
    target.ReadFromStream(r);
    EXPECT_EQ(r.position, 17u);

    EXPECT_EQ(target.Caption, "Loop fluid");
    EXPECT_EQ(target.t, source.t);
    EXPECT_EQ(target.tfi, source.tfi);
    EXPECT_EQ(target.tfo, source.tfo);
    EXPECT_EQ(target.m, source.m);
    EXPECT_EQ(target.ro, 1234.5);
    EXPECT_EQ(target.Cp, source.Cp);
    EXPECT_EQ(target.mu, source.mu);
    EXPECT_EQ(target.Ko, source.Ko);
    EXPECT_EQ(target.Pr, source.Pr);
    EXPECT_EQ(target.UserRo, 1001);
    EXPECT_EQ(target.UserCp, 4.1);
    EXPECT_EQ(target.UserMu, 0.0011);
    EXPECT_EQ(target.UserKo, 0.00061);
    EXPECT_EQ(target.LiquidSpec, 0);
    EXPECT_EQ(target.WaterAdditive, 2);
    EXPECT_EQ(target.AdditiveVolume, 0.35);
    // Not in the stream: left as they were.
    EXPECT_TRUE(target.UserProps);
    EXPECT_EQ(target.GetAux(), 3);
    EXPECT_EQ(target.ValidTMin, -11);
    EXPECT_EQ(target.ValidTMax, 11);
    EXPECT_EQ(target.RangeStatus, 1);
}

TEST(FluidStream, CodeThatDoesNotFitItsFieldIsAFileError) {
    for (std::int64_t bad : {std::int64_t{-1}, std::int64_t{256}, std::int64_t{300}}) {
        for (std::size_t slot : {std::size_t{14}, std::size_t{15}}) {
            MemoryWriter w;
            DistinctLiquid().WriteToStream(w);
            w.values[slot] = bad;
            TLiquid target("Other", 7, 0, 9, 9);
            target.WaterAdditive = 3;
            MemoryReader r(w.values);
            EXPECT_THROW(target.ReadFromStream(r), FileError) << bad << " at " << slot;
            // The bad code is not truncated into the field.
            if (slot == 14) {
                EXPECT_EQ(target.LiquidSpec, 7);
            } else {
                EXPECT_EQ(target.WaterAdditive, 3);
            }
        }
    }
}

TEST(FluidStream, TruncatedStreamFailsThroughTheReader) {
    MemoryWriter w;
    DistinctLiquid().WriteToStream(w);
    w.values.resize(10);
    TLiquid target("Other", 0, 0, 9, 9);
    MemoryReader r(w.values);
    EXPECT_THROW(target.ReadFromStream(r), FileError);
    // Values before the failure are in force.
    EXPECT_EQ(target.Caption, "Loop fluid");
}

} // namespace
} // namespace dvx
