// @ts-check
// The cases that matter on a phone, in the two engines beside Chromium:
// WebKit, which every browser on an iPhone uses (WebKitGTK's MiniBrowser
// through WebKitWebDriver, the W3C WebDriver protocol spoken directly), and
// Firefox ESR (puppeteer-core over WebDriver BiDi). The share link, Enter, a
// tap that selects, a stepper, a held stepper, the check's verdict, the
// storage and a reload with the server gone. A maintainer's check:
// tools/web engines runs it, under a virtual display for MiniBrowser.
//   node --test engines.js          both engines
//   RIMBEACON_ENGINES=webkit node --test engines.js

import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { cpSync, existsSync, mkdtempSync, rmSync } from 'node:fs';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { describe, test } from 'node:test';
import puppeteer from 'puppeteer-core';
import { ROOT, serve } from './browser.js';

const SITE = process.env.RIMBEACON_WEB_DIR || join(ROOT, 'build', 'web');
if (!existsSync(join(SITE, 'rimcore.wasm'))) throw new Error(`${SITE} holds no built page (tools/web build)`);
const ENGINES = (process.env.RIMBEACON_ENGINES || 'webkit firefox').split(/\s+/).filter(Boolean);
const FIREFOX = process.env.RIMBEACON_FIREFOX || '/usr/bin/firefox-esr';
const WEBKIT_DRIVER = process.env.RIMBEACON_WEBKIT_DRIVER || 'WebKitWebDriver';
const CASE_TIMEOUT_MS = 300000;
const WAIT_TIMEOUT_MS = 30000;
const POLL_MS = 50;
const MM = ' ﾐﾘ';
const SEVEN = 'InRim=7&InOffset=48&InIn=10&OutRim=8';
// The shared row of 7 / 48 / 10 / 8 at 30 (tests/shared/expectations.txt).
const AT_30 = ['-5.3', '30.7', '20.7'].map((d) => d + MM);

/**
 * What a case does with a browser, the same in both engines. Scripts are
 * function bodies that return their result.
 * @typedef {object} Driver
 * @property {(url: string) => Promise<void>} goto
 * @property {() => Promise<void>} reload
 * @property {(body: string) => Promise<any>} run
 * @property {(selector: string) => Promise<void>} click
 * @property {(selector: string) => Promise<string>} tap   resolves with the pointer it used
 * @property {(text: string) => Promise<void>} type        key strokes to the focused element
 * @property {() => Promise<void>} enter
 * @property {(selector: string) => Promise<void>} press   a pointer held down on it
 * @property {() => Promise<void>} release
 * @property {() => Promise<void>} close
 */

/** Waits until `body` returns true. @param {Driver} driver @param {string} body @param {string} what */
async function waitFor(driver, body, what) {
  const deadline = Date.now() + WAIT_TIMEOUT_MS;
  for (;;) {
    if (await driver.run(body)) return;
    if (Date.now() > deadline) throw new Error(`timed out waiting for ${what}`);
    await new Promise((resolve) => setTimeout(resolve, POLL_MS));
  }
}

const firstDiagram = "return performance.getEntriesByName('rimbeacon-first-diagram').length > 0;";
const valueOf = (/** @type {string} */ id) => `return document.getElementById('${id}').value;`;
const differences = "return ['diff-inner', 'diff-outer', 'diff-fender'].map((id) => document.getElementById(id).textContent);";

// ------------------------------------------------------------ Firefox

/** @returns {Promise<Driver>} */
async function firefox() {
  const browser = await puppeteer.launch({ browser: 'firefox', executablePath: FIREFOX, headless: true });
  const page = await browser.newPage();
  await page.setViewport({ width: 412, height: 915 });
  return {
    goto: async (url) => { await page.goto(url); },
    reload: async () => { await page.reload(); },
    run: (body) => page.evaluate(`(() => { ${body} })()`),
    click: (selector) => page.click(selector),
    tap: async (selector) => {
      try {
        await page.tap(selector);
        return 'touch';
      } catch {
        await page.click(selector);
        return 'mouse';
      }
    },
    type: (text) => page.keyboard.type(text),
    enter: () => page.keyboard.press('Enter'),
    press: async (selector) => {
      const box = await (await page.$(selector))?.boundingBox();
      if (!box) throw new Error(`${selector} is not shown`);
      await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
      await page.mouse.down();
    },
    release: () => page.mouse.up(),
    close: () => browser.close(),
  };
}

// ------------------------------------------------------------ WebKit

/** A free port of 127.0.0.1. */
function freePort() {
  return new Promise((resolve, reject) => {
    const probe = createServer();
    probe.on('error', reject);
    probe.listen(0, '127.0.0.1', () => {
      const address = probe.address();
      probe.close(() => resolve(typeof address === 'object' && address ? address.port : 0));
    });
  });
}

/** @returns {Promise<Driver>} */
async function webkit() {
  const port = await freePort();
  const service = spawn(WEBKIT_DRIVER, [`--port=${port}`], { stdio: 'ignore' });
  const base = `http://127.0.0.1:${port}`;
  /** A WebDriver command; throws the driver's error. @param {string} method @param {string} path @param {object} [body] */
  const call = async (method, path, body) => {
    const response = await fetch(base + path, {
      method, headers: { 'content-type': 'application/json' }, body: body ? JSON.stringify(body) : undefined,
    });
    const answer = await response.json();
    if (!response.ok) throw new Error(`${method} ${path}: ${answer.value?.error} ${answer.value?.message}`);
    return answer.value;
  };
  let session = null;
  for (let k = 0; k < WAIT_TIMEOUT_MS / POLL_MS && !session; k += 1) {
    try {
      session = await call('POST', '/session', { capabilities: { alwaysMatch: { 'webkitgtk:browserOptions': { args: ['--automation'] } } } });
    } catch {
      await new Promise((resolve) => setTimeout(resolve, POLL_MS));
    }
  }
  if (!session) {
    service.kill();
    throw new Error(`${WEBKIT_DRIVER} started no session`);
  }
  const at = `/session/${session.sessionId}`;
  await call('POST', `${at}/window/rect`, { width: 412, height: 915 });
  const element = async (/** @type {string} */ selector) => {
    const found = await call('POST', `${at}/element`, { using: 'css selector', value: selector });
    return Object.values(found)[0];
  };
  const pointer = async (/** @type {string} */ type, /** @type {string} */ selector, /** @type {string[]} */ moves) => {
    const origin = { 'element-6066-11e4-a52e-4f735466cecf': await element(selector) };
    const actions = [{ type: 'pointerMove', origin, x: 0, y: 0 }, ...moves.map((m) => ({ type: m, button: 0 }))];
    await call('POST', `${at}/actions`, { actions: [{ type: 'pointer', id: type, parameters: { pointerType: type }, actions }] });
  };
  const keys = async (/** @type {string} */ text) => {
    const actions = [...text].flatMap((key) => [{ type: 'keyDown', value: key }, { type: 'keyUp', value: key }]);
    await call('POST', `${at}/actions`, { actions: [{ type: 'key', id: 'keyboard', actions }] });
  };
  return {
    goto: async (url) => { await call('POST', `${at}/url`, { url }); },
    reload: async () => { await call('POST', `${at}/refresh`, {}); },
    run: (body) => call('POST', `${at}/execute/sync`, { script: body, args: [] }),
    click: async (selector) => { await call('POST', `${at}/element/${await element(selector)}/click`, {}); },
    tap: async (selector) => {
      try {
        await pointer('touch', selector, ['pointerDown', 'pointerUp']);
        return 'touch';
      } catch {
        await pointer('mouse', selector, ['pointerDown', 'pointerUp']);
        return 'mouse';
      }
    },
    type: keys,
    enter: () => keys('\uE007'),
    press: (selector) => pointer('mouse', selector, ['pointerDown']),
    release: async () => {
      await call('POST', `${at}/actions`, { actions: [{ type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' }, actions: [{ type: 'pointerUp', button: 0 }] }] });
    },
    close: async () => {
      await call('DELETE', at).catch(() => {});
      service.kill();
    },
  };
}

// ------------------------------------------------------------ the cases

for (const engine of ENGINES) {
  describe(engine, () => {
    test('share link, Enter, a tap that selects, steppers, the check, storage, offline', { timeout: CASE_TIMEOUT_MS }, async (t) => {
      const copy = mkdtempSync(join(tmpdir(), 'rimbeacon-engines-'));
      cpSync(SITE, copy, { recursive: true });
      const site = await serve(copy);
      const driver = engine === 'webkit' ? await webkit() : await firefox();
      try {
        const open = async (/** @type {string} */ fragment) => {
          await driver.goto(site.url + 'index.html' + fragment);
          await waitFor(driver, firstDiagram, 'the first diagram');
        };
        // The share link fills the fields and draws.
        await open(`#${SEVEN}&OutOffset=30`);
        assert.equal(await driver.run(valueOf('OutOffset')), '30');
        assert.deepEqual(await driver.run(differences), AT_30);

        // A tap selects the whole text, so typing replaces it; Enter refreshes.
        const used = await driver.tap('#OutOffset');
        t.diagnostic(`${engine}: the tap went in as a ${used} pointer`);
        assert.deepEqual(await driver.run("const e = document.getElementById('OutOffset'); return [e.selectionStart, e.selectionEnd];"),
          [0, 2], `the ${used} tap selected the text`);
        await driver.type('52');
        assert.equal(await driver.run(valueOf('OutOffset')), '52');
        await driver.enter();
        await waitFor(driver, "return location.hash.includes('OutOffset=52&');", 'the link after Enter');
        assert.deepEqual(await driver.run(differences), ['16.7', '8.7', '-1.3'].map((d) => d + MM));

        // A stepper: one step; held: the repeats, until it is let go.
        await driver.click('button.step.up[data-field="1"]');
        assert.equal(await driver.run(valueOf('InOffset')), '49');
        await driver.press('button.step.up[data-field="4"]');
        await waitFor(driver, "return Number(document.getElementById('OutOffset').value) >= 56;", 'the held stepper\'s repeats');
        await driver.release();
        await waitFor(driver, "return !document.querySelector('button.step[data-held]');", 'the stepper let go');

        // The check's verdict, from a link.
        await open(`#${SEVEN}&OutOffset=52&Spacer=0&Bulge=9&Vehicle=passenger`);
        assert.equal(await driver.run("return document.getElementById('verdict').dataset.verdict;"), 'tyre-tolerated');

        // The inputs are stored: a visit without a link starts from them.
        await waitFor(driver, "return (localStorage.getItem('rimbeacon.inputs') || '').includes('\"Bulge\":\"9\"');", 'the stored inputs');
        await open('');
        assert.deepEqual(await driver.run("return ['InRim', 'InOffset', 'Bulge'].map((id) => document.getElementById(id).value);"),
          ['7', '48', '9']);

        // Offline: once the worker has the site, a reload works without the server.
        await driver.run('navigator.serviceWorker.ready.then(() => { window.rimbeaconReady = true; }); return true;');
        await waitFor(driver, 'return window.rimbeaconReady === true;', 'the service worker');
        await open(`#${SEVEN}&OutOffset=30`);
        await site.stop();
        await driver.reload();
        await waitFor(driver, firstDiagram, 'the first diagram without the server');
        assert.deepEqual(await driver.run(differences), AT_30);
      } finally {
        await driver.close();
        await site.stop();
        rmSync(copy, { recursive: true, force: true });
      }
    });
  });
}
