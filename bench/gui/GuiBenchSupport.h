// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the desktop program's benchmarks: the median of runs, letting
// queued events run, and a circuit of mixed items of a given size.

#include "engine/catalogue/Tables.h"
#include "engine/hydraulics/Calc.h"
#include "engine/hydraulics/ProjectContext.h"

#include <QApplication>
#include <algorithm>
#include <memory>
#include <vector>

namespace bench {

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

inline void Settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// Pipes, fittings and user items (userDrop Pa each) in turn, on every bore
// from index 2 on at 80 % of its largest flow, with the tables of `project`.
inline void FillMixedCircuit(const dvx::TProjectContext& project, dvx::TCircuit& circuit, int count,
                             double userDrop) {
    using namespace dvx;
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<TBranch> item;
        switch (i % 3) {
        case 0: item = std::make_unique<TPipe>(project); break;
        case 1: item = std::make_unique<TFitting>(project, i % FittingCount); break;
        default: {
            auto user = std::make_unique<TUser>(project);
            user->PressureDrop = userDrop;
            item = std::move(user);
        }
        }
        item->SetBore(project, 2 + i % 17);
        item->Flow =
            project.Tables.BoreTable[static_cast<std::size_t>(item->BoreIndex)].mf * 0.0008;
        circuit.Append(std::move(item));
    }
}

} // namespace bench
