// @ts-check
// The protrusion check's section in words. It computes nothing: the
// verdict, the lengths and the offsets come from the core (Core.check);
// this module picks the sentences and puts them into the page.

import { byId, showVerdict } from './dom.js';
import { TEXTS, fill, length } from './texts.js';

/** @typedef {import('./core.js').Check} Check */
/** @typedef {import('./core.js').Vehicle} Vehicle */
/** @typedef {import('./texts.js').Language} Language */

/**
 * @typedef {object} CheckScene
 * @property {Check} check
 * @property {Vehicle} vehicle
 * @property {string[]} missing   keys of the invalid wheel fields, in order ('InRim'…)
 * @property {boolean} answerable  the optimal offset stands (reference and target width valid)
 */

/** The sentence of each verdict, and of its margin. */
const SENTENCES = {
  'wheel-out': ['wheelOut', 'marginWheelOut'],
  'tyre-out': ['tyreOut', ''],
  'tyre-tolerated': ['tyreTolerated', 'marginTolerated'],
  ok: ['ok', 'marginOk'],
};

/**
 * One answer's output and button: the offset, or "none" and a button that
 * cannot be pressed.
 * @param {string} outputId @param {string} buttonId @param {string} offset
 * @param {Record<string, string>} words
 */
function showAnswer(outputId, buttonId, offset, words) {
  byId(outputId).textContent = offset === '' ? words.answerNone : fill(words.answerFrom, { offset });
  const button = /** @type {HTMLButtonElement} */ (byId(buttonId));
  button.disabled = offset === '';
  button.dataset.offset = offset;
  button.setAttribute('aria-label', offset === '' ? words.use : fill(words.useLabel, { offset }));
}

/**
 * Puts `scene` into the section, in `language`.
 * @param {CheckScene} scene
 * @param {Language} language
 */
export function showCheck(scene, language) {
  const words = TEXTS[language];
  const { check } = scene;
  const verdict = byId('verdict');
  const { judged } = check;
  const values = {
    wheel: length(check.wheel, language), tyre: length(check.tyre, language), margin: length(check.margin, language),
  };

  let sentence = words.noVerdict;
  let margin = '';
  if (scene.missing.length > 0) {
    const names = scene.missing.map((key) => words[`field${key}`]);
    sentence = fill(words.missing, { fields: names.join(words.listSeparator) });
  } else if (check.verdict !== '') {
    const [verdictKey, marginKey] = SENTENCES[check.verdict];
    const passenger = scene.vehicle === 'passenger';
    const tyreOutMargin = passenger ? 'marginTyreOutPassenger' : 'marginTyreOutOther';
    sentence = fill(words[verdictKey], values);
    margin = fill(words[marginKey || tyreOutMargin], values);
  }
  showVerdict(verdict, judged ? check.verdict : '');
  byId('verdict-text').textContent = sentence;
  byId('verdict-margin').textContent = margin;
  byId('verdict-caution').hidden = !judged || check.verdict !== 'tyre-tolerated';

  const effective = byId('effective');
  effective.hidden = scene.missing.length > 0 || check.effective === '';
  byId('effective-value').textContent = length(check.effective, language);

  byId('answers').hidden = !scene.answerable;
  byId('answer-rule-label').textContent = scene.vehicle === 'passenger' ? words.answerPassenger : words.answerOther;
  showAnswer('answer-inside', 'use-inside', check.answers[0], words);
  showAnswer('answer-rule', 'use-rule', check.answers[1], words);
}
