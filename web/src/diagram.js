// @ts-check
// The cross-section, drawn as the desktop program draws it over its
// background picture, in the desktop's pixels: at scale 1 every pixel is
// the desktop's; at any other scale each desktop pixel becomes a square of
// `scale` device pixels, so lines stay sharp on a phone. The columns and
// texts come from the core (Drawing); only the fixed geometry is here, the
// same numbers as the desktop's diagram/diagram_geometry.h.

/** @typedef {import('./core.js').Drawing} Drawing */

export const PICTURE_WIDTH = 369;
export const PICTURE_HEIGHT = 230;

const FENDER_X = 300;
const FENDER_TOP = 30;
const FENDER_BOTTOM = 170;       // end point, not drawn
// The dotted pen as Wine draws it: three pixels of ink, three of the
// context's white background, from the line's first pixel.
const DOT_RUN = 3;

const WHEEL_TOP = 50;
const WHEEL_BOTTOM = 150;
const WHEEL_CHAMFER = 5;
// The three strokes of an outline: as drawn, one to the right, then one down.
const STROKES = [[0, 0], [1, 0], [1, 1]];

// The link label's underline at the desktop's dialog unit of 7/4 by 12/8.
const UNDERLINE_LEFT = 60;
const UNDERLINE_RIGHT = 157;     // end point, not drawn
const UNDERLINE_Y = 165;

const TEXT_CAPTION_X = 160;
const TEXT_INNER_X = 240;
const TEXT_OUTER_X = 320;
const TEXT_ROW1_Y = 170;
const TEXT_ROW2_Y = 185;
const TEXT_CELL_HEIGHT = 10;
const TEXT_FONTS = '"ＭＳ Ｐゴシック", "MS PGothic", "IPAPGothic", "IPAGothic", sans-serif';

const COLOURS = {
  underline: 'rgb(150, 0, 0)',
  fenderInk: 'rgb(0, 0, 0)',
  fenderGap: 'rgb(255, 255, 255)',
  grey: 'rgb(100, 100, 100)',
  red: 'rgb(255, 0, 0)',
  text: 'rgb(70, 70, 70)',
};

/**
 * @typedef {object} Scene
 * @property {boolean} refValid
 * @property {boolean} outValid
 * @property {Drawing} drawing
 * @property {string} captionCurrent  "現状との差異"
 * @property {string} captionFender   "ﾌｪﾝﾀﾞｰとの差"
 */

/**
 * Fills desktop pixels: the rectangle of w by h pixels at (x, y).
 * @param {CanvasRenderingContext2D} ctx @param {number} scale
 * @param {number} x @param {number} y @param {number} w @param {number} h
 */
function fillPixels(ctx, scale, x, y, w, h) {
  ctx.fillRect(x * scale, y * scale, w * scale, h * scale);
}

/**
 * One segment of a polyline, end point excluded: horizontal, vertical or
 * at 45 degrees, as the outline's segments are.
 * @param {CanvasRenderingContext2D} ctx @param {number} scale
 * @param {number} x0 @param {number} y0 @param {number} x1 @param {number} y1
 */
function segment(ctx, scale, x0, y0, x1, y1) {
  const dx = Math.sign(x1 - x0);
  const dy = Math.sign(y1 - y0);
  const steps = Math.max(Math.abs(x1 - x0), Math.abs(y1 - y0));
  if (dx === 0 || dy === 0) {
    // A straight run: the pixels from (x0, y0) up to the end point.
    const left = dx < 0 ? x1 + 1 : x0;
    const top = dy < 0 ? y1 + 1 : y0;
    fillPixels(ctx, scale, left, top, dx === 0 ? 1 : steps, dy === 0 ? 1 : steps);
    return;
  }
  for (let k = 0; k < steps; k += 1) fillPixels(ctx, scale, x0 + k * dx, y0 + k * dy, 1, 1);
}

/**
 * A wheel outline between its inner and outer column: a rectangle with
 * chamfered corners, drawn three times for a line about two pixels thick.
 * @param {CanvasRenderingContext2D} ctx @param {number} scale
 * @param {number} i @param {number} o @param {string} colour
 */
function wheel(ctx, scale, i, o, colour) {
  const c = WHEEL_CHAMFER;
  const points = [
    [i + c, WHEEL_TOP], [o - c, WHEEL_TOP], [o, WHEEL_TOP + c],
    [o, WHEEL_BOTTOM - c], [o - c, WHEEL_BOTTOM], [i + c, WHEEL_BOTTOM],
    [i, WHEEL_BOTTOM - c], [i, WHEEL_TOP + c], [i + c, WHEEL_TOP],
  ];
  ctx.fillStyle = colour;
  for (const [sx, sy] of STROKES) {
    for (let k = 0; k + 1 < points.length; k += 1) {
      segment(ctx, scale, points[k][0] + sx, points[k][1] + sy, points[k + 1][0] + sx, points[k + 1][1] + sy);
    }
  }
}

/** @param {CanvasRenderingContext2D} ctx @param {number} scale */
function fenderLine(ctx, scale) {
  for (let y = FENDER_TOP; y < FENDER_BOTTOM; y += DOT_RUN) {
    const run = Math.min(DOT_RUN, FENDER_BOTTOM - y);
    ctx.fillStyle = ((y - FENDER_TOP) / DOT_RUN) % 2 === 0 ? COLOURS.fenderInk : COLOURS.fenderGap;
    fillPixels(ctx, scale, FENDER_X, y, 1, run);
  }
}

/**
 * @param {CanvasRenderingContext2D} ctx @param {number} scale
 * @param {string} text @param {number} x @param {number} y
 */
function text(ctx, scale, text, x, y) {
  ctx.fillText(text, x * scale, y * scale);
}

/**
 * Draws the whole diagram: the picture, the underline and fender line, the
 * grey wheel when the reference is valid, the red wheel and the five texts
 * when the target is valid. `scale` is device pixels per desktop pixel.
 * @param {HTMLCanvasElement} canvas @param {HTMLImageElement | null} picture
 * @param {number} scale @param {Scene} scene
 */
export function drawDiagram(canvas, picture, scale, scene) {
  const ctx = canvas.getContext('2d');
  if (!ctx) return;
  ctx.setTransform(1, 0, 0, 1, 0, 0);
  ctx.clearRect(0, 0, canvas.width, canvas.height);
  if (picture && picture.complete && picture.naturalWidth > 0) {
    ctx.imageSmoothingEnabled = scale !== 1;
    ctx.drawImage(picture, 0, 0, PICTURE_WIDTH * scale, PICTURE_HEIGHT * scale);
  }
  ctx.fillStyle = COLOURS.underline;
  fillPixels(ctx, scale, UNDERLINE_LEFT, UNDERLINE_Y, UNDERLINE_RIGHT - UNDERLINE_LEFT, 1);
  fenderLine(ctx, scale);
  const { drawing } = scene;
  if (scene.refValid) wheel(ctx, scale, drawing.grey[0], drawing.grey[1], COLOURS.grey);
  if (!scene.outValid) return;
  wheel(ctx, scale, drawing.red[0], drawing.red[1], COLOURS.red);
  ctx.fillStyle = COLOURS.text;
  ctx.font = `${TEXT_CELL_HEIGHT * scale}px ${TEXT_FONTS}`;
  ctx.textBaseline = 'top';
  text(ctx, scale, scene.captionCurrent, TEXT_CAPTION_X, TEXT_ROW1_Y);
  text(ctx, scale, drawing.differences[0], TEXT_INNER_X, TEXT_ROW1_Y);
  text(ctx, scale, drawing.differences[1], TEXT_OUTER_X, TEXT_ROW1_Y);
  text(ctx, scale, scene.captionFender, TEXT_CAPTION_X, TEXT_ROW2_Y);
  text(ctx, scale, drawing.differences[2], TEXT_OUTER_X, TEXT_ROW2_Y);
}
