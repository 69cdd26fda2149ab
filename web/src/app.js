// @ts-check
// The page: the five fields with their steppers, the refresh cycle that
// ties them to the core, the diagram, the protrusion check, the stored
// inputs, the share link and the language switch. A refresh runs only on
// Enter (or the phone keyboard's Go/Done), a stepper, the link, leaving a
// field whose text changed, a vehicle chosen, an answer used, and opening a
// link; never while typing.

import { FIELD_KEYS, TARGET_OFFSET, fieldText, loadCore } from './core.js';
import { drawDiagram } from './diagram.js';
import { applyLanguage, rememberLanguage, startLanguage, TEXTS } from './texts.js';
import { loadInputs, saveInputs } from './storage.js';
import { buildFragment, parseFragment } from './share.js';
import { showCheck } from './check.js';
import { showTyres } from './tyres.js';
import { showFits } from './fits.js';
import { byId } from './dom.js';
import { registerServiceWorker } from './offline.js';

/** @typedef {import('./core.js').Core} Core */
/** @typedef {import('./core.js').Inputs} Inputs */
/** @typedef {import('./core.js').Refresh} Refresh */
/** @typedef {import('./core.js').Vehicle} Vehicle */
/** @typedef {import('./texts.js').Language} Language */
/** @typedef {import('./share.js').LinkKey} LinkKey */

// The stored inputs and the address follow a refresh once the user pauses
// for this long (and at once when the page is hidden or the link copied):
// a refresh pays for neither, and quick steps write them once.
const SETTLE_MS = 300;
// A held stepper repeats as the desktop's up-down control does: the first
// step at once, the next after this delay, then about ten a second.
const REPEAT_DELAY_MS = 400;
const REPEAT_INTERVAL_MS = 100;

const fields = FIELD_KEYS.map((key) => /** @type {HTMLInputElement} */ (byId(key)));
// The protrusion check's and the tyres' text boxes.
const checkBoxes = /** @type {const} */ (['Spacer', 'Bulge', 'Tyre', 'RefTyre', 'Axle', 'InnerClear']).map((key) => (
  { key, input: /** @type {HTMLInputElement} */ (byId(key)) }));
const vehicleSelect = /** @type {HTMLSelectElement} */ (byId('Vehicle'));
const madeSelect = /** @type {HTMLSelectElement} */ (byId('Made'));
const canvas = /** @type {HTMLCanvasElement} */ (byId('diagram'));
const differenceOutputs = ['diff-inner', 'diff-outer', 'diff-fender'].map(byId);

/** @type {Core | null} */
let core = null;
/** @type {Language} */
let language = startLanguage();
const picture = new Image();

/** @type {Refresh | null} what the last refresh computed, for repaints at another size or language */
let last = null;
/** Where each integer spinner stands after its last step (the width fields have none). */
const positions = FIELD_KEYS.map(() => 0);

/** @returns {Vehicle} */
function vehicle() {
  return vehicleSelect.value === 'other' ? 'other' : 'passenger';
}

/** @returns {Inputs['Made']} */
function made() {
  return madeSelect.value === 'before2007' ? 'before2007' : 'from2007';
}

/** What the boxes hold, cut as the fields are. @returns {Inputs} */
function boxInputs() {
  const [InRim, InOffset, InIn, OutRim, OutOffset] = fields.map((input) => fieldText(input.value));
  const [Spacer, Bulge, Tyre, RefTyre, Axle, InnerClear] = checkBoxes.map(({ input }) => fieldText(input.value));
  return { InRim, InOffset, InIn, OutRim, OutOffset, Spacer, Bulge, Vehicle: vehicle(), Tyre, RefTyre, Made: made(), Axle, InnerClear };
}

// ------------------------------------------------------------ the refresh

/** @type {Inputs | null} the last valid inputs not yet stored */
let unstored = null;
/** @type {Inputs | null} the inputs of the last refresh, for the link */
let refreshed = null;
let settleTimer = 0;

/** Stores the inputs and updates the address now. */
function settle() {
  clearTimeout(settleTimer);
  settleTimer = 0;
  if (unstored) saveInputs(unstored);
  unstored = null;
  updateLink();
}

function settleLater() {
  clearTimeout(settleTimer);
  settleTimer = window.setTimeout(settle, SETTLE_MS);
}

/**
 * The desktop's refresh: the target offset becomes the override, or the
 * optimal offset's integer part when that is empty; then the diagram, the
 * differences and the check follow.
 * @param {string} override
 */
function refresh(override) {
  if (!core) return;
  const result = core.refresh(boxInputs(), override);
  fields[TARGET_OFFSET].value = result.targetOffset;
  refreshed = { ...boxInputs(), OutOffset: result.targetOffset };
  if (result.valid.storable) unstored = refreshed;
  last = result;
  paint();
  showDifferences();
  showCurrentCheck();
  settleLater();
}

/** A refresh that keeps the target offset the box shows. */
function refreshKeepingTarget() {
  refresh(fields[TARGET_OFFSET].value);
}

function showDifferences() {
  differenceOutputs.forEach((output, k) => {
    output.textContent = last?.valid.target ? last.differences[k] : '';
  });
}

function showCurrentCheck() {
  if (!last || !refreshed) return;
  const valid = last.valid;
  showCheck({
    check: last.check,
    vehicle: refreshed.Vehicle,
    missing: FIELD_KEYS.filter((key, i) => !valid.fields[i]),
    answerable: valid.storable,
  }, language);
  showTyres({ tyres: last.tyres, typed: refreshed }, language);
  showFits(last, language, useFit);
}

/** A row of what fits, used: its width and offset into the target fields. @param {string} width @param {string} offset */
function useFit(width, offset) {
  fields[FIELD_KEYS.indexOf('OutRim')].value = width;
  fields[TARGET_OFFSET].value = offset;
  refreshKeepingTarget();
}

// ------------------------------------------------------------ the diagram

/** The canvas's width in CSS pixels; 0 until it has been measured. */
let canvasWidth = 0;

/** Device pixels per desktop pixel for the canvas's size on the screen. @param {number} pictureWidth */
function canvasScale(pictureWidth) {
  // The width the resize observer last saw; asking the layout instead would
  // make every refresh wait for the whole page's layout.
  if (canvasWidth === 0) canvasWidth = canvas.getBoundingClientRect().width;
  const cssWidth = canvasWidth || pictureWidth;
  const devicePixels = Math.round(cssWidth * (window.devicePixelRatio || 1));
  return devicePixels / pictureWidth;
}

function paint() {
  if (!core) return;
  const { geometry } = core;
  const scale = canvasScale(geometry.picture.width);
  const width = Math.round(geometry.picture.width * scale);
  const height = Math.round(geometry.picture.height * scale);
  if (canvas.width !== width) {
    canvas.height = height;
    canvas.width = width;
  }
  const words = TEXTS[language];
  drawDiagram(canvas, picture, scale, geometry, {
    refresh: last, captionCurrent: words.captionCurrent, captionFender: words.captionFender,
  });
  canvas.dataset.scale = String(scale);
}

/** The labels' colours, the desktop's: the link label and the headings. */
function applyPalette() {
  if (!core) return;
  const { palette } = core.geometry;
  const style = document.documentElement.style;
  style.setProperty('--link', `rgb(${palette.link.join(', ')})`);
  style.setProperty('--heading', `rgb(${palette.heading.join(', ')})`);
}

// ------------------------------------------------------------ the link

function currentFragment() {
  return buildFragment(refreshed ?? boxInputs());
}

function updateLink() {
  if (!core) return;
  const fragment = currentFragment();
  if (location.hash !== fragment) history.replaceState(null, '', fragment);
}

/** Fills the inputs from a fragment, absent keys from storage, and refreshes. */
function openLink() {
  const stored = loadInputs();
  const fromLink = parseFragment(location.hash);
  const value = (/** @type {LinkKey} */ key) => fromLink[key] ?? stored[key] ?? '';
  fields.forEach((input, i) => { input.value = value(FIELD_KEYS[i]); });
  checkBoxes.forEach(({ key, input }) => { input.value = value(key); });
  vehicleSelect.value = value('Vehicle');
  madeSelect.value = value('Made');
  refresh(fromLink.OutOffset ?? '');
}

async function copyLink() {
  settle();
  const status = byId('copy-status');
  const words = TEXTS[language];
  try {
    await navigator.clipboard.writeText(location.href);
    status.textContent = words.copied;
  } catch {
    status.textContent = words.copyFailed;
  }
}

// ------------------------------------------------------------ the controls

/**
 * Selects the whole text of `input`, as the desktop does after a step,
 * without moving the focus to it (a phone would open its keyboard).
 * @param {HTMLInputElement} input
 */
function selectText(input) {
  if (document.activeElement === input) input.select();
  else input.setSelectionRange(0, input.value.length);
}

/** @param {number} index @param {number} delta */
function step(index, delta) {
  if (!core) return;
  const input = fields[index];
  const stepped = core.step(index, fieldText(input.value), delta, positions[index]);
  positions[index] = stepped.position;
  if (stepped.wrote) input.value = stepped.text;
  refreshKeepingTarget();
  selectText(input);
}

/**
 * A tap or click into a box selects its whole text, as the desktop's focus
 * does. The selection is made again at the click that gave the focus:
 * WebKit, and iOS above all, places its caret after the focus event and
 * would undo a selection made there alone. A later click places the caret.
 * @param {HTMLInputElement} input
 */
function selectOnFocus(input) {
  let focusedByPointer = false;
  input.addEventListener('focus', () => {
    input.select();
    focusedByPointer = true;
  });
  input.addEventListener('mouseup', (event) => {
    if (focusedByPointer) event.preventDefault();
  });
  input.addEventListener('click', () => {
    if (focusedByPointer) input.select();
    focusedByPointer = false;
  });
  for (const type of ['keydown', 'blur']) input.addEventListener(type, () => { focusedByPointer = false; });
}

/**
 * A stepper button: one step for a tap or a click; held, a step at once and
 * then the repeats, until the finger or the button lifts or leaves it.
 * Activated without a pointer (a screen reader), one step.
 * @param {HTMLButtonElement} button @param {number} index @param {number} delta
 */
function holdToRepeat(button, index, delta) {
  let delay = 0;
  let repeat = 0;
  const stop = () => {
    clearTimeout(delay);
    clearInterval(repeat);
    delete button.dataset.held;
  };
  button.addEventListener('pointerdown', (event) => {
    if (event.button !== 0) return;
    // No focus for the button, no text selection, no long-press menu.
    event.preventDefault();
    stop();
    button.dataset.held = '';
    step(index, delta);
    delay = window.setTimeout(() => { repeat = window.setInterval(() => step(index, delta), REPEAT_INTERVAL_MS); },
      REPEAT_DELAY_MS);
  });
  for (const type of ['pointerup', 'pointerleave', 'pointercancel']) button.addEventListener(type, stop);
  button.addEventListener('click', (event) => {
    if (event.detail === 0) step(index, delta);
  });
  button.addEventListener('contextmenu', (event) => event.preventDefault());
}

/** Each field's stepper: an up and a down button after its box. */
function addSteppers() {
  fields.forEach((input, index) => {
    for (const [name, delta, symbol, label] of /** @type {const} */ ([['up', 1, '▲', 'stepUp'], ['down', -1, '▼', 'stepDown']])) {
      const button = document.createElement('button');
      button.type = 'button';
      button.className = `step ${name}`;
      button.dataset.field = String(index);
      button.dataset.delta = String(delta);
      button.dataset.label = label;
      button.textContent = symbol;
      // Not a tab stop, as on the desktop: the arrow keys step in the field.
      button.tabIndex = -1;
      input.parentElement?.append(button);
    }
  });
}

function wireControls() {
  // Every text box: the five fields, whose arrow keys step, and the check's two.
  const boxes = [...fields.map((input, index) => ({ key: FIELD_KEYS[index], index, input })),
    ...checkBoxes.map(({ key, input }) => ({ key, index: -1, input }))];
  for (const { key, index, input } of boxes) {
    selectOnFocus(input);
    input.addEventListener('keydown', (event) => {
      if (event.isComposing) return;
      if (event.key === 'Enter') {
        event.preventDefault();
        refreshKeepingTarget();
      } else if (index >= 0 && (event.key === 'ArrowUp' || event.key === 'ArrowDown')) {
        event.preventDefault();
        step(index, event.key === 'ArrowUp' ? 1 : -1);
      }
    });
    // Leaving a box whose text changed since the last refresh; after Enter
    // the refresh has the same text already and nothing is done twice.
    input.addEventListener('change', () => {
      if (refreshed && fieldText(input.value) !== refreshed[key]) refreshKeepingTarget();
    });
  }
  for (const button of /** @type {NodeListOf<HTMLButtonElement>} */ (document.querySelectorAll('button.step'))) {
    holdToRepeat(button, Number(button.dataset.field), Number(button.dataset.delta));
  }
  byId('window').addEventListener('submit', (event) => {
    event.preventDefault();
    refreshKeepingTarget();
  });
  vehicleSelect.addEventListener('change', refreshKeepingTarget);
  madeSelect.addEventListener('change', refreshKeepingTarget);
  for (const id of ['use-inside', 'use-rule']) {
    const button = byId(id);
    button.addEventListener('click', () => {
      fields[TARGET_OFFSET].value = button.dataset.offset ?? '';
      refreshKeepingTarget();
    });
  }
  byId('optimal').addEventListener('click', () => refresh(''));
  byId('copy-link').addEventListener('click', () => { copyLink(); });
  byId('language').addEventListener('click', () => {
    language = language === 'ja' ? 'en' : 'ja';
    rememberLanguage(language);
    applyLanguage(language);
    paint();
    showCurrentCheck();
  });
  window.addEventListener('hashchange', () => {
    if (location.hash !== currentFragment()) openLink();
  });
  new ResizeObserver((entries) => {
    canvasWidth = entries[entries.length - 1].contentRect.width;
    paint();
  }).observe(canvas);
  window.addEventListener('pagehide', settle);
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'hidden') settle();
  });
}

// ------------------------------------------------------------ start

async function start() {
  addSteppers();
  applyLanguage(language);
  const pictureLoaded = new Promise((resolve) => {
    picture.onload = resolve;
    picture.onerror = resolve;   // the diagram is drawn without it
  });
  picture.src = 'images/background.png';
  try {
    core = await loadCore(await fetch('rimcore.wasm'));
  } catch {
    byId('loading').setAttribute('data-text', 'failed');
    byId('loading').textContent = TEXTS[language].failed;
    return;
  }
  applyPalette();
  wireControls();
  await pictureLoaded;
  openLink();
  byId('loading').hidden = true;
  byId('window').inert = false;
  byId('check').inert = false;
  performance.mark('rimbeacon-first-diagram');
  registerServiceWorker();
}

start();
