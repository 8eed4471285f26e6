// SPDX-License-Identifier: GPL-3.0-or-later
#include "JsonOut.h"

#include "OutputText.h"

#include <cmath>
#include <ostream>
#include <sstream>

namespace dvx::cli {

Json JsonText(std::string_view text) { return Json(Utf8Text(text)); }

Json JsonNumber(double value) { return std::isfinite(value) ? Json(value) : Json(nullptr); }

namespace {

// Every text went through JsonText; replacing stays a safety net so that a
// stray byte can never make the document invalid.
void Dump(const Json& value, std::string& text) {
    text = value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace

TJsonStream::TJsonStream(std::ostream& out, const Json& units) : out_(out) {
    out_ << '{';
    Key("version");
    Dump(Json(kJsonDocumentVersion), text_);
    out_ << text_;
    Member("units", units);
}

void TJsonStream::Key(std::string_view key) {
    Dump(Json(std::string(key)), text_);
    out_ << text_ << ':';
}

void TJsonStream::Member(std::string_view key, const Json& value) {
    out_ << ',';
    Key(key);
    Dump(value, text_);
    out_ << text_;
}

void TJsonStream::BeginArray(std::string_view key) {
    out_ << ',';
    Key(key);
    out_ << '[';
    firstElement_ = true;
}

void TJsonStream::Element(const Json& value) {
    if (!firstElement_) out_ << ',';
    firstElement_ = false;
    Dump(value, text_);
    out_ << text_;
}

void TJsonStream::EndArray() { out_ << ']'; }

void TJsonStream::Finish(const Json& warnings) {
    Member("warnings", warnings);
    out_ << "}\n";
}

Json JsonWarning(const TCliWarning& warning) {
    Json w{{"code", warning.Code}, {"message", JsonText(warning.Message)}};
    if (warning.CarriesFreezingPoint)
        w["freezingPoint"] = warning.FreezingPoint ? JsonNumber(*warning.FreezingPoint) : Json(nullptr);
    return w;
}

Json JsonUnits(const std::vector<std::pair<std::string, std::string>>& units) {
    Json json = Json::object();
    for (const auto& [field, unit] : units) json[field] = unit;
    return json;
}

TJsonDocument::TJsonDocument(std::vector<std::pair<std::string, std::string>> units) : units_(JsonUnits(units)) {}

void TJsonDocument::Set(const std::string& key, Json value) { members_[key] = std::move(value); }

void TJsonDocument::AddWarning(const TCliWarning& warning) { warnings_.push_back(JsonWarning(warning)); }

std::string TJsonDocument::Text() const {
    std::ostringstream out;
    Write(out);
    std::string text = out.str();
    text.pop_back(); // the line end
    return text;
}

void TJsonDocument::Write(std::ostream& out) const {
    TJsonStream stream(out, units_);
    for (const auto& [key, value] : members_.items()) stream.Member(key, value);
    stream.Finish(warnings_);
}

} // namespace dvx::cli
