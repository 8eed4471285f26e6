// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli friction: the Darcy friction factor and its regime code for
// one Reynolds number, wall roughness and inside diameter.

#include "Args.h"
#include "CliCommand.h"
#include "JsonOut.h"

#include "base/Format.h"
#include "base/Numbers.h"
#include "engine/hydraulics/Friction.h"

#include <cmath>
#include <ostream>

namespace dvx::cli {
namespace {

double Required(Args& args, const std::string& name) {
    auto v = args.Number(name);
    if (!v) throw UsageError(name + " is needed");
    if (!std::isfinite(*v)) throw UsageError(name + " must be a finite number");
    return *v;
}

int RunFriction(const std::vector<std::string>& argv, std::ostream& out, std::ostream&) {
    Args args(argv);
    const bool json = args.Flag("--json");
    const double re = Required(args, "--re");
    const double eps = Required(args, "--eps");
    const double d = Required(args, "--d");
    const double f0 = args.Number("--f0").value_or(0);
    args.RequireAllUsed();
    if (!(d > 0)) throw UsageError("--d must be greater than 0");
    if (!std::isfinite(f0)) throw UsageError("--f0 must be a finite number");
    const TFrictionResult r = FrictionFactor(f0, eps, d, re);
    if (json) {
        TJsonDocument doc({{"eps", "m"}, {"d", "m"}});
        doc.Set("re", JsonNumber(re));
        doc.Set("eps", JsonNumber(eps));
        doc.Set("d", JsonNumber(d));
        doc.Set("f0", JsonNumber(f0));
        doc.Set("f", JsonNumber(r.f));
        doc.Set("regime", r.Regime);
        doc.Write(out);
    } else {
        out << "f " << FloatToStr17(r.f) << "\nregime " << Format("%d", {r.Regime}) << "\n";
    }
    return kExitOk;
}

const CliCommandRegistrar registrar({
    "friction",
    "the Darcy friction factor for a Reynolds number and roughness",
    "Usage: darvenix-cli friction --re RE --eps METRES --d METRES [OPTIONS]\n",
    "  --re RE              Reynolds number\n"
    "  --eps METRES         wall roughness\n"
    "  --d METRES           inside diameter, greater than 0\n"
    "  --f0 F0              starting friction factor (default 0); returned when\n"
    "                       there is no flow\n"
    "  --json               print the versioned JSON document (regime -1 no flow,\n"
    "                       0 smooth, 1 Colebrook, 2 fully rough, 3 laminar)\n",
    RunFriction,
    TOutputOption::Accepted,
});

} // namespace
} // namespace dvx::cli
