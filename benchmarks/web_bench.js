// @ts-check
// The browser edition's figures (tools/bench web), measured in Debian's
// Chromium, headless, with the CPU slowed down 4 times:
//   - the transfer size of a first visit, each file gzip-compressed;
//   - the time from navigation to the first drawn diagram (first visits,
//     a fresh profile each, no cache);
//   - the refresh, from Enter in a field to the diagram redrawn, over 1,000
//     refreshes.
// Each time is also given against a baseline measured in the same run: the
// same page with the core's work replaced by nothing (src/core.js answered
// by a stand-in that returns fixed results and loads no module).
//   node benchmarks/web_bench.js SITE [RUNS] [REFRESHES]

import { readdirSync, readFileSync, statSync } from 'node:fs';
import { join, relative } from 'node:path';
import { gzipSync } from 'node:zlib';
import { launch, serve, waitForDiagram } from '../tests/web/browser.js';

const [site, runsText = '15', refreshesText = '1000'] = process.argv.slice(2);
if (!site) {
  console.error('usage: node benchmarks/web_bench.js SITE [RUNS] [REFRESHES]');
  process.exit(2);
}
const RUNS = Number(runsText);
const REFRESHES = Number(refreshesText);
const THROTTLING = 4;
const FRAME_MS = 1000 / 60;

// ------------------------------------------------------------ transfer

function files(folder) {
  return readdirSync(folder).flatMap((name) => {
    const path = join(folder, name);
    return statSync(path).isDirectory() ? files(path) : [path];
  });
}
const sizes = files(site).map((path) => ({
  name: relative(site, path), raw: statSync(path).size, gzip: gzipSync(readFileSync(path), { level: 9 }).length,
})).sort((a, b) => b.gzip - a.gzip);
const total = sizes.reduce((sum, f) => sum + f.gzip, 0);
const rawTotal = sizes.reduce((sum, f) => sum + f.raw, 0);
console.log('\n### Transfer size of a first visit (every file, gzip -9)\n');
console.log('| file | bytes | gzip | share |\n|---|---:|---:|---:|');
for (const f of sizes) console.log(`| ${f.name} | ${f.raw} | ${f.gzip} | ${(100 * f.gzip / total).toFixed(1)} % |`);
console.log(`| **all** | ${rawTotal} | **${total}** (${(total / 1024).toFixed(1)} KiB) | goal 150 KB: ${total <= 150000 ? 'met' : 'missed'} |`);

// ------------------------------------------------------------ times

// The stand-in for src/core.js: the same exports, fixed results.
const FIXED_WHEEL = (inner, outer) => ({ inner, outer, tyre: null, outline: [[inner + 5, 50], [outer - 5, 50], [outer, 55], [outer, 145],
  [outer - 5, 150], [inner + 5, 150], [inner, 145], [inner, 55], [inner + 5, 50]] });
const FIXED_REFRESH = {
  valid: { reference: true, target: true, storable: true, fields: [true, true, true, true, true] },
  targetOffset: '50', optimalOffset: '404959999999999a', reference: FIXED_WHEEL(207, 295), target: FIXED_WHEEL(199, 300),
  differences: ['14.7 ﾐﾘ', '10.7 ﾐﾘ', '0.7 ﾐﾘ'],
  check: { verdict: 'wheel-out', judged: true, wheel: '0.7 ﾐﾘ', tyre: '0.7 ﾐﾘ', margin: '0.7 ﾐﾘ', effective: '', answers: ['51', '51'] },
  tyres: {
    target: { measuringRim: '7.5J', section: '230.1 ﾐﾘ', diameter: '634.3 ﾐﾘ', reinforced: false },
    reference: { measuringRim: '7.0J', section: '215.0 ﾐﾘ', diameter: '625.3 ﾐﾘ', reinforced: false },
    bulge: { value: '0.7 ﾐﾘ', estimated: true, outermost: 'tyre' },
    speedometer: { verdict: 'ok', speedAt40: '40.6 km/h', change: '+1.4 %', slowest: '30.9 km/h', fastest: '42.6 km/h' },
    load: { verdict: 'ok', capacity: '615 kg', current: '545 kg', withAxle: true, required: '450 kg' },
    shaken: { verdict: 'ng', protrusion: 'ng', speedometer: 'ok', load: 'ok' },
  },
  inner: { given: true, gap: '5.5 ﾐﾘ', verdict: 'ok', currentKnown: true },
  fits: { shown: true, rows: ['6.5', '7.0', '7.5', '8.0', '8.5', '9.0'].map((width) => ({ width, flush: '50', min: '51', max: '55', fits: true })) },
};
const FIXED_GEOMETRY = {
  picture: { width: 369, height: 230 }, fender: { x: 300, top: 30, bottom: 170, dotRun: 3 },
  underline: { left: 60, right: 157, y: 165 }, strokes: [[0, 0], [1, 0], [1, 1]],
  texts: { cell: 10, positions: [[160, 170], [240, 170], [320, 170], [160, 185], [320, 185]] },
  palette: { link: [150, 0, 0], heading: [0, 0, 100], fenderInk: [0, 0, 0], fenderGap: [255, 255, 255],
    reference: [100, 100, 100], target: [255, 0, 0], text: [70, 70, 70] },
};
const STAND_IN = `
export const FIELD_SIZE = 256;
export const FIELD_KEYS = ['InRim', 'InOffset', 'InIn', 'OutRim', 'OutOffset'];
export const TARGET_OFFSET = 4;
export const VEHICLES = ['passenger', 'other'];
export const MADE = ['from2007', 'before2007'];
export const CHOICES = { Vehicle: VEHICLES, Made: MADE };
export const INPUT_KEYS = [...FIELD_KEYS, 'Spacer', 'Bulge', 'Vehicle', 'Tyre', 'RefTyre', 'Made', 'Axle', 'InnerClear'];
export function cutUtf8(text) { return new TextEncoder().encode(text); }
export function fieldText(text) { return text; }
const REFRESH = ${JSON.stringify(FIXED_REFRESH)};
export class Core {
  constructor() { this.geometry = ${JSON.stringify(FIXED_GEOMETRY)}; }
  refresh(inputs, override) { return { ...REFRESH, targetOffset: override === '' ? '50' : override }; }
  step(index, text) { return { text, wrote: false, position: 0 }; }
  read() { return { number: '0000000000000000', valid: true }; }
}
export async function loadCore() { return new Core(); }
`;

const server = await serve(site);
const chromium = await launch({ width: 800, height: 600 });

async function newPage(baseline) {
  const context = await chromium.browser.createBrowserContext();
  const page = await context.newPage();
  await page.setCacheEnabled(false);
  await page.emulateCPUThrottling(THROTTLING);
  if (baseline) {
    await page.setRequestInterception(true);
    page.on('request', (request) => {
      if (request.url().endsWith('/src/core.js')) {
        request.respond({ status: 200, contentType: 'text/javascript', body: STAND_IN });
      } else if (request.url().endsWith('/rimcore.wasm')) {
        request.respond({ status: 200, contentType: 'application/wasm', body: '' });
      } else {
        request.continue();
      }
    });
  }
  return { page, context };
}

// The wheels with both tyres, the axle load and the inner clearance: every
// part of the refresh has its work to do (a page without them ignores the
// keys it does not know).
const LINK = 'index.html#InRim=7&InOffset=48&InIn=10&OutRim=8&OutOffset=50&Tyre=225/45R17%2091W&RefTyre=215/45R17%2087W' +
  '&Axle=900&InnerClear=15';

async function firstDiagram(baseline) {
  const times = [];
  for (let run = 0; run < RUNS; run += 1) {
    const { page, context } = await newPage(baseline);
    await page.goto(server.url + LINK);
    await waitForDiagram(page);
    times.push(await page.evaluate(() => performance.getEntriesByName('rimbeacon-first-diagram')[0].startTime));
    await context.close();
  }
  return times;
}

async function refreshes(baseline) {
  const { page, context } = await newPage(baseline);
  await page.goto(server.url + LINK);
  await waitForDiagram(page);
  const times = await page.evaluate(async (count) => {
    const field = /** @type {HTMLInputElement} */ (document.getElementById('OutOffset'));
    const out = [];
    for (let k = 0; k < count; k += 1) {
      field.value = String(20 + (k % 40));
      const start = performance.now();
      field.dispatchEvent(new KeyboardEvent('keydown', { key: 'Enter', bubbles: true, cancelable: true }));
      // The canvas's drawing is done when the handler returns; the next
      // frame shows it.
      out.push(performance.now() - start);
      if (k % 50 === 0) await new Promise((resolve) => requestAnimationFrame(resolve));
    }
    return out;
  }, REFRESHES);
  await context.close();
  return times;
}

const quantile = (values, q) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
};
const ms = (v) => `${v.toFixed(2)} ms`;

// In turns, so that the machine's load falls on both alike.
const page1 = await firstDiagram(false);
const base1 = await firstDiagram(true);
const page2 = await refreshes(false);
const base2 = await refreshes(true);

console.log(`\n### Times in Chromium ${(await chromium.browser.version()).replace('HeadlessChrome/', '')}, CPU slowed ${THROTTLING}×\n`);
console.log('| figure | page | baseline (no core work) | page / baseline |\n|---|---:|---:|---:|');
const row = (name, a, b, q) => console.log(`| ${name} | ${ms(quantile(a, q))} | ${ms(quantile(b, q))} | ${(quantile(a, q) / quantile(b, q)).toFixed(2)} |`);
row(`navigation to first diagram, median of ${RUNS}`, page1, base1, 0.5);
row(`refresh, median of ${REFRESHES}`, page2, base2, 0.5);
row(`refresh, p99 of ${REFRESHES}`, page2, base2, 0.99);
console.log(`\nRefresh p99 against one frame (${FRAME_MS.toFixed(1)} ms): ${quantile(page2, 0.99) <= FRAME_MS ? 'within' : 'over'}.`);

await chromium.close();
server.stop();
