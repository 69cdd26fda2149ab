// @ts-check
// The share link: the wheels, the protrusion check's inputs and the tyres
// in the address fragment, which never reaches a server.
// "#InRim=7&InOffset=48&InIn=10&OutRim=8&OutOffset=30&Spacer=0&Bulge=9&Vehicle=passenger
//  &Tyre=225%2F45R17%2091W&RefTyre=&Made=from2007&Axle=",
// each value percent-encoded UTF-8. Unknown keys, values that do not decode
// and vehicles or dates of make that are none of their list are ignored; values are cut
// to 255 bytes like the fields.

import { CHOICES, INPUT_KEYS, fieldText } from './core.js';

/** The link's keys, in its order: every input of a refresh. */
export const LINK_KEYS = INPUT_KEYS;
/** @typedef {typeof LINK_KEYS[number]} LinkKey */

/**
 * The inputs that a fragment sets, by key.
 * @param {string} hash  location.hash, with or without its "#"
 * @returns {Partial<Record<LinkKey, string>>}
 */
export function parseFragment(hash) {
  /** @type {Partial<Record<LinkKey, string>>} */
  const found = {};
  const body = hash.startsWith('#') ? hash.slice(1) : hash;
  if (body === '') return found;
  for (const pair of body.split('&')) {
    const equals = pair.indexOf('=');
    if (equals < 0) continue;
    const key = /** @type {LinkKey} */ (pair.slice(0, equals));
    if (!LINK_KEYS.includes(key)) continue;
    try {
      const value = fieldText(decodeURIComponent(pair.slice(equals + 1)));
      if (CHOICES[key]?.includes(value) ?? true) found[key] = value;
    } catch {
      // undecodable: as if the key were absent
    }
  }
  return found;
}

/**
 * The fragment for the inputs, in the order of LINK_KEYS.
 * @param {Record<LinkKey, string>} inputs
 */
export function buildFragment(inputs) {
  return '#' + LINK_KEYS.map((key) => `${key}=${encodeURIComponent(inputs[key] ?? '')}`).join('&');
}
