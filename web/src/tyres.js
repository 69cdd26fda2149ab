// @ts-check
// What the tyre sizes tell, in words: the new tyre's measuring rim, its
// section width and sidewall on the target rim, the speedometer, the load
// and the 車検 in one line. It computes nothing: every number and verdict
// comes from the core (Refresh.tyres); this module picks the sentences and
// puts them into the page.

import { byId, showVerdict } from './dom.js';
import { TEXTS, fill, length } from './texts.js';

/** @typedef {import('./core.js').Tyres} Tyres */
/** @typedef {import('./core.js').Inspection} Inspection */
/** @typedef {import('./texts.js').Language} Language */

/**
 * @typedef {object} TyreScene
 * @property {Tyres} tyres
 * @property {{ Tyre: string, RefTyre: string }} typed  the two size boxes' texts
 */

// Each value of a sentence that the page shows in an element of its own,
// so that it can be read by its id.
const VALUE_IDS = /** @type {Record<string, string>} */ ({
  speed: 'speed-at-40', change: 'diameter-change', capacity: 'load-capacity',
});

/**
 * `sentence` into `element`, each {name} as its value, those of VALUE_IDS
 * in an <output> with that id.
 * @param {HTMLElement} element @param {string} sentence @param {Record<string, string>} values
 */
function fillInto(element, sentence, values) {
  element.replaceChildren(...sentence.split(/(\{\w+\})/).filter((part) => part !== '').map((part) => {
    const name = /^\{(\w+)\}$/.exec(part)?.[1];
    if (!name || !(name in values)) return document.createTextNode(part);
    if (!VALUE_IDS[name]) return document.createTextNode(values[name]);
    const output = document.createElement('output');
    output.id = VALUE_IDS[name];
    output.textContent = values[name];
    return output;
  }));
}

/** The sentence of the load's verdict. @param {Tyres['load']} load */
function loadSentence(load) {
  if (load.verdict === 'ok') return load.withAxle ? 'loadOkAxle' : 'loadOkCurrent';
  if (load.verdict === 'ng') return 'loadNgAxle';
  if (load.capacity === '') return 'loadNoIndex';
  return load.current === '' ? 'loadNoAxle' : 'loadLower';
}

/**
 * Puts `scene` into the tyre results, in `language`.
 * @param {TyreScene} scene
 * @param {Language} language
 */
export function showTyres(scene, language) {
  const words = TEXTS[language];
  const { tyres } = scene;

  // A size typed that is no size: say what was expected, and guess nothing.
  const unread = /** @type {const} */ ([['Tyre', tyres.target, 'tyre'], ['RefTyre', tyres.reference, 'refTyre']])
    .filter(([key, shape]) => scene.typed[key].trim() !== '' && shape === null).map(([, , label]) => words[label]);
  const error = byId('tyre-error');
  error.hidden = unread.length === 0;
  error.textContent = unread.length === 0 ? '' : fill(words.tyreError, { which: unread.join(words.listSeparator) });

  const target = tyres.target;
  byId('tyre-measuring-rim').textContent = target?.measuringRim ?? '';
  byId('tyre-section').textContent = target ? length(target.section, language) : '';
  byId('tyre-bulge').textContent = length(tyres.bulge.value, language);
  byId('tyre-bulge-kind').textContent = tyres.bulge.estimated ? words.estimated : words.measured;
  const outermost = byId('tyre-outermost');
  outermost.dataset.part = tyres.bulge.outermost;
  outermost.textContent = tyres.bulge.outermost === 'tyre' ? words.outermostTyre : words.outermostRim;
  const bulgeBox = /** @type {HTMLInputElement} */ (byId('Bulge'));
  // An empty box shows the estimate that the check uses instead.
  bulgeBox.placeholder = tyres.bulge.estimated ? fill(words.bulgeEstimated, { value: length(tyres.bulge.value, language) }) : '';

  const { speedometer } = tyres;
  showVerdict(byId('speedometer'), speedometer.verdict);
  fillInto(byId('speedometer-text'), speedometer.verdict === '' ? words.speedMissing
    : words[speedometer.verdict === 'ok' ? 'speedOk' : 'speedNg'], {
    speed: speedometer.speedAt40, change: speedometer.change, slowest: speedometer.slowest, fastest: speedometer.fastest,
  });

  const { load } = tyres;
  showVerdict(byId('load'), load.verdict);
  fillInto(byId('load-text'), words[loadSentence(load)], { capacity: load.capacity, current: load.current, required: load.required });
  byId('load-xl').hidden = !target?.reinforced;

  const { shaken } = tyres;
  const parts = /** @type {const} */ ([['protrusion', 'partProtrusion', 'needProtrusion'],
    ['speedometer', 'partSpeedometer', 'needSpeedometer'], ['load', 'partLoad', 'needLoad']]);
  const failed = parts.filter(([key]) => shaken[key] === 'ng').map(([, part]) => words[part]);
  const missing = parts.filter(([key]) => shaken[key] === 'incomplete').map(([, , need]) => words[need]);
  const line = byId('shaken');
  line.dataset.verdict = shaken.verdict;
  line.textContent = shaken.verdict === 'ok' ? words.shakenOk
    : shaken.verdict === 'ng' ? fill(words.shakenNg, { parts: failed.join(words.listSeparator) })
      : fill(words.shakenIncomplete, { parts: missing.join(words.listSeparator) });
}
