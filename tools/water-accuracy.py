#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Clean-water properties of darvenix-cli against the IAPWS reference.

Compares density and dynamic viscosity of liquid 0 (clean water) as
`darvenix-cli fluid --liquid 0 --t T --json` gives them with the IAPWS-IF97
industrial formulation (density) and the IAPWS 2008 viscosity formulation,
both as computed by the Python package iapws (iapws.IAPWS97): at 101.325 kPa
below the normal boiling point, and as saturated liquid above it (a closed
circuit is pressurised; the pressure hardly changes a liquid's density or
viscosity).

Needs the Debian package python3-iapws (apt-get install -y python3-iapws);
it is used only to regenerate the accuracy table of the manual and is not a
build or test dependency.

    tools/water-accuracy.py [--cli build/darvenix-cli] [--html]
"""

import argparse
import json
import subprocess
import sys

try:
    from iapws import IAPWS97
except ImportError:
    sys.exit("water-accuracy: the iapws package is missing (apt-get install -y python3-iapws)")

ATMOSPHERE_MPA = 0.101325
# Below this the liquid at one atmosphere; at and above it saturated liquid.
BOILING_C = 99.9
TEMPERATURES = list(range(0, 101, 5)) + [110, 120, 140, 160, 180, 200, 225, 250, 275, 300]


def program_values(cli, t):
    out = subprocess.run([cli, "fluid", "--liquid", "0", "--t", repr(float(t)), "--json"],
                         check=True, capture_output=True, text=True).stdout
    values = json.loads(out)
    return values["liquid"]["ro"], values["liquid"]["mu"]


def reference_values(t):
    if t < BOILING_C:
        water = IAPWS97(T=t + 273.15, P=ATMOSPHERE_MPA)
        state = "101.325 kPa"
    else:
        water = IAPWS97(T=t + 273.15, x=0)
        state = "sat. %.0f kPa" % (water.P * 1000)
    return water.rho, water.mu, state


def signed(value, decimals):
    """A deviation with its sign; one that rounds to zero is written without."""
    text = "%+.*f" % (decimals, value)
    return text[1:] if float(text) == 0 else text.replace("-", "\u2212")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", default="build/darvenix-cli")
    parser.add_argument("--html", action="store_true", help="rows of an HTML table for the manual")
    args = parser.parse_args()

    rows = []
    for t in TEMPERATURES:
        ro, mu = program_values(args.cli, t)
        ro_ref, mu_ref, state = reference_values(t)
        rows.append((t, state, ro_ref, ro, 100 * (ro - ro_ref) / ro_ref,
                     mu_ref * 1e3, mu * 1e3, 100 * (mu - mu_ref) / mu_ref))

    if args.html:
        for t, state, ro_ref, ro, dro, mu_ref, mu, dmu in rows:
            print('<tr><td class="n">%d</td><td class="nw">%s</td><td class="n">%.2f</td><td class="n">%.2f</td>'
                  '<td class="n">%s</td><td class="n">%.4f</td><td class="n">%.4f</td><td class="n">%s</td></tr>'
                  % (t, state, ro_ref, ro, signed(dro, 2), mu_ref, mu, signed(dmu, 1)))
    else:
        print("%5s %-14s %10s %10s %8s %10s %10s %8s" % (
            "T °C", "state", "ρ IAPWS", "ρ program", "Δρ %", "μ IAPWS", "μ program", "Δμ %"))
        print("%5s %-14s %10s %10s %8s %10s %10s %8s" % ("", "", "kg/m³", "kg/m³", "", "mPa·s", "mPa·s", ""))
        for t, state, ro_ref, ro, dro, mu_ref, mu, dmu in rows:
            print("%5d %-14s %10.2f %10.2f %+8.2f %10.4f %10.4f %+8.1f" % (t, state, ro_ref, ro, dro, mu_ref, mu, dmu))
    for low, high in ((0, 100), (100, 300)):
        part = [r for r in rows if low <= r[0] <= high]
        print("%s%d-%d °C: largest |Δρ| %.2f %%, largest |Δμ| %.1f %%" % (
            "<!-- " if args.html else "", low, high, max(abs(r[4]) for r in part),
            max(abs(r[7]) for r in part)) + (" -->" if args.html else ""))


if __name__ == "__main__":
    main()
