// @ts-check
// A screenshot of the served page: node tests/web/screenshot.js URL FILE
// [WIDTH HEIGHT RATIO [SELECTOR]]. Waits until the first diagram is drawn;
// with a SELECTOR, scrolls until that element's bottom is in view first.
// Exits non-zero, writing nothing, when the page is not drawn.
import { launch, waitForDiagram } from './browser.js';

const [url, file, width = '800', height = '600', ratio = '1', selector = ''] = process.argv.slice(2);
if (!url || !file) {
  console.error('usage: node tests/web/screenshot.js URL FILE [WIDTH HEIGHT RATIO [SELECTOR]]');
  process.exit(2);
}
const { browser, close } = await launch({ width: Number(width), height: Number(height), deviceScaleFactor: Number(ratio) });
let status = 0;
try {
  const page = await browser.newPage();
  await page.goto(url);
  await waitForDiagram(page);
  if (selector !== '') {
    const found = await page.evaluate((s) => {
      const element = document.querySelector(s);
      element?.scrollIntoView({ block: 'end' });
      return element !== null;
    }, selector);
    if (!found) throw new Error(`no element ${selector}`);
  }
  await page.screenshot({ path: /** @type {`${string}.png`} */ (file) });
} catch (error) {
  console.error(`screenshot: ${error instanceof Error ? error.message : error}`);
  status = 1;
}
await close();
process.exit(status);
