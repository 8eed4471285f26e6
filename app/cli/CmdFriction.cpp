// SPDX-License-Identifier: GPL-3.0-or-later
// darvenix-cli friction: the Darcy friction factor and its regime code for
// one Reynolds number, wall roughness and inside diameter.

#include "Args.h"
#include "CliCommand.h"

#include "common/Format.h"
#include "common/Numbers.h"
#include "hydraulics/Friction.h"

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
    if (json)
        out << "{\"f\":" << (std::isfinite(r.f) ? FloatToStr17(r.f) : "null") << ",\"regime\":" << Format("%d", {r.Regime}) << "}\n";
    else
        out << "f " << FloatToStr17(r.f) << "\nregime " << Format("%d", {r.Regime}) << "\n";
    return kExitOk;
}

const CliCommandRegistrar registrar({
    "friction",
    "friction --re RE --eps EPS --d D [--f0 F0] [--json]",
    RunFriction,
});

} // namespace
} // namespace dvx::cli
