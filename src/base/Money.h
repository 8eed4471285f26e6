// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Money in the user's currency format: the symbol, its place and the number
// of decimals come from the environment's monetary locale; the separators
// are always "." for decimals and "," for thousands, as for every number the
// program shows.

#include <string>

namespace dvx {

struct MoneyFormat {
    std::string symbol;          // e.g. "$", "€", "£"; empty when the locale has none
    int decimals = 2;            // digits after the decimal point
    bool symbolFirst = true;     // symbol before the amount
    bool spaceBetween = false;   // a space between symbol and amount
    bool negativeInParens = false;
};

// The format in force. Starts as the "C" locale's (no symbol, 2 decimals).
const MoneyFormat& CurrentMoneyFormat();
void SetMoneyFormat(const MoneyFormat& format);

// Reads the monetary conventions of the environment (LC_ALL, LC_MONETARY,
// LANG) without changing the process locale, and puts them in force. A
// locale without a currency symbol gives its international one ("EUR"),
// else none.
void LoadMoneyFormatFromEnvironment();

// The currency named in the settings ("Settings"/"Currency") replaces the
// locale's symbol; an empty text keeps the locale's.
void UseCurrencySymbol(const std::string& symbol);

// A caption with the currency in brackets, "Material (€)"; the caption alone
// when no currency is known, never empty brackets.
std::string WithCurrency(const std::string& caption);
// "€ per hour", or "per hour" when no currency is known.
std::string PerHourText();

// Formats an amount; decimals < 0 means the format's own decimals.
std::string FormatMoney(double amount, int decimals = -1);

} // namespace dvx
