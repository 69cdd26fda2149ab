// @ts-check
// A screenshot of the served page: node tests/web/screenshot.js URL FILE
// [WIDTH HEIGHT RATIO]. Waits until the first diagram is drawn; exits
// non-zero, writing nothing, when it is not.
import { launch, waitForDiagram } from './browser.js';

const [url, file, width = '800', height = '600', ratio = '1'] = process.argv.slice(2);
if (!url || !file) {
  console.error('usage: node tests/web/screenshot.js URL FILE [WIDTH HEIGHT RATIO]');
  process.exit(2);
}
const { browser, close } = await launch({ width: Number(width), height: Number(height), deviceScaleFactor: Number(ratio) });
let status = 0;
try {
  const page = await browser.newPage();
  await page.goto(url);
  await waitForDiagram(page);
  await page.screenshot({ path: /** @type {`${string}.png`} */ (file) });
} catch (error) {
  console.error(`screenshot: ${error instanceof Error ? error.message : error}`);
  status = 1;
}
await close();
process.exit(status);
