// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Money.h"

#include <clocale>
#include <cmath>
#include <fmt/format.h>
#include <langinfo.h>
#include <locale.h>

namespace dvx {

namespace {

MoneyFormat& Current() {
    static MoneyFormat format;
    return format;
}

std::string GroupThousands(const std::string& digits) {
    std::string out;
    int n = static_cast<int>(digits.size());
    for (int i = 0; i < n; ++i) {
        out += digits[static_cast<std::size_t>(i)];
        int left = n - 1 - i;
        if (left > 0 && left % 3 == 0) out += ',';
    }
    return out;
}

} // namespace

const MoneyFormat& CurrentMoneyFormat() { return Current(); }

void SetMoneyFormat(const MoneyFormat& format) { Current() = format; }

void LoadMoneyFormatFromEnvironment() {
    locale_t loc = newlocale(LC_MONETARY_MASK, "", static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr)) return;
    MoneyFormat format;
    locale_t old = uselocale(loc);
    const lconv* conv = std::localeconv();
    if (conv != nullptr) {
        format.symbol = conv->currency_symbol != nullptr ? conv->currency_symbol : "";
        if (format.symbol.empty() && conv->int_curr_symbol != nullptr) {
            // "EUR " carries the blank that separates it from an amount.
            std::string international = conv->int_curr_symbol;
            while (!international.empty() && international.back() == ' ') international.pop_back();
            format.symbol = international;
        }
        if (conv->frac_digits >= 0 && conv->frac_digits <= 6) format.decimals = conv->frac_digits;
        if (conv->p_cs_precedes >= 0 && conv->p_cs_precedes <= 1) format.symbolFirst = conv->p_cs_precedes == 1;
        format.spaceBetween = conv->p_sep_by_space == 1;
        format.negativeInParens = conv->n_sign_posn == 0;
    }
    uselocale(old);
    freelocale(loc);
    SetMoneyFormat(format);
}

void UseCurrencySymbol(const std::string& symbol) {
    if (!symbol.empty()) Current().symbol = symbol;
}

std::string WithCurrency(const std::string& caption) {
    const std::string& symbol = Current().symbol;
    return symbol.empty() ? caption : caption + " (" + symbol + ")";
}

std::string PerHourText() {
    const std::string& symbol = Current().symbol;
    return symbol.empty() ? std::string("per hour") : symbol + " per hour";
}

std::string FormatMoney(double amount, int decimals) {
    const MoneyFormat& format = Current();
    if (decimals < 0) decimals = format.decimals;
    if (!std::isfinite(amount)) return amount != amount ? "NAN" : (amount > 0 ? "INF" : "-INF");
    bool negative = amount < 0;
    std::string number = fmt::format("{:.{}f}", std::fabs(amount), decimals);
    // A value that rounds to zero is shown without a sign.
    if (negative && number.find_first_not_of("0.") == std::string::npos) negative = false;
    auto point = number.find('.');
    std::string whole = point == std::string::npos ? number : number.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : number.substr(point);
    std::string body = GroupThousands(whole) + fraction;
    if (!format.symbol.empty()) {
        std::string gap = format.spaceBetween ? " " : "";
        body = format.symbolFirst ? format.symbol + gap + body : body + gap + format.symbol;
    }
    if (!negative) return body;
    return format.negativeInParens ? "(" + body + ")" : "-" + body;
}

} // namespace dvx
