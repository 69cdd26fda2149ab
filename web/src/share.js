// @ts-check
// The share link: the wheels in the address fragment, which never reaches
// a server. "#InRim=7&InOffset=48&InIn=10&OutRim=8&OutOffset=30", each value
// percent-encoded UTF-8. Unknown keys and values that do not decode are
// ignored; values are cut to 255 bytes like the fields.

import { FIELD_KEYS, fieldText } from './core.js';

/**
 * The fields that a fragment sets, by index (0 InRim ... 4 OutOffset).
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
    const index = FIELD_KEYS.indexOf(/** @type {any} */ (pair.slice(0, equals)));
    if (index < 0) continue;
    try {
      fields.set(index, fieldText(decodeURIComponent(pair.slice(equals + 1))));
    } catch {
      // undecodable: as if the key were absent
    }
  }
  return fields;
}

/**
 * The fragment for the five field texts.
 * @param {string[]} texts
 */
export function buildFragment(texts) {
  return '#' + FIELD_KEYS.map((key, i) => `${key}=${encodeURIComponent(texts[i] ?? '')}`).join('&');
}
