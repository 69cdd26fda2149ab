// @ts-check
// The share link: the wheels and the protrusion check's inputs in the
// address fragment, which never reaches a server.
// "#InRim=7&InOffset=48&InIn=10&OutRim=8&OutOffset=30&Spacer=0&Bulge=9&Vehicle=passenger",
// each value percent-encoded UTF-8. Unknown keys, values that do not decode
// and vehicles other than passenger and other are ignored; values are cut
// to 255 bytes like the fields.

import { FIELD_KEYS, VEHICLES, fieldText } from './core.js';

/** The keys by index: the five fields, then the check's three inputs. */
export const LINK_KEYS = /** @type {const} */ ([...FIELD_KEYS, 'Spacer', 'Bulge', 'Vehicle']);
export const LINK_VEHICLE = LINK_KEYS.indexOf('Vehicle');

/**
 * The inputs that a fragment sets, by index in LINK_KEYS.
 * @param {string} hash  location.hash, with or without its "#"
 * @returns {Map<number, string>}
 */
export function parseFragment(hash) {
  /** @type {Map<number, string>} */
  const fields = new Map();
  const body = hash.startsWith('#') ? hash.slice(1) : hash;
  if (body === '') return fields;
  for (const pair of body.split('&')) {
    const equals = pair.indexOf('=');
    if (equals < 0) continue;
    const index = LINK_KEYS.indexOf(/** @type {any} */ (pair.slice(0, equals)));
    if (index < 0) continue;
    try {
      const value = fieldText(decodeURIComponent(pair.slice(equals + 1)));
      if (index !== LINK_VEHICLE || VEHICLES.includes(/** @type {any} */ (value))) fields.set(index, value);
    } catch {
      // undecodable: as if the key were absent
    }
  }
  return fields;
}

/**
 * The fragment for the inputs, in the order of LINK_KEYS.
 * @param {string[]} texts
 */
export function buildFragment(texts) {
  return '#' + LINK_KEYS.map((key, i) => `${key}=${encodeURIComponent(texts[i] ?? '')}`).join('&');
}
