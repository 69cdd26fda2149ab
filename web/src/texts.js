// @ts-check
// The page's words in Japanese (the desktop program's own texts, half-width
// katakana kept) and English. Numbers and the " ﾐﾘ" of the diagram are not
// words: they come from the core and stay as they are in both languages.

/** @typedef {'ja' | 'en'} Language */

/** @type {Record<Language, Record<string, string>>} */
export const TEXTS = {
  ja: {
    loading: '読み込み中…',
    failed: 'WebAssembly を読み込めませんでした。ページを再読み込みしてください。',
    refHeading: '基準となるﾎｲｰﾙのﾃﾞｰﾀ',
    outHeading: '知りたいﾎｲｰﾙのﾃﾞｰﾀ',
    width: 'ﾘﾑ幅/ﾀｲﾔ幅',
    widthUnit: 'ｲﾝﾁ/ﾐﾘ',
    offset: 'ｵﾌｾｯﾄ値',
    clearance: '外側余裕',
    mm: 'ﾐﾘ',
    fender: 'ﾌｪﾝﾀﾞｰ',
    inside: '内側',
    outside: '外側',
    optimal: '最適ｵﾌｾｯﾄ値取得',
    stepUp: '上げる',
    stepDown: '下げる',
    diagramLabel: '基準のホイール（灰色）と知りたいホイール（赤）の断面図。点線がフェンダーの位置',
    captionCurrent: '現状との差異',
    captionFender: 'ﾌｪﾝﾀﾞｰとの差',
    innerChange: '内側の変化',
    outerChange: '外側の変化',
    fenderChange: 'ﾌｪﾝﾀﾞｰとの差',
    copyLink: 'リンクをコピー',
    copied: 'コピーしました',
    copyFailed: 'コピーできませんでした。アドレス欄からコピーしてください',
    switchTo: 'English',
  },
  en: {
    loading: 'Loading…',
    failed: 'WebAssembly could not be loaded. Please reload the page.',
    refHeading: 'Wheel you know',
    outHeading: 'Wheel to check',
    width: 'Width',
    widthUnit: 'in/mm',
    offset: 'Offset',
    clearance: 'Clearance',
    mm: 'mm',
    fender: 'Fender',
    inside: 'Inside',
    outside: 'Outside',
    optimal: 'Optimal offset',
    stepUp: 'Up',
    stepDown: 'Down',
    diagramLabel: 'Cross-section of the wheel you know (grey) and the wheel to check (red); the dotted line is the fender',
    captionCurrent: 'Change',
    captionFender: 'To fender',
    innerChange: 'inner edge',
    outerChange: 'outer edge',
    fenderChange: 'to the fender',
    copyLink: 'Copy link',
    copied: 'Copied',
    copyFailed: 'Could not copy; please copy the address bar',
    switchTo: '日本語',
  },
};

const STORAGE_KEY = 'rimbeacon.language';

/**
 * The language to start in: the one chosen with the switch, else English
 * when the browser lists English before Japanese, else Japanese.
 * @returns {Language}
 */
export function startLanguage() {
  try {
    const chosen = localStorage.getItem(STORAGE_KEY);
    if (chosen === 'ja' || chosen === 'en') return chosen;
  } catch {
    // storage unavailable: fall through to the browser's preference
  }
  for (const tag of navigator.languages || [navigator.language]) {
    const lower = tag.toLowerCase();
    if (lower.startsWith('ja')) return 'ja';
    if (lower.startsWith('en')) return 'en';
  }
  return 'ja';
}

/** @param {Language} language */
export function rememberLanguage(language) {
  try {
    localStorage.setItem(STORAGE_KEY, language);
  } catch {
    // not kept; the page still switches
  }
}

/**
 * Puts the words of `language` into the page: element texts (data-text),
 * accessible names (data-label) and the switch's own label.
 * @param {Language} language
 */
export function applyLanguage(language) {
  const words = TEXTS[language];
  document.documentElement.lang = language;
  for (const element of document.querySelectorAll('[data-text]')) {
    const key = element.getAttribute('data-text') || '';
    if (key in words) element.textContent = words[key];
  }
  for (const element of document.querySelectorAll('[data-label]')) {
    const key = element.getAttribute('data-label') || '';
    if (key in words) element.setAttribute('aria-label', words[key]);
  }
  const other = language === 'ja' ? 'en' : 'ja';
  const toggle = document.getElementById('language');
  if (toggle) {
    toggle.textContent = words.switchTo;
    toggle.setAttribute('lang', other);
  }
}
