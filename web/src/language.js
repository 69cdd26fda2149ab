// @ts-check
// The page's language, chosen before the page is first drawn (a classic
// script in the head, not a module, so that it runs first): the one chosen
// with the switch, else English when the browser lists English before
// Japanese, else Japanese. It goes into <html lang>, where texts.js reads
// it. An English page stays unseen until texts.js has put its words in, so
// that nothing moves when they arrive. A choice made with the switch
// (the event "rimbeacon-language") is kept for the next visit.
(() => {
  const STORAGE_KEY = 'rimbeacon.language';
  const WORDS_WAIT_MS = 5000;
  const root = document.documentElement;

  /** @returns {'ja' | 'en'} */
  function chosen() {
    try {
      const kept = localStorage.getItem(STORAGE_KEY);
      if (kept === 'ja' || kept === 'en') return kept;
    } catch {
      // storage unavailable: the browser's preference decides
    }
    for (const tag of navigator.languages || [navigator.language]) {
      const lower = tag.toLowerCase();
      if (lower.startsWith('ja')) return 'ja';
      if (lower.startsWith('en')) return 'en';
    }
    return 'ja';
  }

  const language = chosen();
  root.lang = language;
  // The HTML holds the Japanese words: only another language waits for its own.
  if (language !== 'ja') {
    root.dataset.words = 'pending';
    // Should the page's modules never come, its Japanese words show after all.
    setTimeout(() => { delete root.dataset.words; }, WORDS_WAIT_MS);
  }
  document.addEventListener('rimbeacon-language', (event) => {
    try {
      localStorage.setItem(STORAGE_KEY, /** @type {CustomEvent<string>} */ (event).detail);
    } catch {
      // not kept; the page still switches
    }
  });
})();
