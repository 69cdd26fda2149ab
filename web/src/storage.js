// @ts-check
// The four inputs kept between visits, by the desktop's settings rule: they
// are written only when all four are valid (the refresh decides), and the
// target offset never is. Storage that is unavailable, full or holds
// something else leaves the page working with the defaults, and a failed
// write changes nothing that was stored.

import { fieldText } from './core.js';

const STORAGE_KEY = 'rimbeacon.inputs';

/** The desktop's defaults: InRim, InOffset, InIn, OutRim. */
export const DEFAULT_INPUTS = /** @type {const} */ (['6.5', '45', '20', '7']);
const KEYS = /** @type {const} */ (['InRim', 'InOffset', 'InIn', 'OutRim']);

/**
 * The stored inputs, each key on its own: a key that is missing or not a
 * text takes its default. Texts are cut to 255 bytes, as the desktop's
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
    return typeof value === 'string' ? fieldText(value) : DEFAULT_INPUTS[i];
  });
}

/**
 * Stores the four inputs (the caller has checked that they are valid).
 * Returns whether they were written.
 * @param {string[]} inputs  InRim, InOffset, InIn, OutRim
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
