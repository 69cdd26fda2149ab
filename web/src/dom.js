// @ts-check
// The page's elements by id, for the modules that fill them in.

/**
 * The element with `id`; a missing one is a fault of the page itself.
 * @param {string} id
 */
export function byId(id) {
  const element = document.getElementById(id);
  if (!element) throw new Error(`#${id} is missing`);
  return element;
}

/**
 * Sets `element`'s data-verdict to `verdict`, or removes it for "" (no
 * verdict yet), so that a style or a test never sees a stale one.
 * @param {HTMLElement} element @param {string} verdict
 */
export function showVerdict(element, verdict) {
  if (verdict === '') delete element.dataset.verdict;
  else element.dataset.verdict = verdict;
}
