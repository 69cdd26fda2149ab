// @ts-check
// The inputs kept between visits, by the desktop's settings rule: the four
// wheel inputs are written only when all four are valid (the refresh
// decides), and the target offset never is. The protrusion check's spacer,
// bulge and vehicle, the two tyre sizes, the date of make and the axle
// load are written with them. Storage that is unavailable, full or holds
// something else leaves the page working with the defaults, and a failed
// write changes nothing that was stored.

import { CHOICES, fieldText } from './core.js';

const STORAGE_KEY = 'rimbeacon.inputs';
// Records written with the tyre sizes carry this version. An empty bulge
// box now means "estimate it from the tyre"; before, the box's default was
// "0", which a record without the version still holds: that "0" was never
// typed, and is read as empty.
const VERSION = 2;

/** What is stored, and its defaults: the desktop's four, then the check's and the tyres'. */
const DEFAULTS = /** @type {const} */ ({
  InRim: '6.5', InOffset: '45', InIn: '20', OutRim: '7', Spacer: '0', Bulge: '', Vehicle: 'passenger',
  Tyre: '', RefTyre: '', Made: 'from2007', Axle: '', InnerClear: '',
});

/**
 * The stored inputs by name (InRim … Vehicle), each key on its own: a key
 * that is missing or not a text (for Vehicle: not one of VEHICLES) takes
 * its default. Texts are cut to 255 bytes, as the desktop's fields are.
 * @returns {Record<string, string>}
 */
export function loadInputs() {
  /** @type {unknown} */
  let stored = null;
  try {
    const text = localStorage.getItem(STORAGE_KEY);
    if (text !== null) stored = JSON.parse(text);
  } catch {
    stored = null;
  }
  const record = stored !== null && typeof stored === 'object' ? /** @type {Record<string, unknown>} */ (stored) : {};
  /** @type {Record<string, string>} */
  const inputs = {};
  for (const [key, fallback] of Object.entries(DEFAULTS)) {
    const value = record[key];
    if (key in CHOICES) inputs[key] = CHOICES[key].includes(/** @type {any} */ (value)) ? String(value) : fallback;
    else inputs[key] = typeof value === 'string' ? fieldText(value) : fallback;
  }
  if (record.Version !== VERSION && inputs.Bulge === '0') inputs.Bulge = '';
  return inputs;
}

/**
 * Stores the inputs of `inputs` that are kept (the caller has checked that
 * the four wheel inputs are valid); the target offset is not among them.
 * Returns whether they were written.
 * @param {import('./core.js').Inputs} inputs
 */
export function saveInputs(inputs) {
  /** @type {Record<string, string | number>} */
  const record = {};
  for (const key of /** @type {(keyof typeof DEFAULTS)[]} */ (Object.keys(DEFAULTS))) record[key] = inputs[key] ?? '';
  record.Version = VERSION;
  try {
    localStorage.setItem(STORAGE_KEY, JSON.stringify(record));
    return true;
  } catch {
    return false;
  }
}
