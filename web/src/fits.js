// @ts-check
// The inner side and what fits, in words and a table. It computes nothing:
// the gap, each rim width's offsets and whether they fit come from the core
// (Refresh.inner, Refresh.fits); this module fills the page and makes each
// row's button, which puts that width and its smallest passing offset into
// the target fields (the caller refreshes).

import { byId, showVerdict } from './dom.js';
import { TEXTS, fill, length } from './texts.js';

/** @typedef {import('./core.js').Refresh} Refresh */
/** @typedef {import('./texts.js').Language} Language */

/** @param {string} verdict @param {Record<string, string>} words */
function captionVerdict(verdict, words) {
  return verdict === 'ok' ? words.captionOk : verdict === 'ng' ? words.captionNg : words.captionUnknown;
}

/**
 * Puts the inner gap and the table of `refresh` into the page, in
 * `language`; `use(width, offset)` is called by a row's button.
 * @param {Refresh} refresh
 * @param {Language} language
 * @param {(width: string, offset: string) => void} use
 */
export function showFits(refresh, language, use) {
  const words = TEXTS[language];
  const { inner, fits, tyres } = refresh;

  const line = byId('inner');
  line.hidden = !inner.given;
  const text = byId('inner-text');
  const gap = document.createElement('output');
  gap.id = 'inner-gap';
  gap.textContent = length(inner.gap, language);
  showVerdict(gap, inner.verdict);
  const [before, after] = (inner.verdict === 'ng' ? words.innerNg : words.innerOk).split('{gap}');
  text.replaceChildren(before, gap, after, inner.currentKnown ? '' : words.innerSameTyre);
  line.dataset.verdict = inner.verdict;

  byId('fits-section').hidden = !fits.shown;
  byId('fits-caption').textContent = fill(words.fitsCaption, {
    speedometer: fill(words.captionSpeed, { verdict: captionVerdict(tyres.speedometer.verdict, words) }),
    load: fill(words.captionLoad, { verdict: captionVerdict(tyres.load.verdict, words) }),
  });
  byId('fits-rows').replaceChildren(...fits.rows.map((row) => {
    const tr = document.createElement('tr');
    tr.dataset.width = row.width;
    if (row.min !== '') tr.dataset.min = row.min;
    if (row.max !== '') tr.dataset.max = row.max;
    tr.dataset.fits = String(row.fits);
    const width = document.createElement('th');
    width.scope = 'row';
    width.textContent = `${row.width}J`;
    const flush = document.createElement('td');
    flush.textContent = row.flush;
    const range = document.createElement('td');
    range.textContent = !row.fits ? words.fitsNone
      : row.max === '' ? fill(words.fitsFrom, { min: row.min }) : fill(words.fitsBetween, { min: row.min, max: row.max });
    const action = document.createElement('td');
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = words.fitsAction;
    button.disabled = !row.fits;
    button.setAttribute('aria-label', fill(words.fitsUseLabel, { width: row.width, offset: row.min }));
    button.addEventListener('click', () => use(row.width, row.min));
    action.append(button);
    tr.append(width, flush, range, action);
    return tr;
  }));
}
