// @ts-check
// The differential check: the WebAssembly core that the page loads, run
// under Node through the page's own wrapper (web/src/core.js), against the
// same interface built natively (diff_native.cpp), on the same random
// inputs. Both write one line of results an input; every line must agree.
//   node tests/web/diff.js COUNT NATIVE_DRIVER WASM_MODULE [SEED]
// Prints the count of inputs and of differences for each kind of result,
// and "web-diff: N passed, M failed" (inputs whose results all agree).

import { spawn } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { createInterface } from 'node:readline';
import { Readable } from 'node:stream';
import { cutUtf8, loadCore } from '../../web/src/core.js';

const [countText, nativeDriver, wasmPath, seedText] = process.argv.slice(2);
const COUNT = Number(countText);
if (!Number.isInteger(COUNT) || COUNT <= 0 || !nativeDriver || !wasmPath) {
  console.error('usage: node tests/web/diff.js COUNT NATIVE_DRIVER WASM_MODULE [SEED]');
  process.exit(2);
}

// ------------------------------------------------------------ the inputs

/** mulberry32: a small seeded generator, the same numbers on every run. */
function generator(seed) {
  let a = seed >>> 0;
  return () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}
const random = generator(Number(seedText ?? 20261210));
const pick = (list) => list[Math.floor(random() * list.length)];
const int = (n) => Math.floor(random() * n);
const digits = (n) => Array.from({ length: n }, () => int(10)).join('');
const sign = () => pick(['', '', '', '-', '+']);

const WORDS = ['', 'abc', 'inf', 'nan', '-inf', '0x10', '１２', 'ﾐﾘ', '7x', '00', '0.00', '-0', ' 0', '0', '0.0',
  '.', '-', '+', 'e5', '.e1', ',', '1,0', '+-1', 'ｲﾝﾁ', '\u3000', '\u30007', ' ', '  \t'];
const EXPONENT = ['e', 'E', 'd', 'D'];

/** One field text of a random kind. */
function text() {
  switch (int(12)) {
    case 0: return sign() + digits(1 + int(4));                                     // a whole number
    case 1: return sign() + digits(1 + int(3)) + '.' + digits(1 + int(3));           // a decimal
    case 2: return sign() + String(int(600)) + pick(['.5', '.25', '.75', '.05', '.35', '.45', '.95', '.15']); // halves
    case 3: return sign() + String(2 ** 50 + int(2 ** 20)) + pick(['.25', '.5', '.75']); // halves at the 17th digit
    case 4: return sign() + digits(1 + int(17)) + pick(EXPONENT) + pick(['', '-', '+']) + String(int(400)); // exponents
    case 5: return pick(['1e308', '1.7976931348623157e308', '1.7976931348623159e308', '2e-324', '3e-324', '4.9e-324',
      '2.4703282292062327e-324', '2.4703282292062328e-324', '1e-310', '2.2250738585072014e-308', '1e999', '-1e999',
      '1e-999', '1d2', '1D-2', '9.999999999999999e22']);
    case 6: return pick([' ', '\t', '\n', '\r', '\v', '\f', '  ']) + sign() + digits(1 + int(3)) + pick(['', 'x', ' ', 'e', 'ﾐﾘ']); // blanks
    case 7: return pick(WORDS);
    case 8: return '0.' + '0'.repeat(int(300)) + digits(1 + int(30)) + pick(EXPONENT) + String(int(700) - 350); // long digits
    case 9: return digits(100 + int(200)) + '.' + digits(int(60));                    // 255 bytes and more
    case 10: return Array.from({ length: 100 + int(200) }, () => pick(['1', '0', '.', 'e', '-', ' ', 'a', 'ﾐ', '５'])).join('');
    default: return sign() + String(int(60)) + pick(['', '.0', '.5', '.3']);           // plausible widths and offsets
  }
}

const hex = (bytes) => (bytes.length === 0 ? '-' : Buffer.from(bytes).toString('hex'));

/** A spacer or bulge: often a plausible one. */
const thickness = () => (random() < 0.5 ? text() : pick(['0', String(int(30)), String(int(200) / 10)]));

/** A tyre size: often one as people write it, now and then anything. */
const tyre = () => {
  if (random() < 0.2) return text();
  const size = `${pick(['', 'P'])}${pick(['155', '165', '175', '185', '195', '205', '215', '225', '235', '245', '255', '275', '285'])}` +
    `/${pick(['25', '30', '35', '40', '45', '50', '55', '60', '65', '70', '75', '80', '15', '99'])}${pick(['R', 'ZR', ' R', 'r'])}` +
    `${pick(['12', '13', '14', '15', '16', '17', '18', '19', '20', '21', '09', '27'])}`;
  return size + pick(['', ` ${60 + int(60)}${pick(['', 'W', 'Y', 'H', 'V'])}`, ` ${int(130)} W`, ' XL', ` ${80 + int(20)}W XL`, ' EXTRA LOAD']);
};
const fullWidth = (t) => [...t].map((c) => (c >= '!' && c <= '~' ? String.fromCharCode(c.charCodeAt(0) + 0xfee0) : c)).join('');
/** The tyres, the date of make and the axle load. */
const tyreInputs = () => [random() < 0.1 ? fullWidth(tyre()) : tyre(), random() < 0.2 ? '' : tyre(),
  pick(['from2007', 'before2007', '', 'x']), pick(['', '900', String(600 + int(900)), text()]),
  pick(['', '', String(int(40)), String(int(300) / 10), text()])];

/** Wheels, spacer and bulge as people have them: every verdict comes up often. */
const plausible = () => [String(6 + int(8) / 2), String(20 + int(36)), String(int(21)), String(6 + int(10) / 2),
  String(20 + int(41)), pick(['0', String(int(26))]), String(int(151) / 10)];

// Each input: the five field texts, the spacer and the bulge, cut to 255
// bytes as the page cuts them, the vehicle (0 passenger, 1 other), and
// where the target offset's and the reference offset's spinners stand
// (beyond the range now and then).
const position = () => int(1041) - 520;
const inputs = Array.from({ length: COUNT }, () => ({
  texts: [...(random() < 0.3 ? plausible() : [...Array.from({ length: 5 }, text), thickness(), thickness()]),
    ...tyreInputs()].map((t) => cutUtf8(t, 255)),
  vehicle: int(2),
  positions: [position(), position()],
}));

// ------------------------------------------------------------ both sides

const core = await loadCore(readFileSync(wasmPath));
const decoder = new TextDecoder();
const UP = 1;
const DOWN = -1;

/** The wasm side of one input: the native driver's calls, in its order. */
function wasmResults({ texts: bytes, vehicle, positions }) {
  const texts = bytes.map((b) => decoder.decode(b));
  const [InRim, InOffset, InIn, OutRim, OutOffset, Spacer, Bulge, Tyre, RefTyre, Made, Axle, InnerClear] = texts;
  const inputs = {
    InRim, InOffset, InIn, OutRim, OutOffset, Spacer, Bulge, Tyre, RefTyre, Made, Axle, InnerClear,
    Vehicle: vehicle === 0 ? 'passenger' : 'other',
  };
  const results = texts.slice(0, 5).map((t) => core.read(t));
  results.push(core.refresh(/** @type {any} */ (inputs), ''), core.refresh(/** @type {any} */ (inputs), OutOffset));
  for (const field of [0, 3]) for (const delta of [UP, DOWN]) results.push(core.step(field, texts[field], delta, 0));
  results.push(core.step(4, OutOffset, UP, positions[0]), core.step(1, InOffset, DOWN, positions[1]));
  return results;
}

// The kinds of result: what each takes of the results of one input.
const REFRESHES = [5, 6];
const pickRefreshes = (/** @type {(r: any) => unknown} */ part) => (/** @type {any[]} */ r) => REFRESHES.map((k) => part(r[k]));
const KINDS = /** @type {[string, (r: any[]) => unknown][]} */ ([
  ['number reading', (r) => r.slice(0, 5).map((x) => x.number)],
  ['IsFieldValid', (r) => r.slice(0, 5).map((x) => x.valid)],
  ['EvaluateValidity', pickRefreshes((x) => x.valid)],
  ['ComputeOffset text', pickRefreshes((x) => x.targetOffset)],
  ['ComputeOffset value', pickRefreshes((x) => x.optimalOffset)],
  ['diagram columns', pickRefreshes((x) => [x.reference, x.target])],
  ['FormatDifference texts', pickRefreshes((x) => x.differences)],
  ['StepWidthText', (r) => r.slice(7, 11)],
  ['integer stepper', (r) => r.slice(11, 13)],
  ['protrusion check', pickRefreshes((x) => x.check)],
  ['tyres (sizes, sidewall, speedometer, load, 車検)', pickRefreshes((x) => [x.tyres, x.reference.tyre, x.target.tyre])],
  ['what fits (inner gap, table)', pickRefreshes((x) => [x.inner, x.fits])],
]);

const native = spawn(nativeDriver, [], { stdio: ['pipe', 'pipe', 'inherit'] });
Readable.from(inputs.map((record) => `${record.texts.map(hex).join(' ')} ${record.vehicle} ${record.positions.join(' ')}\n`))
  .pipe(native.stdin);
const lines = createInterface({ input: native.stdout });

const differing = new Map(KINDS.map(([name]) => [name, 0]));
let index = 0;
let failed = 0;
const shown = [];
for await (const nativeLine of lines) {
  if (index >= COUNT) break;
  const ours = wasmResults(inputs[index]);
  const theirs = nativeLine.split('\t').map((json) => JSON.parse(json));
  let bad = ours.length !== theirs.length;
  for (const [name, part] of KINDS) {
    if (JSON.stringify(part(ours)) !== JSON.stringify(part(theirs))) {
      differing.set(name, /** @type {number} */ (differing.get(name)) + 1);
      bad = true;
    }
  }
  if (bad) {
    failed += 1;
    if (shown.length < 5) {
      shown.push(`input ${index} [${inputs[index].texts.map(hex).join(' ')} ${inputs[index].vehicle}]\n` +
        `  wasm   ${JSON.stringify(ours)}\n  native ${JSON.stringify(theirs)}`);
    }
  }
  index += 1;
}
const status = await new Promise((resolve) => native.on('close', resolve));
if (index !== COUNT) {
  console.error(`web-diff: the native driver answered ${index} of ${COUNT} inputs (exit ${status})`);
  failed += COUNT - index;
}
for (const line of shown) console.log(line);
for (const [name] of KINDS) console.log(`web-diff: ${name}: ${COUNT} inputs, ${differing.get(name)} differ`);
console.log(`web-diff: ${COUNT - failed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
