// @ts-check
// The inputs kept between visits, by the desktop's settings rule: the four
// wheel inputs are written only when all four are valid (the refresh
// decides), and the target offset never is. The protrusion check's spacer,
// bulge and vehicle are written with them. Storage that is unavailable, full or holds
// something else leaves the page working with the defaults, and a failed
// write changes nothing that was stored.

import { fieldText } from './core.js';

const STORAGE_KEY = 'rimbeacon.inputs';

/** The desktop's defaults (InRim, InOffset, InIn, OutRim), then Spacer, Bulge, Vehicle. */
export const DEFAULT_INPUTS = /** @type {const} */ (['6.5', '45', '20', '7', '0', '0', 'passenger']);
const KEYS = /** @type {const} */ (['InRim', 'InOffset', 'InIn', 'OutRim', 'Spacer', 'Bulge', 'Vehicle']);
const VEHICLE = KEYS.indexOf('Vehicle');

/**
 * The stored inputs in the order of DEFAULT_INPUTS, each key on its own: a
 * key that is missing or not a text (for Vehicle: not 'passenger' or
 * 'other') takes its default. Texts are cut to 255 bytes, as the desktop's
 * fields are.
 * @returns {string[]}
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
  return KEYS.map((key, i) => {
    const value = record[key];
    if (i === VEHICLE) return value === 'passenger' || value === 'other' ? value : DEFAULT_INPUTS[i];
    return typeof value === 'string' ? fieldText(value) : DEFAULT_INPUTS[i];
  });
}

/**
 * Stores the inputs (the caller has checked that the four wheel inputs are
 * valid). Returns whether they were written.
 * @param {string[]} inputs  in the order of DEFAULT_INPUTS
 */
export function saveInputs(inputs) {
  /** @type {Record<string, string>} */
  const record = {};
  KEYS.forEach((key, i) => { record[key] = inputs[i]; });
  try {
    localStorage.setItem(STORAGE_KEY, JSON.stringify(record));
    return true;
  } catch {
    return false;
  }
}
