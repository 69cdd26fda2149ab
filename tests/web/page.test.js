// @ts-check
// The browser edition in Debian's Chromium, headless: the real page served
// over http, real clicks and key strokes, pixels read back from the canvas.
// The wheel rows and the stepper rows come from the expectations that the
// desktop's end-to-end tests read too (tests/shared/expectations.txt), and
// the diagram's pixels are compared with a screenshot of the desktop
// program's window (docs/screenshots).

import assert from 'node:assert/strict';
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, afterEach, before, describe, test as nodeTest } from 'node:test';
import { ROOT, launch, serve, waitForDiagram } from './browser.js';

const SITE = process.env.RIMBEACON_WEB_DIR || join(ROOT, 'build', 'web');
const MM = ' ﾐﾘ';
const PROBE_ROW = 100;           // a row through both wheels' upright sides
const GREY = [100, 100, 100];
const RED = [255, 0, 0];
const FIELDS = ['InRim', 'InOffset', 'InIn', 'OutRim', 'OutOffset'];
// What the address adds after the fields when the protrusion check and the
// tyres are left alone.
const CHECK_DEFAULTS = '&Spacer=0&Bulge=&Vehicle=passenger&Tyre=&RefTyre=&Made=from2007&Axle=&InnerClear=';

/** Rows of the shared expectations of one kind; bracketed texts are words. */
function sharedRows(kind) {
  const text = readFileSync(join(ROOT, 'tests', 'shared', 'expectations.txt'), 'utf8');
  return text.split('\n').map((line) => [...line.matchAll(/\[([^\]]*)\]|(\S+)/g)].map((m) => m[1] ?? m[2]))
    .filter((words) => words[0] === kind).map((words) => words.slice(1));
}

const wheelRows = sharedRows('wheels').map((w) => ({
  fields: w.slice(0, 5), grey: [Number(w[5]), Number(w[6])], red: [Number(w[7]), Number(w[8])],
  differences: w.slice(9, 12),
}));

/** @param {string[]} fields */
function link(fields) {
  return '#' + FIELDS.map((key, i) => `${key}=${encodeURIComponent(fields[i])}`).join('&');
}

// A case that fails fails within this, and never holds up the run; each
// wait inside it gives up sooner.
const CASE_TIMEOUT_MS = 120000;
const WAIT_TIMEOUT_MS = 20000;
// A service worker's install or update waits on the worker's own events,
// at most this long.
const WORKER_TIMEOUT_MS = 60000;

/** @param {string} name @param {() => Promise<void>} body */
const test = (name, body) => nodeTest(name, { timeout: CASE_TIMEOUT_MS }, body);

let server;
let chromium;
/** What a case opened (browser contexts, browsers, servers), closed after it whatever happened. */
let opened = [];

afterEach(async () => {
  const closing = opened.reverse();
  opened = [];
  for (const close of closing) await Promise.resolve().then(close).catch(() => {});
});

before(async () => {
  server = await serve(SITE);
  chromium = await launch({ width: 800, height: 600, deviceScaleFactor: 1 });
});

after(async () => {
  await chromium?.close();
  server?.stop();
});

/** A page in a fresh profile of its own (empty storage, no worker). */
async function openPage(fragment = '', viewport = undefined) {
  const context = await chromium.browser.createBrowserContext();
  opened.push(() => context.close());
  const page = await context.newPage();
  page.setDefaultTimeout(WAIT_TIMEOUT_MS);
  if (viewport) await page.setViewport(viewport);
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(server.url + 'index.html' + fragment);
  await waitForDiagram(page);
  return { page, context, errors };
}

/** @param {import('puppeteer-core').Page} page */
async function values(page) {
  return page.evaluate((ids) => ids.map((id) => /** @type {HTMLInputElement} */ (document.getElementById(id)).value), FIELDS);
}

/** @param {import('puppeteer-core').Page} page */
async function differences(page) {
  return page.evaluate(() => ['diff-inner', 'diff-outer', 'diff-fender'].map((id) => document.getElementById(id)?.textContent));
}

/** The canvas's pixels as [r, g, b] rows, and its scale. @param {import('puppeteer-core').Page} page */
async function canvasPixels(page) {
  return page.evaluate(() => {
    const canvas = /** @type {HTMLCanvasElement} */ (document.getElementById('diagram'));
    const ctx = canvas.getContext('2d');
    const data = ctx ? Array.from(ctx.getImageData(0, 0, canvas.width, canvas.height).data) : [];
    return { width: canvas.width, height: canvas.height, data };
  });
}

function at(pixels, x, y) {
  const k = (y * pixels.width + x) * 4;
  return [pixels.data[k], pixels.data[k + 1], pixels.data[k + 2]];
}

function columnsOf(pixels, row, colour) {
  const columns = [];
  for (let x = 0; x < pixels.width; x += 1) {
    if (at(pixels, x, row).join() === colour.join()) columns.push(x);
  }
  return columns;
}

/** A PNG file's pixels, decoded by the browser in a blank page. */
async function pngPixels(path) {
  const url = 'data:image/png;base64,' + readFileSync(path).toString('base64');
  const page = await chromium.browser.newPage();
  const pixels = await page.evaluate(async (source) => {
    const image = new Image();
    image.src = source;
    await image.decode();
    const canvas = new OffscreenCanvas(image.width, image.height);
    const ctx = canvas.getContext('2d');
    ctx?.drawImage(image, 0, 0);
    const data = ctx ? Array.from(ctx.getImageData(0, 0, image.width, image.height).data) : [];
    return { width: image.width, height: image.height, data };
  }, url);
  await page.close();
  return pixels;
}

/** Replaces a field's text by typing into it, as a user would. */
async function type(page, id, text) {
  await page.click('#' + id);
  await page.evaluate((field) => /** @type {HTMLInputElement} */ (document.getElementById(field)).select(), id);
  if (text === '') await page.keyboard.press('Delete');
  else await page.keyboard.type(text);
}

describe('the calculator', () => {
  test('starts with the defaults and the optimal target offset', async () => {
    const { page, context, errors } = await openPage();
    assert.deepEqual(await values(page), ['6.5', '45', '20', '7', '31']);
    assert.deepEqual(await differences(page), ['-7.7' + MM, '20.3' + MM, '0.3' + MM]);
    await page.waitForFunction((l) => location.hash === l, {}, link(['6.5', '45', '20', '7', '31']) + CHECK_DEFAULTS);
    assert.deepEqual(errors, []);
    await context.close();
  });

  test('the shared rows: target, difference texts, outline columns and the desktop\'s pixels', async () => {
    assert.ok(wheelRows.length >= 2, 'the shared wheel rows');
    for (const row of wheelRows) {
      const { page, context } = await openPage(link(row.fields));
      const name = `target ${row.fields[4]}`;
      assert.equal((await values(page))[4], row.fields[4], name);
      assert.deepEqual(await differences(page), row.differences.map((d) => d + MM), name);
      const pixels = await canvasPixels(page);
      assert.equal(pixels.width, 369, `${name}: scale 1`);
      assert.deepEqual(columnsOf(pixels, PROBE_ROW, GREY), [row.grey[0], row.grey[0] + 1, row.grey[1], row.grey[1] + 1], name);
      assert.deepEqual(columnsOf(pixels, PROBE_ROW, RED), [row.red[0], row.red[0] + 1, row.red[1], row.red[1] + 1], name);
      // The desktop program's own window at these wheels: the wheel band
      // and the fender line, where no control or text lies.
      const shot = { 50: 'diagram-both-wheels.png', 30: 'diagram-target-poking-out.png' }[row.fields[4]];
      if (shot) {
        const desktop = await pngPixels(join(ROOT, 'docs', 'screenshots', shot));
        const differing = [];
        const compare = (x, y) => {
          if (at(pixels, x, y).join() !== at(desktop, x, y).join()) differing.push(`(${x},${y}) ${at(pixels, x, y)} != ${at(desktop, x, y)}`);
        };
        for (let y = 47; y <= 160; y += 1) for (let x = 170; x < 369; x += 1) compare(x, y);
        for (let y = 30; y < 170; y += 1) compare(300, y);
        assert.deepEqual(differing.slice(0, 8), [], `${name}: ${differing.length} pixels differ from ${shot}`);
      }
      await context.close();
    }
  });

  test('Enter and leaving a changed field refresh, typing does not; the steppers step and refresh', async () => {
    const { page, context } = await openPage(link(['7', '48', '10', '8', '30']));
    const before = await differences(page);
    await type(page, 'OutRim', '9');
    assert.deepEqual(await differences(page), before, 'typing alone changes nothing');
    await page.keyboard.press('Tab');
    await page.waitForFunction((b) => document.getElementById('diff-inner')?.textContent !== b, {}, before[0]);
    assert.equal((await values(page))[4], '30', 'the typed target survives');
    await page.waitForFunction(() => location.hash.includes('OutRim=9&'));

    // Leaving a field whose text did not change does nothing.
    const afterTab = await differences(page);
    await page.click('#InOffset');
    await page.keyboard.press('Tab');
    assert.deepEqual(await differences(page), afterTab);

    await type(page, 'OutOffset', '40');
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => location.hash.includes('OutOffset=40&'));
    assert.notDeepEqual(await differences(page), afterTab);

    // The width stepper: StepWidthText, 9 -> 9.5 -> 9.0; the integer one: 48 -> 49.
    await page.click('button.step.up[data-field="3"]');
    assert.equal((await values(page))[3], '9.5');
    await page.click('button.step.down[data-field="3"]');
    assert.equal((await values(page))[3], '9.0');
    await page.click('button.step.up[data-field="1"]');
    assert.deepEqual(await values(page), ['7', '49', '10', '9.0', '40']);
    await page.waitForFunction(() => /InOffset=49&.*OutRim=9\.0&OutOffset=40&/.test(location.hash));
    // The arrow keys in a field step like its buttons.
    await page.click('#InIn');
    await page.keyboard.press('ArrowDown');
    assert.equal((await values(page))[2], '9');
    // The link: the optimal offset's integer part, 65 for 7 / 49 / 9 / 9.0.
    await page.click('#optimal');
    assert.equal((await values(page))[4], '65');
    await context.close();
  });

  test('a tap or a click selects a box\'s whole text; a held stepper repeats until it is let go', async () => {
    const phone = { width: 412, height: 915, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
    const { page } = await openPage(link(['7', '48', '10', '8', '30']), phone);
    const selection = (/** @type {string} */ id) => page.evaluate((i) => {
      const input = /** @type {HTMLInputElement} */ (document.getElementById(i));
      return { start: input.selectionStart, end: input.selectionEnd, length: input.value.length, focused: document.activeElement === input };
    }, id);
    for (const id of [...FIELDS, 'Spacer', 'Bulge']) {
      await page.tap('#' + id);
      const { length } = await selection(id);
      assert.deepEqual(await selection(id), { start: 0, end: length, length, focused: true }, `a tap into ${id}`);
    }
    // Typing after the tap replaces the text.
    await page.tap('#OutOffset');
    await page.keyboard.type('52');
    assert.equal((await values(page))[4], '52');
    await page.keyboard.press('Enter');

    // Held: one step at once, the repeats after a pause, until the finger
    // lifts; the field's text selected, the focus left where it was.
    await page.tap('#check-heading');
    const up = await page.$('button.step.up[data-field="4"]');
    const box = await up?.boundingBox();
    assert.ok(box);
    await page.touchscreen.touchStart(box.x + box.width / 2, box.y + box.height / 2);
    await page.waitForFunction(() => Number(/** @type {HTMLInputElement} */ (document.getElementById('OutOffset')).value) >= 56);
    await page.touchscreen.touchEnd();
    await page.waitForFunction(() => !document.querySelector('button.step[data-held]'));
    const released = await page.evaluate(() => ({ value: /** @type {HTMLInputElement} */ (document.getElementById('OutOffset')).value, at: performance.now() }));
    await page.waitForFunction((t) => performance.now() > t, {}, released.at + 500);
    assert.equal((await values(page))[4], released.value, 'no step after the finger lifted');
    const length = released.value.length;
    assert.deepEqual(await selection('OutOffset'), { start: 0, end: length, length, focused: false });
    // A tap is one step; the link settles on the last one.
    await page.tap('button.step.down[data-field="4"]');
    const last = String(Number(released.value) - 1);
    assert.equal((await values(page))[4], last);
    await page.waitForFunction((v) => location.hash.includes(`OutOffset=${v}&`), {}, last);

    // With a mouse as well, at the window's pixels.
    const desk = await openPage(link(['7', '48', '10', '8', '30']), { width: 1024, height: 768 });
    await desk.page.click('#InIn');
    assert.deepEqual(await desk.page.evaluate(() => {
      const input = /** @type {HTMLInputElement} */ (document.getElementById('InIn'));
      return [input.selectionStart, input.selectionEnd];
    }), [0, 2]);
    const down = await desk.page.$('button.step.down[data-field="2"]');
    const at = await down?.boundingBox();
    assert.ok(at);
    await desk.page.mouse.move(at.x + at.width / 2, at.y + at.height / 2);
    await desk.page.mouse.down();
    await desk.page.waitForFunction(() => Number(/** @type {HTMLInputElement} */ (document.getElementById('InIn')).value) <= 6);
    await desk.page.mouse.up();
    await desk.page.waitForFunction(() => !document.querySelector('button.step[data-held]'));
  });

  test('the target offset stepper on any text, as the desktop\'s under Wine (shared rows)', async () => {
    const rows = sharedRows('spin');
    assert.ok(rows.length > 0);
    const { page, context } = await openPage();
    for (const [text, direction, expected] of rows) {
      await page.evaluate((t) => { /** @type {HTMLInputElement} */ (document.getElementById('OutOffset')).value = t; }, text);
      await page.click(`button.step.${direction}[data-field="4"]`);
      assert.equal((await values(page))[4], expected, `[${text}] ${direction}`);
    }
    await context.close();
  });

  test('an invalid reference removes both wheels and the texts, and is not stored', async () => {
    const { page, context } = await openPage(link(['7', '48', '10', '8', '30']));
    await page.waitForFunction(() => localStorage.getItem('rimbeacon.inputs') !== null);
    const stored = await page.evaluate(() => localStorage.getItem('rimbeacon.inputs'));
    await type(page, 'InOffset', '');
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => document.getElementById('diff-inner')?.textContent === '');
    assert.deepEqual(await differences(page), ['', '', '']);
    await page.waitForFunction(() => location.hash.includes('InOffset=&'));
    const pixels = await canvasPixels(page);
    assert.deepEqual(columnsOf(pixels, PROBE_ROW, GREY), []);
    assert.deepEqual(columnsOf(pixels, PROBE_ROW, RED), []);
    assert.deepEqual(columnsOf(pixels, 175, [70, 70, 70]), [], 'no texts');
    assert.equal(await page.evaluate(() => localStorage.getItem('rimbeacon.inputs')), stored);
    assert.equal((await values(page))[4], '30', 'the target offset keeps its text');
    await context.close();
  });

  /** The protrusion check as the page shows it. @param {import('puppeteer-core').Page} page */
  async function verdict(page) {
    return page.evaluate(() => {
      const text = (/** @type {string} */ id) => document.getElementById(id)?.textContent ?? '';
      const shown = (/** @type {string} */ id) => !document.getElementById(id)?.closest('[hidden]');
      return {
        name: document.getElementById('verdict')?.getAttribute('data-verdict') ?? null,
        text: text('verdict-text'), margin: text('verdict-margin'), caution: shown('verdict-caution'),
        effective: shown('effective') ? text('effective-value') : null,
        answers: shown('answers') ? [text('answer-inside'), text('answer-rule')] : null,
      };
    });
  }

  test('the protrusion check: the four verdicts at their boundaries, the spacer, the answers, the link', async () => {
    const { page, context, errors } = await openPage();
    /** Opens the wheels and the check's inputs as a link does. */
    // The page's own listener came first and refreshes at once, so the
    // check is up to date when this one runs.
    const open = async (/** @type {string} */ fragment) => {
      await page.evaluate((f) => new Promise((resolve) => {
        window.addEventListener('hashchange', resolve, { once: true });
        location.hash = f;
      }), fragment);
    };
    const seven = '#InRim=7&InOffset=48&InIn=10&OutRim=8';
    // 7 / 48 / 10 / 8: the optimal offset 50.7.
    const rows = [
      ['&OutOffset=50&Spacer=0&Bulge=9&Vehicle=passenger', 'wheel-out', 'NG: ホイールがフェンダーから 0.7 ﾐﾘ はみ出しています'],
      ['&OutOffset=52&Spacer=0&Bulge=9&Vehicle=passenger', 'tyre-tolerated', 'OK（タイヤのはみ出し 7.7 ﾐﾘは10ﾐﾘ未満）'],
      ['&OutOffset=52&Spacer=0&Bulge=9&Vehicle=other', 'tyre-out', 'NG: タイヤが 7.7 ﾐﾘ はみ出しています'],
      ['&OutOffset=52&Spacer=0&Bulge=12&Vehicle=passenger', 'tyre-out', 'NG: タイヤが 10.7 ﾐﾘ はみ出しています'],
      ['&OutOffset=60&Spacer=0&Bulge=5&Vehicle=passenger', 'ok', 'OK: ホイールもタイヤもフェンダーの内側です'],
      ['&OutOffset=60&Spacer=15&Bulge=5&Vehicle=passenger', 'wheel-out', 'NG: ホイールがフェンダーから 5.7 ﾐﾘ はみ出しています'],
    ];
    for (const [fragment, name, text] of rows) {
      await open(seven + fragment);
      const shown = await verdict(page);
      assert.deepEqual([shown.name, shown.text], [name, text], fragment);
      assert.equal(shown.caution, name === 'tyre-tolerated', `${fragment}: the sidewall caution`);
    }
    assert.equal((await verdict(page)).effective, '45.0 ﾐﾘ', 'the effective offset with the spacer');
    // A vehicle chosen on its own refreshes the check.
    await open(seven + '&OutOffset=52&Spacer=0&Bulge=9.5&Vehicle=passenger');
    assert.equal((await verdict(page)).name, 'tyre-tolerated');
    await page.select('#Vehicle', 'other');
    await page.waitForFunction(() => document.getElementById('verdict')?.dataset.verdict === 'tyre-out');
    await open(seven + rows[1][0]);
    assert.deepEqual((await verdict(page)).answers, ['51 以上', '51 以上'], 'bulge 9 on a passenger car');
    await open(seven + rows[4][0]);
    assert.deepEqual(await verdict(page), {
      name: 'ok', text: rows[4][2], margin: 'はみ出すまであと 4.3 ﾐﾘ です', caution: false, effective: null,
      answers: ['51 以上', '51 以上'],
    });

    // Exact boundaries: 200 / 48 / 10 / 220 puts the optimal offset at 48 to
    // the bit, so the rim sits on the fender line (f = 0) at 48.
    const exact = '#InRim=200&InOffset=48&InIn=10&OutRim=220';
    for (const [target, bulge, passenger, other] of [
      ['48', '0', 'ok', 'ok'], ['47', '-5', 'wheel-out', 'wheel-out'], ['48', '10', 'tyre-out', 'tyre-out'],
      ['48', '9.9', 'tyre-tolerated', 'tyre-out'], ['58', '10', 'ok', 'ok'], ['58', '19.9', 'tyre-tolerated', 'tyre-out'],
      ['58', '20', 'tyre-out', 'tyre-out']]) {
      for (const [vehicle, expected] of [['passenger', passenger], ['other', other]]) {
        await open(`${exact}&OutOffset=${target}&Spacer=0&Bulge=${bulge}&Vehicle=${vehicle}`);
        assert.equal((await verdict(page)).name, expected, `at ${target}, bulge ${bulge}, ${vehicle}`);
      }
    }

    // A spacer of 0 changes nothing: the shared row's texts and outline.
    const row = wheelRows[1];
    await open(link(row.fields) + CHECK_DEFAULTS);
    assert.deepEqual(await differences(page), row.differences.map((d) => d + MM));
    const plain = columnsOf(await canvasPixels(page), PROBE_ROW, RED);
    assert.deepEqual(plain, [row.red[0], row.red[0] + 1, row.red[1], row.red[1] + 1]);
    // Typed like the other boxes: a 15 mm spacer moves the red outline 7.5 px
    // outboard (7 or 8 after the desktop's truncation), and the link carries it.
    await type(page, 'Spacer', '15');
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => document.getElementById('effective')?.hidden === false);
    const moved = columnsOf(await canvasPixels(page), PROBE_ROW, RED);
    assert.equal(moved.length, 4);
    moved.forEach((x, k) => assert.ok(x - plain[k] === 7 || x - plain[k] === 8, `column ${plain[k]} -> ${x}`));
    await type(page, 'Bulge', '9');
    await page.keyboard.press('Tab');
    await page.select('#Vehicle', 'other');
    await page.waitForFunction(() => location.hash.includes('&Spacer=15&Bulge=9&Vehicle=other&'));

    // The answers, used: with a bulge of 9 the wheel stays inside from 51 and
    // the tyre under 10 mm from 51; on a van it must stay inside: from 60.
    await open(seven + '&OutOffset=40&Spacer=0&Bulge=9&Vehicle=other');
    assert.deepEqual((await verdict(page)).answers, ['51 以上', '60 以上']);
    await page.click('#use-rule');
    assert.equal((await values(page))[4], '60');
    assert.equal((await verdict(page)).name, 'ok');

    // What is missing instead of a verdict; absurd values give none and no answer.
    await type(page, 'InIn', '');
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => !document.getElementById('verdict')?.hasAttribute('data-verdict'));
    assert.deepEqual(await verdict(page), {
      name: null, text: '判定するには次の値を入れてください: 外側余裕', margin: '', caution: false, effective: null, answers: null,
    });
    // The tyres: every result of a link with both sizes, the date of make
    // and the axle load; the bulge estimated from the new tyre on 8 J.
    await open(seven + '&OutOffset=52&Spacer=0&Bulge=&Vehicle=passenger&Tyre=225/45R17%2091W&RefTyre=215/45R17%2087W&Made=from2007&Axle=900');
    const tyres = () => page.evaluate(() => {
      const text = (/** @type {string} */ id) => document.getElementById(id)?.textContent ?? null;
      const verdictOf = (/** @type {string} */ id) => document.getElementById(id)?.dataset.verdict ?? null;
      return {
        rim: text('tyre-measuring-rim'), section: text('tyre-section'), bulge: `${text('tyre-bulge')} ${text('tyre-bulge-kind')}`,
        outermost: document.getElementById('tyre-outermost')?.dataset.part, check: verdictOf('verdict'),
        speedometer: [verdictOf('speedometer'), text('speed-at-40'), text('diameter-change')],
        load: [verdictOf('load'), text('load-capacity')], shaken: verdictOf('shaken'),
        placeholder: /** @type {HTMLInputElement} */ (document.getElementById('Bulge')).placeholder,
      };
    });
    assert.deepEqual(await tyres(), {
      rim: '7.5J', section: '230.1 ﾐﾘ', bulge: '0.7 ﾐﾘ 推定', outermost: 'tyre', check: 'ok',
      speedometer: ['ok', '40.6 km/h', '+1.4 %'], load: ['ok', '615 kg'], shaken: 'ok', placeholder: '推定 0.7 ﾐﾘ',
    });
    assert.equal((await verdict(page)).margin, 'はみ出すまであと 0.6 ﾐﾘ です', 'the tyre stays 0.6 mm inside');
    // A typed bulge is a measurement and wins; a larger tyre fails the meter
    // from 2007 and passes it before.
    await open(seven + '&OutOffset=52&Spacer=0&Bulge=12&Vehicle=passenger&Tyre=245/45R18&RefTyre=215/45R17&Made=from2007&Axle=');
    const typed = await tyres();
    assert.deepEqual([typed.bulge, typed.check, typed.speedometer, typed.load[0], typed.shaken],
      ['12.0 ﾐﾘ 測った値', 'tyre-out', ['ng', '43.4 km/h', '+8.4 %'], 'unknown', 'ng']);
    await page.select('#Made', 'before2007');
    await page.waitForFunction(() => document.getElementById('speedometer')?.dataset.verdict === 'ok');

    // What fits, for 225/45R17 with 15 mm to the suspension: six rim widths
    // around its 7.5 J measuring rim, each with the offsets that pass.
    await open(seven + '&OutOffset=52&Spacer=0&Bulge=&Vehicle=passenger&Tyre=225/45R17&RefTyre=215/45R17&InnerClear=15');
    const gap = await page.evaluate(() => [document.getElementById('inner-gap')?.textContent, document.getElementById('inner-gap')?.dataset.verdict]);
    assert.deepEqual(gap, ['3.5 ﾐﾘ', 'ok']);
    const fitRows = await page.evaluate(() => [...document.querySelectorAll('#fits tbody tr')].map((tr) => {
      const row = /** @type {HTMLElement} */ (tr);
      return [row.dataset.width, row.dataset.min, row.dataset.max];
    }));
    assert.deepEqual(fitRows, [['6.5', '34', '63'], ['7.0', '38', '60'], ['7.5', '45', '57'], ['8.0', '51', '55'],
      ['8.5', '58', '52'], ['9.0', '64', '50']]);
    assert.equal((await verdict(page)).answers?.[1], '51 以上', "the 8.0 J row's minimum is the wheel's own answer");
    await page.click('#fits tbody tr[data-width="8.0"] button');
    assert.deepEqual((await values(page)).slice(3), ['8.0', '51']);
    assert.equal((await verdict(page)).name, 'tyre-tolerated');

    await open(seven + '&OutOffset=50&Spacer=1e999&Bulge=abc&Vehicle=passenger');
    assert.deepEqual(await verdict(page), {
      name: null, text: '判定できません: 値が大きすぎます', margin: '', caution: false, effective: '-inf ﾐﾘ', answers: ['なし', 'なし'],
    });
    assert.deepEqual(errors, []);
    await context.close();
  });
});

// The protrusion check's inputs as stored beside the wheels, left alone.
const STORED_CHECK = {
  Spacer: '0', Bulge: '', Vehicle: 'passenger', Tyre: '', RefTyre: '', Made: 'from2007', Axle: '', InnerClear: '', Version: 2,
};

describe('links, storage and offline use', () => {
  test('a share link round trip: fragment in, link copied, the same wheels out', async () => {
    // Percent-encoded UTF-8, an unknown key, an undecodable value (InIn keeps
    // the stored or default one), and no OutOffset: the optimal offset.
    const { page, context } = await openPage('#InRim=%EF%BC%97&InOffset=48&Other=1&InIn=%E0%A4%A&OutRim=225');
    assert.deepEqual(await values(page), ['７', '48', '20', '225', (await values(page))[4]]);
    assert.match((await values(page))[4], /^-?\d+$/, 'the optimal offset');
    const history = await page.evaluate(() => history.length);
    await page.goto(server.url + 'index.html' + link(['7', '48', '10', '8', '30']));
    await waitForDiagram(page);
    await context.overridePermissions(server.url, ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
    // The link copied at once after a change carries the change.
    await type(page, 'OutOffset', '35');
    await page.keyboard.press('Enter');
    await page.click('#copy-link');
    await page.waitForFunction(() => document.getElementById('copy-status')?.textContent !== '');
    const copied = await page.evaluate(() => navigator.clipboard.readText());
    assert.equal(copied, server.url + 'index.html' + link(['7', '48', '10', '8', '35']) + CHECK_DEFAULTS);
    assert.equal(await page.evaluate(() => history.length), history + 1, 'only the navigation added an entry');
    const other = await openPage(new URL(copied).hash);
    assert.deepEqual(await values(other.page), ['7', '48', '10', '8', '35']);
    assert.deepEqual(await differences(other.page), await differences(page));
    // A long value is cut to 255 bytes, at a character's edge.
    const long = await openPage('#OutOffset=' + encodeURIComponent('3'.repeat(254) + 'ﾐ'));
    assert.equal((await values(long.page))[4], '3'.repeat(254));
    await Promise.all([context.close(), other.context.close(), long.context.close()]);
  });

  test('the storage rule: four valid inputs stored, the target never; garbage and no storage give the defaults', async () => {
    const { page, context } = await openPage(link(['7', '48', '10', '8', '30']));
    const read = () => page.evaluate(() => JSON.parse(localStorage.getItem('rimbeacon.inputs') || 'null'));
    await page.waitForFunction(() => localStorage.getItem('rimbeacon.inputs') !== null);
    assert.deepEqual(await read(), { ...STORED_CHECK, InRim: '7', InOffset: '48', InIn: '10', OutRim: '8' });
    await type(page, 'OutRim', 'abc');
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => location.hash.includes('OutRim=abc'));
    assert.deepEqual(await read(), { ...STORED_CHECK, InRim: '7', InOffset: '48', InIn: '10', OutRim: '8' }, 'an invalid width is not stored');
    await page.goto(server.url + 'index.html');
    await waitForDiagram(page);
    assert.deepEqual((await values(page)).slice(0, 4), ['7', '48', '10', '8'], 'a visit without a link starts from storage');

    // Once that visit's inputs are stored (its address shows them), garbage.
    await page.waitForFunction(() => location.hash !== '');
    // A record from before the tyre sizes: its bulge of "0" was the box's
    // default, never typed, and now leaves the box empty for the estimate.
    await page.evaluate(() => localStorage.setItem('rimbeacon.inputs',
      '{"InRim":"7","InOffset":"48","InIn":"10","OutRim":"8","Spacer":"0","Bulge":"0","Vehicle":"passenger"}'));
    await page.goto(server.url + 'index.html');
    await waitForDiagram(page);
    assert.equal(await page.evaluate(() => /** @type {HTMLInputElement} */ (document.getElementById('Bulge')).value), '');
    await page.waitForFunction(() => location.hash !== '');
    await page.evaluate(() => localStorage.setItem('rimbeacon.inputs', '{"InRim": 7, "InIn": "12"'));
    await page.goto(server.url + 'index.html');
    await waitForDiagram(page);
    assert.deepEqual((await values(page)).slice(0, 4), ['6.5', '45', '20', '7'], 'garbage: the defaults');
    // As the desktop writes its settings file at the start, the first refresh
    // stores the valid defaults in place of what could not be read.
    await page.waitForFunction(() => localStorage.getItem('rimbeacon.inputs')?.startsWith('{"InRim":"6.5"'));
    assert.deepEqual(await read(), { ...STORED_CHECK, InRim: '6.5', InOffset: '45', InIn: '20', OutRim: '7' });
    await context.close();

    // Storage that throws on every use (blocked by the browser's settings).
    const blocked = await chromium.browser.createBrowserContext();
    const bpage = await blocked.newPage();
    await bpage.evaluateOnNewDocument(() => {
      Object.defineProperty(window, 'localStorage', { get() { throw new DOMException('blocked', 'SecurityError'); } });
    });
    const errors = [];
    bpage.on('pageerror', (error) => errors.push(error.message));
    await bpage.goto(server.url + 'index.html');
    await waitForDiagram(bpage);
    assert.deepEqual(await values(bpage), ['6.5', '45', '20', '7', '31']);
    await bpage.click('button.step.up[data-field="0"]');
    assert.equal((await values(bpage))[0], '7.0');
    assert.deepEqual(errors, []);
    await blocked.close();
  });

  test('offline after one visit; a new version then replaces the old one whole', async () => {
    // A copy of the site of its own, so that a second version can be made.
    const copy = mkdtempSync(join(tmpdir(), 'rimbeacon-site-'));
    opened.push(() => rmSync(copy, { recursive: true, force: true }));
    cpSync(SITE, copy, { recursive: true });
    let own = await serve(copy);
    opened.push(() => own.stop());
    const port = new URL(own.url).port;
    const context = await chromium.browser.createBrowserContext();
    opened.push(() => context.close());
    const page = await context.newPage();
    page.setDefaultTimeout(WAIT_TIMEOUT_MS);
    await page.goto(own.url + 'index.html' + link(['7', '48', '10', '8', '30']));
    await waitForDiagram(page);
    await page.waitForFunction(() => navigator.serviceWorker.ready.then(() => true), { timeout: WORKER_TIMEOUT_MS });

    // Really offline: no server, no HTTP cache, and the browser offline too;
    // only the worker's caches can answer now.
    await own.stop();
    const cdp = await page.createCDPSession();
    await cdp.send('Network.clearBrowserCache');
    await page.setOfflineMode(true);
    await page.reload();
    await waitForDiagram(page);
    assert.deepEqual(await differences(page), wheelRows[1].differences.map((d) => d + MM));
    assert.equal(await page.evaluate(() => document.getElementById('loading')?.hidden), true, 'the core loaded');
    await page.setOfflineMode(false);

    // The next version, served on the same address: another word in
    // texts.js, another worker.
    const texts = join(copy, 'src', 'texts.js');
    writeFileSync(texts, readFileSync(texts, 'utf8').replace("copyLink: 'リンクをコピー'", "copyLink: 'リンクをコピー!'"));
    const worker = join(copy, 'sw.js');
    writeFileSync(worker, readFileSync(worker, 'utf8').replace(/const VERSION = '[^']*'/, "const VERSION = 'next'"));
    own = await serve(copy, Number(port));
    await page.reload();
    await waitForDiagram(page);
    // This visit is still the old version, whole: its files from its cache.
    assert.equal(await page.evaluate(() => document.getElementById('copy-link')?.textContent), 'リンクをコピー');
    // The worker looks for the new version; once it is in, the page reloads
    // into it, whole (the reload is the wait's event).
    const reloaded = page.waitForNavigation({ timeout: WORKER_TIMEOUT_MS });
    await page.evaluate(() => navigator.serviceWorker.getRegistration().then((r) => r?.update())).catch(() => {});
    await reloaded;
    await waitForDiagram(page);
    assert.equal(await page.evaluate(() => document.getElementById('copy-link')?.textContent), 'リンクをコピー!');
    assert.deepEqual(await page.evaluate(() => caches.keys()), ['rimbeacon-next']);
  });
});

describe('phone and languages', () => {
  test('360 by 740 at device pixel ratio 3: fields above a whole, sharp diagram, 44 px targets', async () => {
    // The phones people have, 360 to 430 px wide, then a desktop browser
    // with a mouse, which keeps the window's pixels.
    for (const [width, height] of [[360, 740], [412, 915], [430, 932]]) {
      const name = `${width} by ${height}`;
      const { page, context } = await openPage(link(['7', '48', '10', '8', '30']),
        { width, height, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
      const layout = await page.evaluate(() => {
        const box = (element) => element.getBoundingClientRect();
        const canvas = /** @type {HTMLCanvasElement} */ (document.getElementById('diagram'));
        const targets = [...document.querySelectorAll('input, button, select')].map(box).filter((r) => r.width > 0);
        return {
          scrollWidth: document.documentElement.scrollWidth,
          canvas: { ...box(canvas).toJSON(), pixels: canvas.width },
          lastField: box(/** @type {Element} */ (document.getElementById('OutOffset'))).bottom,
          smallest: Math.min(...targets.map((r) => Math.min(r.width, r.height))),
          inputmode: ['InRim', 'InOffset', 'InIn', 'OutRim', 'OutOffset', 'Spacer', 'Bulge', 'Axle', 'Tyre', 'RefTyre']
            .map((id) => /** @type {HTMLInputElement} */ (document.getElementById(id)).inputMode),
        };
      });
      assert.ok(layout.scrollWidth <= width, `${name}: no horizontal scrolling (${layout.scrollWidth})`);
      assert.ok(layout.canvas.left >= 0 && layout.canvas.right <= width, `${name}: the whole diagram`);
      assert.ok(layout.lastField <= layout.canvas.top, `${name}: the fields stand above the diagram`);
      assert.ok(layout.smallest >= 44, `${name}: touch targets (${layout.smallest} px)`);
      assert.deepEqual(layout.inputmode, [...Array(8).fill('decimal'), '', ''],
        'a number pad for the five fields, spacer, bulge and axle load; letters for the tyre sizes');
      // Drawn at the screen's pixels, not a bitmap stretched: the canvas has
      // 3 device pixels per CSS pixel, and the red outline's upright side is
      // a solid run of pure red as wide as two desktop pixels.
      assert.equal(layout.canvas.pixels, Math.round(layout.canvas.width * 3), name);
      const pixels = await canvasPixels(page);
      const scale = pixels.width / 369;
      const red = columnsOf(pixels, Math.round(PROBE_ROW * scale), RED);
      const first = red.filter((x) => x < (wheelRows[1].red[0] + 3) * scale);
      assert.ok(first.length >= Math.floor(2 * scale) - 1, `${name}: a sharp line of ${first.length} device pixels`);
      await context.close();
    }
    const { page } = await openPage(link(['7', '48', '10', '8', '30']), { width: 1024, height: 768, deviceScaleFactor: 1 });
    const window = await page.evaluate(() => {
      const canvas = /** @type {HTMLCanvasElement} */ (document.getElementById('diagram'));
      return { css: canvas.getBoundingClientRect().width, pixels: canvas.width, field: document.getElementById('OutOffset')?.getBoundingClientRect().height };
    });
    assert.deepEqual(window, { css: 369, pixels: 369, field: 18 }, '1024 with a mouse: the window at scale 1');
  });

  test('English when the browser prefers it, and the switch', async () => {
    const english = await launch({ width: 800, height: 600 }, 'en-GB');
    opened.push(() => english.close());
    const page = await english.browser.newPage();
    await page.goto(server.url + 'index.html' + link(['7', '48', '10', '8', '30']));
    await waitForDiagram(page);
    const label = () => page.evaluate(() => document.querySelector('label[for="InIn"]')?.textContent);
    assert.equal(await label(), 'Clearance');
    assert.equal(await page.evaluate(() => document.documentElement.lang), 'en');
    assert.deepEqual(await differences(page), wheelRows[1].differences.map((d) => d + MM), 'numbers stay as they are');
    await page.click('#language');
    assert.equal(await label(), '外側余裕');
    await page.reload();
    await waitForDiagram(page);
    assert.equal(await label(), '外側余裕', 'the choice is kept');
    await english.close();
  });
});
