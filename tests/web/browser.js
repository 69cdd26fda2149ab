// @ts-check
// Debian's Chromium, headless, driven through puppeteer-core, against the
// browser edition served from a folder on 127.0.0.1 by tools/lib/web-serve.py.
// Shared by the browser tests, tools/web's screenshot and tools/bench web.

import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';

const here = dirname(fileURLToPath(import.meta.url));
export const ROOT = join(here, '..', '..');
export const CHROMIUM = process.env.RIMBEACON_CHROMIUM || '/usr/bin/chromium';

/**
 * Serves `folder` on 127.0.0.1 (on `port`, or a free one); resolves with
 * its address and a function that stops it, whose promise resolves once
 * the server has ended.
 * @param {string} folder
 * @param {number} [port]
 * @returns {Promise<{ url: string, stop: () => Promise<void> }>}
 */
export function serve(folder, port = 0) {
  return new Promise((resolve, reject) => {
    const server = spawn('python3', [join(ROOT, 'tools', 'lib', 'web-serve.py'), folder, String(port)], { stdio: ['ignore', 'pipe', 'inherit'] });
    const ended = new Promise((done) => server.on('exit', () => done(undefined)));
    let output = '';
    server.on('error', reject);
    server.on('exit', (code) => reject(new Error(`web-serve.py ended with ${code} before it listened`)));
    server.stdout.on('data', (chunk) => {
      output += chunk;
      const match = /serving (http:\/\/\S+)/.exec(output);
      if (match) {
        resolve({
          url: match[1],
          stop: async () => {
            if (server.exitCode === null && server.signalCode === null) server.kill();
            await ended;
          },
        });
      }
    });
  });
}

/**
 * Starts Chromium headless with a fresh profile. Background networking is
 * off: the machine may have no network, and the page needs none.
 * @param {{ width?: number, height?: number, deviceScaleFactor?: number }} [viewport]
 * @param {string} [language]  the browser's preferred language
 */
export async function launch(viewport = {}, language = 'ja') {
  const profile = mkdtempSync(join(tmpdir(), 'rimbeacon-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--disable-dev-shm-usage', `--lang=${language}`,
      `--accept-lang=${language}`,
      '--font-render-hinting=none'],
    defaultViewport: { width: viewport.width ?? 800, height: viewport.height ?? 600, deviceScaleFactor: viewport.deviceScaleFactor ?? 1 },
  });
  const close = async () => {
    await browser.close();
    rmSync(profile, { recursive: true, force: true });
  };
  return { browser, close };
}

/**
 * Waits until the page has drawn its first diagram.
 * @param {import('puppeteer-core').Page} page
 */
export async function waitForDiagram(page) {
  await page.waitForFunction(() => performance.getEntriesByName('rimbeacon-first-diagram').length > 0);
}
