// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hydraulic model: circuit items, the circuit and its calculation, the
// friction factor, auto-size and auto-flow.

#include "hydraulics/Circuit.h"
#include "hydraulics/Friction.h"
#include "hydraulics/Items.h"
