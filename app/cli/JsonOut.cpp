// SPDX-License-Identifier: GPL-3.0-or-later
#include "JsonOut.h"

#include "OutputText.h"

#include <cmath>
#include <ostream>

namespace dvx::cli {

Json JsonText(std::string_view text) { return Json(Utf8Text(text)); }

Json JsonNumber(double value) { return std::isfinite(value) ? Json(value) : Json(nullptr); }

TJsonDocument::TJsonDocument(std::vector<std::pair<std::string, std::string>> units) {
    for (auto& [field, unit] : units) units_[field] = unit;
}

void TJsonDocument::Set(const std::string& key, Json value) { members_[key] = std::move(value); }

void TJsonDocument::AddWarning(const TCliWarning& warning) {
    Json w{{"code", warning.Code}, {"message", JsonText(warning.Message)}};
    if (warning.CarriesFreezingPoint)
        w["freezingPoint"] = warning.FreezingPoint ? JsonNumber(*warning.FreezingPoint) : Json(nullptr);
    warnings_.push_back(std::move(w));
}

std::string TJsonDocument::Text() const {
    Json root = Json::object();
    root["version"] = kJsonDocumentVersion;
    root["units"] = units_;
    for (const auto& [key, value] : members_.items()) root[key] = value;
    root["warnings"] = warnings_;
    // Every text went through JsonText; replacing stays a safety net so that
    // a stray byte can never make the document invalid.
    return root.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void TJsonDocument::Write(std::ostream& out) const { out << Text() << '\n'; }

} // namespace dvx::cli
