// SPDX-License-Identifier: GPL-3.0-or-later
// Display units of the page's result columns, status bar and plot. The
// engine's values are SI (Pa, m³/s, m/s, Pa/m, m³); only what is shown is
// converted.
export type Units = 'si' | 'us';
export type Quantity = 'dp' | 'flow' | 'velocity' | 'gradient' | 'volume' | 'head';

const PA_PER_PSI = 6894.757293168361;
const M3S_PER_GPM = 3.785411784e-3 / 60;
const M_PER_FT = 0.3048;
const M3_PER_USGAL = 3.785411784e-3;

const table: Record<Quantity, Record<Units, [string, number, number]>> = {
  // unit, SI value per unit, decimals
  dp: { si: ['kPa', 1000, 2], us: ['psi', PA_PER_PSI, 3] },
  flow: { si: ['l/s', 1e-3, 3], us: ['gpm', M3S_PER_GPM, 2] },
  velocity: { si: ['m/s', 1, 3], us: ['ft/s', M_PER_FT, 3] },
  gradient: { si: ['Pa/m', 1, 1], us: ['psi/100 ft', PA_PER_PSI / (100 * M_PER_FT), 4] },
  volume: { si: ['m³', 1, 4], us: ['US gal', M3_PER_USGAL, 2] },
  head: { si: ['m', 1, 2], us: ['ft', M_PER_FT, 2] },
};

export function quantityUnit(q: Quantity, units: Units): string {
  return table[q][units][0];
}

export function toDisplay(value: number, q: Quantity, units: Units): number {
  return value / table[q][units][1];
}

export function formatQuantity(value: number, q: Quantity, units: Units): string {
  return toDisplay(value, q, units).toFixed(table[q][units][2]);
}
