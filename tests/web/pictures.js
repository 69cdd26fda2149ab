// @ts-check
// The browser edition's pictures: the page opened from a share link on the
// phones people have (360 by 740, 412 by 915 and 430 by 932 CSS px, device
// pixel ratio 3, a touch screen), and for the guides the protrusion check's
// four verdicts on a phone (360 by 740, ratio 2), each scrolled so that the
// diagram, the check and its answers are in view, and the tyre's results and
// the table of what fits of the guides' examples in Japanese and in English.
//   node tests/web/pictures.js SITE_FOLDER OUT_FOLDER
// Prints each file it wrote; exits non-zero when a page is not drawn or
// shows another verdict than its name says.
import { join } from 'node:path';
import { launch, serve, waitForDiagram } from './browser.js';

const WHEELS = '#InRim=7&InOffset=48&InIn=10&OutRim=8';
// The guides' two examples, and the other two verdicts.
const PICTURES = [
  ['tyre-tolerated', '&OutOffset=52&Spacer=0&Bulge=9&Vehicle=passenger'],
  ['wheel-out', '&OutOffset=52&Spacer=5&Bulge=9&Vehicle=other'],
  ['tyre-out', '&OutOffset=52&Spacer=0&Bulge=12&Vehicle=passenger'],
  ['ok', '&OutOffset=60&Spacer=0&Bulge=5&Vehicle=passenger'],
];

// The phones: width, height, and the picture's name.
const PHONES = [[360, 740, 'web-phone'], [412, 915, 'web-phone-412'], [430, 932, 'web-phone-430']];
const SHARED = '#InRim=7&InOffset=48&InIn=10&OutRim=8&OutOffset=30';
const TYRES = `${WHEELS}&OutOffset=52&Spacer=0&Bulge=&Vehicle=passenger&Tyre=225/45R17%2091W&RefTyre=215/45R17%2087W` +
  '&Made=from2007&Axle=900';
const FITS = `${WHEELS}&OutOffset=52&Spacer=0&Bulge=&Vehicle=passenger&Tyre=225/45R17&RefTyre=215/45R17&InnerClear=15`;

const [site, out] = process.argv.slice(2);
if (!site || !out) {
  console.error('usage: node tests/web/pictures.js SITE_FOLDER OUT_FOLDER');
  process.exit(2);
}
const server = await serve(site);
const { browser, close } = await launch({ width: 360, height: 740, deviceScaleFactor: 2 });
let status = 0;
try {
  for (const [width, height, name] of PHONES) {
    const page = await browser.newPage();
    await page.setViewport({ width: Number(width), height: Number(height), deviceScaleFactor: 3, isMobile: true, hasTouch: true });
    await page.goto(`${server.url}index.html${SHARED}`);
    await waitForDiagram(page);
    const file = join(out, `${name}.png`);
    await page.screenshot({ path: /** @type {`${string}.png`} */ (file) });
    console.log(file);
    await page.close();
  }
  for (const [verdict, inputs] of PICTURES) {
    const page = await browser.newPage();
    await page.goto(`${server.url}index.html${WHEELS}${inputs}`);
    await waitForDiagram(page);
    const shown = await page.evaluate(() => {
      document.getElementById('answers')?.scrollIntoView({ block: 'end' });
      return document.getElementById('verdict')?.getAttribute('data-verdict');
    });
    if (shown !== verdict) throw new Error(`${inputs} shows ${shown}, not ${verdict}`);
    const file = join(out, `web-check-${verdict}.png`);
    await page.screenshot({ path: /** @type {`${string}.png`} */ (file) });
    console.log(file);
    await page.close();
  }
  for (const language of ['ja', 'en']) {
    const words = await launch({ width: 360, height: 740, deviceScaleFactor: 2 }, language === 'en' ? 'en-US' : 'ja');
    try {
      const page = await words.browser.newPage();
      await page.goto(`${server.url}index.html${TYRES}`);
      await waitForDiagram(page);
      const shown = await page.evaluate(() => {
        document.getElementById('tyre-results')?.scrollIntoView({ block: 'end' });
        return [document.documentElement.lang, document.getElementById('shaken')?.getAttribute('data-verdict')];
      });
      if (shown.join() !== `${language},ok`) throw new Error(`the tyres' page shows ${shown}, not ${language},ok`);
      const file = join(out, `web-tyres-${language}.png`);
      await page.screenshot({ path: /** @type {`${string}.png`} */ (file) });
      console.log(file);
      await page.goto(`${server.url}index.html${FITS}`);
      await waitForDiagram(page);
      const rows = await page.evaluate(() => {
        document.getElementById('fits')?.scrollIntoView({ block: 'end' });
        return document.querySelectorAll('#fits tbody tr').length;
      });
      if (rows !== 6) throw new Error(`the table of what fits has ${rows} rows, not 6`);
      const fits = join(out, `web-fits-${language}.png`);
      await page.screenshot({ path: /** @type {`${string}.png`} */ (fits) });
      console.log(fits);
    } finally {
      await words.close();
    }
  }
} catch (error) {
  console.error(`pictures: ${error instanceof Error ? error.message : error}`);
  status = 1;
}
await close();
await server.stop();
process.exit(status);
