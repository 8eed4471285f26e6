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

void LoadItemDefaults(const SettingsStore& store, TCatalogueTables& tables) {
    const TItemDefaults& d = kStoredItemDefaults;
    tables.DefaultTemperature = ReadFloat(store, settings::WaterTemp, d.Temperature);
    tables.DefaultBore = ReadFloat(store, settings::PipeDiameter, d.Bore);
    tables.DefaultLength = ReadFloat(store, settings::PipeLength, d.Length);
    tables.DefaultFlow = ReadFloat(store, settings::WaterFlow, d.Flow);
    // The type is an index into FittingTable wherever it is used; one that
    // points outside the table (a hand-edited store) falls back to the first.
    const int type = ReadInt(store, settings::Fitting, d.FittingType);
    tables.DefaultFittingType = type >= 0 && type < FittingCount ? type : d.FittingType;
    tables.DefaultQuantity = ReadInt(store, settings::FittingQuantity, d.Quantity);
    tables.DefaultUserDP = ReadFloat(store, settings::UserDP, d.UserDP);
}

void SaveItemDefaults(SettingsStore& store, const TCatalogueTables& tables) {
    using namespace settings;
    store.WriteValues("Default", {
                                     std::string(WaterTemp.Key) + "=" + Stored(tables.DefaultTemperature),
                                     std::string(PipeDiameter.Key) + "=" + Stored(tables.DefaultBore),
                                     std::string(PipeLength.Key) + "=" + Stored(tables.DefaultLength),
                                     std::string(WaterFlow.Key) + "=" + Stored(tables.DefaultFlow),
                                     std::string(Fitting.Key) + "=" + Stored(tables.DefaultFittingType),
                                     std::string(FittingQuantity.Key) + "=" + Stored(tables.DefaultQuantity),
                                     std::string(UserDP.Key) + "=" + Stored(tables.DefaultUserDP),
                                 });
}

void RestoreItemDefaults(TCatalogueTables& tables) {
    const TItemDefaults& d = kStoredItemDefaults;
    tables.DefaultTemperature = d.Temperature;
    tables.DefaultBore = d.Bore;
    tables.DefaultLength = d.Length;
    tables.DefaultFlow = d.Flow;
    tables.DefaultFittingType = d.FittingType;
    tables.DefaultQuantity = d.Quantity;
    tables.DefaultUserDP = d.UserDP;
}

std::string LimitText(double value) { return FormatFloat("%0.1f", value); }

void LoadWarningLimits(const SettingsStore& store, TCatalogueTables& tables) {
    tables.GradientLimit = StrToFloat(store.ReadString(settings::PRate.Section, settings::PRate.Key, LimitText(tables.GradientLimit)));
    tables.VelocityLimit = StrToFloat(store.ReadString(settings::VMax.Section, settings::VMax.Key, LimitText(tables.VelocityLimit)));
    const double margin = StrToFloat(
        store.ReadString(settings::FreezeMargin.Section, settings::FreezeMargin.Key, LimitText(tables.FreezingMargin)));
    // A margin below the freezing point would hide the warning it is for.
    if (std::isfinite(margin) && margin >= 0 && margin <= kMaxFreezingMargin) tables.FreezingMargin = margin;
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

void LoadDefaultFlows(const SettingsStore& store, TCatalogueTables& tables) {
    const TFlowList flows = EffectiveMaxFlows(store.Read(settings::MaxFlows));
    for (std::size_t i = 0; i < flows.size(); ++i) tables.BoreTable[i].mf = flows[i];
}

} // namespace dvx
