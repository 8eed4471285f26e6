// SPDX-License-Identifier: GPL-3.0-or-later
// The pump and system curve as a plain SVG: the system curve from "curve
// --json", the pump's fitted curve over its flow range, its points, and the
// duty point where they meet; head against flow in the display units.
import { quantityUnit, toDisplay, Units } from './units';

interface CurveDoc {
  curve: { flow: number; head: number }[];
  design: { flow: number; head: number };
  pump: { points: { flow: number; head: number }[];
          fit: { a: number; b: number; c: number; minFlow: number; maxFlow: number } } | null;
  duty: { flow: number; head: number } | null;
}

const NS = 'http://www.w3.org/2000/svg';

function el(name: string, attrs: Record<string, string | number>, text?: string): SVGElement {
  const e = document.createElementNS(NS, name);
  for (const [k, v] of Object.entries(attrs)) e.setAttribute(k, String(v));
  if (text !== undefined) e.textContent = text;
  return e;
}

/** A tick step of 1, 2 or 5 times a power of ten giving about n ticks. */
function niceStep(max: number, n: number): number {
  const raw = max / n;
  const power = 10 ** Math.floor(Math.log10(raw));
  return [1, 2, 5, 10].map((m) => m * power).find((s) => s >= raw) ?? raw;
}

export function drawCurve(doc: CurveDoc, units: Units): SVGSVGElement {
  const W = 640, H = 360, L = 64, R = 16, T = 16, B = 48;
  const svg = el('svg', { viewBox: `0 0 ${W} ${H}`, role: 'img', 'aria-label': 'Pump and system curve' }) as SVGSVGElement;
  const q = (v: number) => toDisplay(v, 'flow', units);
  const h = (v: number) => toDisplay(v, 'head', units);
  const flows = doc.curve.map((p) => p.flow);
  const heads = doc.curve.map((p) => p.head);
  if (doc.pump) {
    flows.push(doc.pump.fit.maxFlow);
    heads.push(...doc.pump.points.map((p) => p.head));
  }
  const maxQ = q(Math.max(...flows, 1e-9)) * 1.05;
  const maxH = h(Math.max(...heads, 1e-9)) * 1.1;
  const x = (v: number) => L + (q(v) / maxQ) * (W - L - R);
  const y = (v: number) => H - B - (h(v) / maxH) * (H - T - B);

  const axes = el('g', { class: 'axes' });
  const sq = niceStep(maxQ, 6), sh = niceStep(maxH, 5);
  for (let t = 0; t <= maxQ + 1e-12; t += sq) {
    const px = L + (t / maxQ) * (W - L - R);
    axes.append(el('line', { x1: px, y1: T, x2: px, y2: H - B, class: 'gridline' }));
    axes.append(el('text', { x: px, y: H - B + 16, 'text-anchor': 'middle' }, String(Number(t.toPrecision(6)))));
  }
  for (let t = 0; t <= maxH + 1e-12; t += sh) {
    const py = H - B - (t / maxH) * (H - T - B);
    axes.append(el('line', { x1: L, y1: py, x2: W - R, y2: py, class: 'gridline' }));
    axes.append(el('text', { x: L - 6, y: py + 4, 'text-anchor': 'end' }, String(Number(t.toPrecision(6)))));
  }
  axes.append(el('text', { x: (L + W - R) / 2, y: H - 8, 'text-anchor': 'middle' }, `Flow, ${quantityUnit('flow', units)}`));
  axes.append(el('text', { x: 14, y: (T + H - B) / 2, 'text-anchor': 'middle',
    transform: `rotate(-90 14 ${(T + H - B) / 2})` }, `Head, ${quantityUnit('head', units)}`));
  svg.append(axes);

  const path = (pts: { flow: number; head: number }[]) =>
    pts.map((p, i) => `${i ? 'L' : 'M'}${x(p.flow).toFixed(1)},${y(p.head).toFixed(1)}`).join(' ');
  svg.append(el('path', { d: path(doc.curve), class: 'system', fill: 'none' }));
  if (doc.pump) {
    const { a, b, c, minFlow, maxFlow } = doc.pump.fit;
    const fit = Array.from({ length: 41 }, (_, i) => {
      const flow = minFlow + ((maxFlow - minFlow) * i) / 40;
      return { flow, head: a + b * flow + c * flow * flow };
    });
    svg.append(el('path', { d: path(fit), class: 'pump', fill: 'none' }));
    for (const p of doc.pump.points) svg.append(el('circle', { cx: x(p.flow), cy: y(p.head), r: 3, class: 'pump-point' }));
  }
  if (doc.duty) {
    svg.append(el('circle', { cx: x(doc.duty.flow), cy: y(doc.duty.head), r: 6, class: 'duty', id: 'duty-point' }));
  }
  const legend = el('g', { class: 'legend' });
  legend.append(el('line', { x1: W - 170, y1: T + 10, x2: W - 150, y2: T + 10, class: 'system' }));
  legend.append(el('text', { x: W - 145, y: T + 14 }, 'System curve'));
  if (doc.pump) {
    legend.append(el('line', { x1: W - 170, y1: T + 28, x2: W - 150, y2: T + 28, class: 'pump' }));
    legend.append(el('text', { x: W - 145, y: T + 32 }, 'Pump curve'));
  }
  svg.append(legend);
  return svg;
}
