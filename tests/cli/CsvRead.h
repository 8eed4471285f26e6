// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads darvenix-cli's CSV back with an independent CSV reader (libcsv, in
// strict mode), so the tests check the output against RFC 4180 rather than
// against our own writer.

#include <csv.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dvx::test {

// The rows of the text; a text that is not valid CSV is a test failure.
inline std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
    struct State {
        std::vector<std::vector<std::string>> rows;
        std::vector<std::string> row;
    } state;
    csv_parser parser;
    csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI);
    auto field = [](void* s, std::size_t n, void* data) {
        static_cast<State*>(data)->row.emplace_back(s ? static_cast<const char*>(s) : "", s ? n : 0);
    };
    auto record = [](int, void* data) {
        auto* st = static_cast<State*>(data);
        st->rows.push_back(std::move(st->row));
        st->row.clear();
    };
    const std::size_t parsed = csv_parse(&parser, text.data(), text.size(), field, record, &state);
    const int fini = csv_fini(&parser, field, record, &state);
    const bool ok = parsed == text.size() && fini == 0;
    csv_free(&parser);
    if (!ok) ADD_FAILURE() << "not valid CSV:\n" << text;
    return state.rows;
}

} // namespace dvx::test
