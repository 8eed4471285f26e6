#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Compares the program's resistance correlations with python3-fluids over
random bores, angles, Reynolds numbers and flows. Exit 0: all agree; 1: a
case differs (printed); 77: python3-fluids is not installed."""
import math
import random
import subprocess
import sys

try:
    from fluids.control_valve import size_control_valve_l
    from fluids.fittings import Darby, Darby3K, contraction_conical_Crane, diffuser_conical_Crane, Kv_to_K
    from fluids.friction import von_Karman
except ImportError:
    print("python3-fluids is not installed")
    sys.exit(77)

rng = random.Random(20261211)
requests, expected, tolerance, names = [], [], [], []


def case(request, value, rel, name):
    requests.append(request)
    expected.append(value)
    tolerance.append(rel)
    names.append(name)


for _ in range(300):
    D = 10 ** rng.uniform(math.log10(0.012), math.log10(0.8))
    # fluids writes the rough-wall limit with 3.71 where the Crane method
    # writes 3.7: 0.1 % covers that and nothing else.
    case(f"ft {D!r}", von_Karman(0.045e-3 / D), 1e-3, f"fT at D = {D}")

for _ in range(300):
    name = rng.choice(sorted(Darby))
    K1, Ki, Kd = Darby[name]
    Re = 10 ** rng.uniform(1, 7)
    Dn = rng.uniform(0.5, 24)
    case(f"threek {K1!r} {Ki!r} {Kd!r} {Re!r} {Dn!r}",
         Darby3K(NPS=Dn, Re=Re, name=name), 1e-12, f"3-K {name} Re {Re} Dn {Dn}")

for _ in range(300):
    d_large = rng.uniform(0.02, 0.8)
    d_small = d_large * rng.uniform(0.1, 0.98)
    theta = rng.uniform(1, 180)
    if abs(theta - 45) < 1e-6:
        continue  # the two tables meet at 45°; the program takes 45° as gradual
    case(f"contraction {d_large!r} {d_small!r} {theta!r}",
         contraction_conical_Crane(d_large, d_small, angle=theta), 1e-12,
         f"contraction {d_large}→{d_small} at {theta}°")
    case(f"enlargement {d_small!r} {d_large!r} {theta!r}",
         diffuser_conical_Crane(d_small, d_large, angle=theta), 1e-12,
         f"enlargement {d_small}→{d_large} at {theta}°")

for _ in range(200):
    kv = 10 ** rng.uniform(-0.5, 3.5)
    rho = rng.uniform(800, 1300)
    dp = 10 ** rng.uniform(3, 5.5)  # Pa
    # Far from choking: high upstream pressure, low vapour pressure.
    q = kv / 3600 * math.sqrt(dp / 1e5 / (rho / 999.10329))
    kv_fluids = size_control_valve_l(rho=rho, Psat=2300.0, Pc=22.06e6, mu=1e-3,
                                     P1=1e6 + dp, P2=1e6, Q=q)
    # fluids takes water at 15 °C as 999.10329 kg/m³, the program 999.1.
    case(f"kvfor {q!r} {dp!r} {rho!r}", kv_fluids, 1e-5, f"Kv for {dp} Pa at {q} m³/s")
    case(f"kvdp {q!r} {kv!r} {rho!r}", dp, 1e-5, f"drop through Kv {kv}")
    d = rng.uniform(0.015, 0.5)
    # fluids' K from Kv uses 1.6e9, which refers Kv to water at 15.6 °C
    # (999.3 kg/m³); the two definitions differ by 0.02 %.
    case(f"kvk {kv!r} {d!r}", Kv_to_K(kv, d), 5e-4, f"K of Kv {kv} on {d} m")

# Fittings by the Crane K and 3-K methods, through the program's items: the
# fluids side knows each standard type by its Crane multiplier and its Darby
# row, and the nominal size in inches by the trade name of the bore.
CRANE_N = {0: 30, 1: 16, 4: 20, 5: 60, 6: 20, 7: 14, 8: 14, 9: 15, 10: 3, 12: 8,
           14: 100, 15: 600, 16: 340, 17: 350, 18: 45}
STANDARD_C = [30, 16, 38, 80, 20, 60, 20, 16, 16, 15, 5, 21, 12, 60, 100, 600, 340, 350, 45,
              200, 650, 10, 5, 8]
DARBY_ROW = {
    0: "Elbow, 90°, threaded, standard, (r/D = 1)",
    1: "Elbow, 45°, threaded standard, (r/D = 1)",
    4: "Tee, Run-through, threaded, (r/D = 1)",
    5: "Tee, Through-branch, (as elbow), threaded, (r/D = 1)",
    6: "Tee, Run-through, flanged, (r/D = 1)",
    7: "Elbow, 90°, threaded, long radius, (r/D = 1.5)",
    8: "Elbow, 90°, (r/D = 4)",
    9: "Elbow, 45°, mitered, 1 weld, (45°)",
    10: "Valve, Ball valve, standard, β = 1",
    12: "Valve, Gate valve, standard, β = 1",
    14: "Valve, Swing check",
    15: "Valve, Lift check",
    16: "Valve, Globe valve, standard, β = 1",
}
NOMINAL_INCHES = {15: 0.5, 20: 0.75, 25: 1, 32: 1.25, 40: 1.5, 50: 2, 65: 2.5, 80: 3, 100: 4,
                  125: 5, 150: 6, 200: 8, 250: 10, 300: 12, 350: 14, 400: 16, 450: 18,
                  500: 20, 600: 24, 750: 30}
fitting_cases = []
for _ in range(400):
    method = rng.choice([1, 2])
    kind = rng.randrange(24)
    nominal = rng.choice(sorted(NOMINAL_INCHES))
    q = 10 ** rng.uniform(-5.5, math.log10(0.25 * math.pi * (nominal / 1000) ** 2 * 4))
    quantity = rng.choice([1, 2, 3, 7])
    fitting_cases.append((method, kind, nominal, q, quantity))
    requests.append(f"fitting {method} {kind} {nominal} {q!r} {quantity}")

run = subprocess.run([sys.argv[1]], input="\n".join(requests) + "\n", capture_output=True, text=True)
if run.returncode != 0:
    print(run.stderr)
    sys.exit(1)
lines = run.stdout.splitlines()
if len(lines) != len(requests):
    print(f"the probe answered {len(lines)} of {len(requests)} requests")
    sys.exit(1)
answers = [float(x) for x in lines[:len(expected)]]
failures = 0
for (method, kind, nominal, q, quantity), line in zip(fitting_cases, lines[len(expected):]):
    dp, D, rho, mu, k_used = (float(x) for x in line.split())
    v = q / (0.25 * math.pi * D * D)
    Re = rho * v * D / mu
    if method == 2 and kind in DARBY_ROW:
        K = Darby3K(NPS=NOMINAL_INCHES[nominal], Re=Re, name=DARBY_ROW[kind])
    else:
        K = CRANE_N.get(kind, STANDARD_C[kind]) * von_Karman(0.045e-3 / D)
    want = quantity * K * 0.5 * rho * v * v
    rel = 1e-9 if method == 2 and kind in DARBY_ROW else 1e-3
    if not math.isclose(dp, want, rel_tol=rel) or not math.isclose(k_used, K, rel_tol=rel):
        failures += 1
        print(f"{quantity} × type {kind} on {nominal} mm at {q} m³/s, method {method}: "
              f"program {dp!r} Pa (K {k_used!r}), fluids {want!r} Pa (K {K!r})")
for name, want, got, rel in zip(names, expected, answers, tolerance):
    if not math.isclose(got, want, rel_tol=rel, abs_tol=1e-300):
        failures += 1
        print(f"{name}: program {got!r}, fluids {want!r}")
print(f"{len(requests)} cases, {failures} differ")
sys.exit(1 if failures else 0)
