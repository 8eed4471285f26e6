// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hydraulic model: circuit items, the circuit and its calculation, the
// friction factor, auto-size and auto-flow.

#include "engine/hydraulics/Circuit.h"
#include "engine/hydraulics/Friction.h"
#include "engine/hydraulics/Items.h"
#include "engine/hydraulics/ResistanceItems.h"
