// @ts-check
// The page: the five fields with their steppers, the refresh cycle that
// ties them to the core, the diagram, the protrusion check, the stored
// inputs, the share link and the language switch. A refresh runs only on
// Enter (or the phone keyboard's Go/Done), a stepper, the link, leaving a
// field whose text changed, a vehicle chosen, an answer used, and opening a
// link; never while typing.

import { BULGE, FIELD_KEYS, SPACER, TARGET_OFFSET, loadCore } from './core.js';
import { PICTURE_HEIGHT, PICTURE_WIDTH, drawDiagram } from './diagram.js';
import { applyLanguage, rememberLanguage, startLanguage, TEXTS } from './texts.js';
import { loadInputs, saveInputs } from './storage.js';
import { LINK_KEYS, LINK_VEHICLE, buildFragment, parseFragment } from './share.js';
import { showCheck } from './check.js';
import { byId } from './dom.js';
import { registerServiceWorker } from './offline.js';

/** @typedef {import('./core.js').Core} Core */
/** @typedef {import('./core.js').Drawing} Drawing */
/** @typedef {import('./core.js').Vehicle} Vehicle */
/** @typedef {import('./check.js').CheckScene} CheckScene */
/** @typedef {import('./texts.js').Language} Language */

const WIDTH_FIELDS = [0, 3];   // the others step as integers
// The stored inputs and the address follow a refresh once the user pauses
// for this long (and at once when the page is hidden or the link copied):
// a refresh pays for neither, and quick steps write them once.
const SETTLE_MS = 300;

const inputs = FIELD_KEYS.map((key) => /** @type {HTMLInputElement} */ (byId(key)));
// The protrusion check's two boxes, as core fields SPACER and BULGE.
const checkInputs = /** @type {const} */ ([[SPACER, 'Spacer'], [BULGE, 'Bulge']]).map(([index, id]) => (
  { index, input: /** @type {HTMLInputElement} */ (byId(id)) }));
const vehicleSelect = /** @type {HTMLSelectElement} */ (byId('Vehicle'));
const canvas = /** @type {HTMLCanvasElement} */ (byId('diagram'));
const differenceOutputs = ['diff-inner', 'diff-outer', 'diff-fender'].map(byId);

/** @type {Core | null} */
let core = null;
/** @type {Language} */
let language = startLanguage();
const picture = new Image();

/** What the last refresh drew, for repaints at another size or language. */
let scene = {
  refValid: false,
  outValid: false,
  /** @type {Drawing} */
  drawing: { grey: [0, 0], red: [0, 0], differences: ['', '', ''] },
};
/** @type {CheckScene | null} what the last refresh found for the check */
let checkScene = null;

/** @returns {Vehicle} */
function vehicle() {
  return vehicleSelect.value === 'other' ? 'other' : 'passenger';
}

// ------------------------------------------------------------ the refresh

/** @type {string[] | null} the last valid inputs not yet stored, by link index */
let unstored = null;
let settleTimer = 0;

/** Copies the boxes into the core's fields; keeps valid inputs to store. */
function readFields() {
  if (!core) return { refValid: false, outValid: false, storable: false };
  inputs.forEach((input, i) => core?.setField(i, input.value));
  checkInputs.forEach(({ index, input }) => core?.setField(index, input.value));
  const validity = core.validity();
  if (validity.storable) unstored = currentInputs();
  return validity;
}

/** Stores the inputs and updates the address now. */
function settle() {
  clearTimeout(settleTimer);
  settleTimer = 0;
  if (unstored) saveInputs(Object.fromEntries(LINK_KEYS.map((key, i) => [key, unstored?.[i] ?? ''])));
  unstored = null;
  updateLink();
}

function settleLater() {
  clearTimeout(settleTimer);
  settleTimer = window.setTimeout(settle, SETTLE_MS);
}

/**
 * The desktop's refresh: read, compute the optimal offset and the target
 * offset field (the override, or the optimal offset's integer part when it
 * is empty), read again, repaint.
 * @param {string} override
 */
function refresh(override) {
  if (!core) return;
  readFields();
  core.computeOffset(override);
  inputs[TARGET_OFFSET].value = core.field(TARGET_OFFSET);
  const validity = readFields();
  scene = { refValid: validity.refValid, outValid: validity.outValid, drawing: core.draw() };
  checkScene = {
    check: core.check(vehicle()),
    vehicle: vehicle(),
    missing: FIELD_KEYS.filter((key, i) => !core?.numberValid(core.field(i))),
    answerable: validity.storable,
  };
  paint();
  showDifferences();
  showCheck(checkScene, language);
  settleLater();
}

/** A refresh that keeps the target offset the box shows. */
function refreshKeepingTarget() {
  refresh(inputs[TARGET_OFFSET].value);
}

function showDifferences() {
  differenceOutputs.forEach((output, k) => {
    output.textContent = scene.outValid ? scene.drawing.differences[k] : '';
  });
}

// ------------------------------------------------------------ the diagram

/** The canvas's width in CSS pixels; 0 until it has been measured. */
let canvasWidth = 0;

/** Device pixels per desktop pixel for the canvas's size on the screen. */
function canvasScale() {
  // The width the resize observer last saw; asking the layout instead would
  // make every refresh wait for the whole page's layout.
  if (canvasWidth === 0) canvasWidth = canvas.getBoundingClientRect().width;
  const cssWidth = canvasWidth || PICTURE_WIDTH;
  const devicePixels = Math.round(cssWidth * (window.devicePixelRatio || 1));
  return devicePixels / PICTURE_WIDTH;
}

function paint() {
  const scale = canvasScale();
  const width = Math.round(PICTURE_WIDTH * scale);
  const height = Math.round(PICTURE_HEIGHT * scale);
  if (canvas.width !== width) {
    canvas.height = height;
    canvas.width = width;
  }
  const words = TEXTS[language];
  drawDiagram(canvas, picture, scale, {
    ...scene, captionCurrent: words.captionCurrent, captionFender: words.captionFender,
  });
  canvas.dataset.scale = String(scale);
}

// ------------------------------------------------------------ the link

/** What the core holds now, by link index: the seven fields, then the vehicle. */
function currentInputs() {
  return LINK_KEYS.map((key, i) => (i === LINK_VEHICLE ? vehicle() : core?.field(i) ?? ''));
}

function currentFragment() {
  return buildFragment(currentInputs());
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
  const value = (/** @type {number} */ i) => fromLink.get(i) ?? stored[LINK_KEYS[i]] ?? '';
  inputs.forEach((input, i) => { input.value = value(i); });
  checkInputs.forEach(({ index, input }) => { input.value = value(index); });
  vehicleSelect.value = value(LINK_VEHICLE);
  refresh(fromLink.get(TARGET_OFFSET) ?? '');
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

/** @param {number} index @param {number} delta */
function step(index, delta) {
  if (!core) return;
  core.setField(index, inputs[index].value);
  if (WIDTH_FIELDS.includes(index)) {
    core.stepWidth(index, delta);
    inputs[index].value = core.field(index);
  } else if (core.stepInteger(index, delta)) {
    inputs[index].value = core.field(index);
  }
  refreshKeepingTarget();
}

/** Each field's stepper: an up and a down button after its box. */
function addSteppers() {
  inputs.forEach((input, index) => {
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
  const boxes = [...inputs.map((input, index) => ({ index, input })), ...checkInputs];
  for (const { index, input } of boxes) {
    const stepped = index < SPACER;
    input.addEventListener('keydown', (event) => {
      if (event.isComposing) return;
      if (event.key === 'Enter') {
        event.preventDefault();
        refreshKeepingTarget();
      } else if (stepped && (event.key === 'ArrowUp' || event.key === 'ArrowDown')) {
        event.preventDefault();
        step(index, event.key === 'ArrowUp' ? 1 : -1);
      }
    });
    // Leaving a box whose text changed; after Enter the core holds the
    // same text already and nothing is done twice.
    input.addEventListener('change', () => {
      if (core && input.value !== core.field(index)) refreshKeepingTarget();
    });
  }
  for (const button of document.querySelectorAll('button.step')) {
    button.addEventListener('click', () => {
      step(Number(button.getAttribute('data-field')), Number(button.getAttribute('data-delta')));
    });
  }
  byId('window').addEventListener('submit', (event) => {
    event.preventDefault();
    refreshKeepingTarget();
  });
  vehicleSelect.addEventListener('change', refreshKeepingTarget);
  for (const id of ['use-inside', 'use-rule']) {
    const button = byId(id);
    button.addEventListener('click', () => {
      inputs[TARGET_OFFSET].value = button.dataset.offset ?? '';
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
    if (checkScene) showCheck(checkScene, language);
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
  byId('loading').hidden = true;
  byId('window').hidden = false;
  byId('check').hidden = false;
  wireControls();
  await pictureLoaded;
  openLink();
  performance.mark('rimbeacon-first-diagram');
  registerServiceWorker();
}

start();
