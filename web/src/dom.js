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
