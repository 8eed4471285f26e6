// SPDX-License-Identifier: GPL-3.0-or-later
// The shipped example projects, built into the page so that it opens them
// without a server or network.
import chilledWater from '../../../examples/chilled-water.dvx';
import chilledWaterKv from '../../../examples/chilled-water-kv.dvx';
import glycolLoop from '../../../examples/glycol-loop.dvx';
import heatingLoop from '../../../examples/heating-loop.txt';

export const examples: Record<string, Uint8Array> = {
  'chilled-water.dvx': chilledWater,
  'chilled-water-kv.dvx': chilledWaterKv,
  'glycol-loop.dvx': glycolLoop,
  'heating-loop.txt': heatingLoop,
};
