// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/settings/Defaults.h"

#include "base/Format.h"
#include "base/Numbers.h"
#include "storage/settings/SettingsKeys.h"
#include "storage/settings/SettingsStore.h"

#include <cmath>

namespace dvx {

namespace {

// Whole values read as they always have ("25"); a fraction is kept (shortest
// general form) instead of being rounded away, so that a default flow of
// 0.4 l/s does not come back as 0 and give every new item a zero flow.
std::string Stored(double value) { return FloatToStr(value); }
std::string Stored(int value) { return Format("%0d", {value}); }

double ReadFloat(const SettingsStore& store, const TextSetting& key, double def) {
    return StrToFloat(store.ReadString(key.Section, key.Key, Stored(def)));
}

int ReadInt(const SettingsStore& store, const TextSetting& key, int def) {
    return StrToInt(store.ReadString(key.Section, key.Key, Stored(def)));
}

bool IsBlankOrComma(char c) { return c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\n'; }

} // namespace

const TFlowList BuiltInMaxFlows = {1250, 780, 540, 430, 340, 260, 210, 150, 100, 55,
                                   38,   25,  14,  7.5, 4.8, 2.5, 1.6, 0.8, 0.5, 0.25};

void LoadItemDefaults(const SettingsStore& store) {
    const TItemDefaults& d = kStoredItemDefaults;
    DefaultTemperature = ReadFloat(store, settings::WaterTemp, d.Temperature);
    DefaultBore = ReadFloat(store, settings::PipeDiameter, d.Bore);
    DefaultLength = ReadFloat(store, settings::PipeLength, d.Length);
    DefaultFlow = ReadFloat(store, settings::WaterFlow, d.Flow);
    // The type is an index into FittingTable wherever it is used; one that
    // points outside the table (a hand-edited store) falls back to the first.
    const int type = ReadInt(store, settings::Fitting, d.FittingType);
    DefaultFittingType = type >= 0 && type < FittingCount ? type : d.FittingType;
    DefaultQuantity = ReadInt(store, settings::FittingQuantity, d.Quantity);
    DefaultUserDP = ReadFloat(store, settings::UserDP, d.UserDP);
}

void SaveItemDefaults(SettingsStore& store) {
    using namespace settings;
    store.WriteValues("Default", {
                                     std::string(WaterTemp.Key) + "=" + Stored(DefaultTemperature),
                                     std::string(PipeDiameter.Key) + "=" + Stored(DefaultBore),
                                     std::string(PipeLength.Key) + "=" + Stored(DefaultLength),
                                     std::string(WaterFlow.Key) + "=" + Stored(DefaultFlow),
                                     std::string(Fitting.Key) + "=" + Stored(DefaultFittingType),
                                     std::string(FittingQuantity.Key) + "=" + Stored(DefaultQuantity),
                                     std::string(UserDP.Key) + "=" + Stored(DefaultUserDP),
                                 });
}

void RestoreItemDefaults() {
    const TItemDefaults& d = kStoredItemDefaults;
    DefaultTemperature = d.Temperature;
    DefaultBore = d.Bore;
    DefaultLength = d.Length;
    DefaultFlow = d.Flow;
    DefaultFittingType = d.FittingType;
    DefaultQuantity = d.Quantity;
    DefaultUserDP = d.UserDP;
}

std::string LimitText(double value) { return FormatFloat("%0.1f", value); }

void LoadWarningLimits(const SettingsStore& store) {
    GradientLimit = StrToFloat(store.ReadString(settings::PRate.Section, settings::PRate.Key, LimitText(GradientLimit)));
    VelocityLimit = StrToFloat(store.ReadString(settings::VMax.Section, settings::VMax.Key, LimitText(VelocityLimit)));
    const double margin = StrToFloat(
        store.ReadString(settings::FreezeMargin.Section, settings::FreezeMargin.Key, LimitText(FreezingMargin)));
    // A margin below the freezing point would hide the warning it is for.
    if (std::isfinite(margin) && margin >= 0 && margin <= kMaxFreezingMargin) FreezingMargin = margin;
}

std::string FlowText(double flow) { return FormatFloat("%0.2f", flow); }

std::optional<TFlowList> ParseMaxFlows(std::string_view text) {
    TFlowList flows{};
    std::size_t count = 0;
    std::size_t p = 0;
    const std::size_t n = text.size();
    while (count < flows.size()) {
        while (p < n && IsBlankOrComma(text[p])) ++p;
        if (p >= n) return std::nullopt; // fewer than 20 tokens
        std::string token;
        if (text[p] == '"') {
            const std::size_t close = text.find('"', p + 1);
            if (close == std::string_view::npos) {
                token = text.substr(p + 1);
                p = n;
            } else {
                token = text.substr(p + 1, close - p - 1);
                p = close + 1;
            }
        } else {
            const std::size_t start = p;
            while (p < n && !IsBlankOrComma(text[p])) ++p;
            token = text.substr(start, p - start);
        }
        const std::optional<double> value = TryStrToFloat(token);
        if (!value) return std::nullopt;
        flows[count++] = *value;
    }
    return flows;
}

std::string JoinMaxFlows(const std::vector<std::string>& texts) {
    std::string joined;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) joined += ", ";
        joined += texts[i];
    }
    return joined;
}

TFlowList EffectiveMaxFlows(std::string_view text) {
    TFlowList flows = ParseMaxFlows(text).value_or(BuiltInMaxFlows);
    for (double& flow : flows) flow = StrToFloat(FlowText(flow));
    return flows;
}

void LoadDefaultFlows(const SettingsStore& store) {
    const TFlowList flows = EffectiveMaxFlows(store.Read(settings::MaxFlows));
    for (std::size_t i = 0; i < flows.size(); ++i) BoreTable[i].mf = flows[i];
}

} // namespace dvx
