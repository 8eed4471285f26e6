// SPDX-License-Identifier: GPL-3.0-or-later
// Reads one request per line from standard input and prints the program's
// answer, so that a script can compare the correlations with another
// implementation:
//   ft D                        → fT
//   threek K1 Ki Kd Re Dn       → K
//   contraction d1 d2 theta     → K on the smaller bore (d1 upstream)
//   enlargement d1 d2 theta     → K on the smaller bore (d1 upstream)
//   kvdp Q kv rho               → Δp in Pa (Q in m³/s)
//   kvfor Q dp rho              → Kv in m³/h
//   kvk kv d                    → K
//   fitting M T NOMINAL Q N     → Δp (Pa), ID (m), ρ, μ, K of N fittings of
//                                 type T on the bore of NOMINAL mm carrying
//                                 Q m³/s by method M (0, 1, 2), clean water
//                                 at the built-in temperature
#include "engine/catalogue/Bores.h"
#include "engine/hydraulics/Items.h"
#include "engine/resistance/CraneFriction.h"
#include "engine/resistance/CraneTransitions.h"
#include "engine/resistance/ThreeK.h"
#include "engine/resistance/ValveFlowCoefficient.h"

#include <charconv>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<double> Numbers(std::istringstream& in) {
    std::vector<double> values;
    std::string word;
    while (in >> word) {
        double v = 0;
        auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
        if (ec != std::errc{} || end != word.data() + word.size()) throw std::invalid_argument(word);
        values.push_back(v);
    }
    return values;
}

std::string Text(double v) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    return ec == std::errc{} ? std::string(buffer, end) : "nan";
}

} // namespace

int main() {
    using namespace dvx;
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream in(line);
        std::string what;
        in >> what;
        const std::vector<double> a = Numbers(in);
        double result = 0;
        if (what == "ft" && a.size() == 1)
            result = CraneFullyTurbulentFactor(a[0]);
        else if (what == "threek" && a.size() == 5)
            result = ThreeKCoefficient({a[0], a[1], a[2]}, a[3], a[4]);
        else if (what == "contraction" && a.size() == 3)
            result = BoreChangeK(TBoreChange::Contraction, a[1], a[0], a[2], false).K;
        else if (what == "enlargement" && a.size() == 3)
            result = BoreChangeK(TBoreChange::Enlargement, a[0], a[1], a[2], true).K;
        else if (what == "kvdp" && a.size() == 3)
            result = KvPressureDrop(a[0], a[1], a[2]);
        else if (what == "kvfor" && a.size() == 3)
            result = KvForPressureDrop(a[0], a[1], a[2]);
        else if (what == "kvk" && a.size() == 2)
            result = KvToResistanceK(a[0], a[1]);
        else if (what == "fitting" && a.size() == 5) {
            TProjectState state;
            state.Tables.FittingMethod = static_cast<TFittingMethod>(static_cast<int>(a[0]));
            const TProjectContext project = state.Context();
            TFitting fitting(project, static_cast<int>(a[1]));
            fitting.SetBoreFromNominal(project, a[2]);
            fitting.Flow = a[3];
            fitting.Quantity = a[4];
            fitting.Process(project);
            std::cout << Text(fitting.PressureDrop) << ' ' << Text(fitting.InsideDiameter) << ' '
                      << Text(state.Liquid.ro) << ' ' << Text(state.Liquid.mu) << ' '
                      << Text(fitting.ResistanceK(project)) << '\n';
            continue;
        } else {
            std::cerr << "bad request: " << line << '\n';
            return 2;
        }
        std::cout << Text(result) << '\n';
    }
    return 0;
}
