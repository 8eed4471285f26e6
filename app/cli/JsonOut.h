// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one JSON writer of darvenix-cli. Every command's document has the
// same frame:
//
//   {"version":1, "units":{FIELD:UNIT,…}, …the command's members…, "warnings":[…]}
//
// "units" names once the unit of every numeric field that has one (SI, the
// program's internal units; a field not listed there is dimensionless or a
// code). "warnings" is always present: [{"code":WORD,"message":TEXT},…].
// Texts are always valid UTF-8 (8-bit text of older files is decoded as
// Windows-1252); numbers are written in the shortest form that reads back
// to the same double; a value that is not finite is null.
//
// A command uses it like this:
//
//   TJsonDocument doc({{"ro", "kg/m3"}, {"t", "degC"}});
//   doc.Set("liquid", Json{{"caption", JsonText(caption)}, {"t", JsonNumber(t)}});
//   for (const TCliWarning& w : warnings) doc.AddWarning(w);
//   doc.Write(out);
//
// A document with a long list is written as a stream instead, the list one
// element at a time, with the same bytes:
//
//   TJsonStream json(out, units);
//   json.Member("liquid", liquid);
//   json.BeginArray("items");
//   for (…) json.Element(item);
//   json.EndArray();
//   json.Finish(warnings);

#include "CliWarning.h"

#include <nlohmann/json.hpp>

#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dvx::cli {

using Json = nlohmann::ordered_json;

inline constexpr int kJsonDocumentVersion = 1;

// A text as a JSON string, valid UTF-8 whatever the bytes were.
Json JsonText(std::string_view text);
// A number, or null when it is not finite.
Json JsonNumber(double value);

// Writes a document's frame and members straight to out, in the order
// called: the opening and "version" and "units" at construction, "warnings"
// and the closing line end at Finish().
class TJsonStream {
public:
    TJsonStream(std::ostream& out, const Json& units);
    TJsonStream(const TJsonStream&) = delete;
    TJsonStream& operator=(const TJsonStream&) = delete;

    void Member(std::string_view key, const Json& value);
    void BeginArray(std::string_view key);
    void Element(const Json& value);
    void EndArray();
    void Finish(const Json& warnings);

private:
    void Key(std::string_view key);

    std::ostream& out_;
    std::string text_; // one value's text, reused
    bool firstElement_ = true;
};

// The "units" member: field → unit, in the order given.
Json JsonUnits(const std::vector<std::pair<std::string, std::string>>& units);
// A warning as the "warnings" list holds it.
Json JsonWarning(const TCliWarning& warning);

class TJsonDocument {
public:
    explicit TJsonDocument(std::vector<std::pair<std::string, std::string>> units);

    // Adds or replaces a member; members keep the order they were first set in.
    void Set(const std::string& key, Json value);
    void AddWarning(const TCliWarning& warning);

    // The whole document, members in order, one line.
    std::string Text() const;
    // Text() and a line end.
    void Write(std::ostream& out) const;

private:
    Json units_;
    Json members_ = Json::object();
    Json warnings_ = Json::array();
};

} // namespace dvx::cli
