// @ts-check
// The cross-section, drawn as the desktop program draws it over its
// background picture, in the desktop's pixels: at scale 1 every pixel is
// the desktop's; at any other scale each desktop pixel becomes a square of
// `scale` device pixels, so lines stay sharp on a phone. Every place, size
// and colour comes from the core: the fixed geometry (Core.geometry) and
// each refresh's outlines and texts. This module only rasterises them.

/** @typedef {import('./core.js').Geometry} Geometry */
/** @typedef {import('./core.js').Refresh} Refresh */
/** @typedef {import('./core.js').Point} Point */

const TEXT_FONTS = '"ＭＳ Ｐゴシック", "MS PGothic", "IPAPGothic", "IPAGothic", sans-serif';

/**
 * @typedef {object} Scene
 * @property {Refresh | null} refresh   what the last refresh computed
 * @property {string} captionCurrent  "現状との差異"
 * @property {string} captionFender   "ﾌｪﾝﾀﾞｰとの差"
 */

/** @param {[number, number, number]} rgb */
function colour(rgb) {
  return `rgb(${rgb.join(', ')})`;
}

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
 * @param {Point} from @param {Point} to
 */
function segment(ctx, scale, [x0, y0], [x1, y1]) {
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
 * A wheel's outline, drawn once at each stroke offset.
 * @param {CanvasRenderingContext2D} ctx @param {number} scale
 * @param {Point[]} outline @param {Point[]} strokes
 */
function wheel(ctx, scale, outline, strokes) {
  for (const [sx, sy] of strokes) {
    for (let k = 0; k + 1 < outline.length; k += 1) {
      segment(ctx, scale, [outline[k][0] + sx, outline[k][1] + sy], [outline[k + 1][0] + sx, outline[k + 1][1] + sy]);
    }
  }
}

/**
 * A tyre's two sidewall faces, thin curves through the middles of the
 * desktop pixels they pass, sharp at any scale.
 * @param {CanvasRenderingContext2D} ctx @param {number} scale
 * @param {NonNullable<import('./core.js').Wheel['tyre']>} faces
 */
function tyre(ctx, scale, faces) {
  const at = (/** @type {number} */ v) => (v + 0.5) * scale;
  ctx.lineWidth = scale;
  for (const [from, control, to] of [faces.outer, faces.inner]) {
    ctx.beginPath();
    ctx.moveTo(at(from[0]), at(from[1]));
    ctx.quadraticCurveTo(at(control[0]), at(control[1]), at(to[0]), at(to[1]));
    ctx.stroke();
  }
}

/** @param {CanvasRenderingContext2D} ctx @param {number} scale @param {Geometry} geometry */
function fenderLine(ctx, scale, { fender, palette }) {
  for (let y = fender.top; y < fender.bottom; y += fender.dotRun) {
    const run = Math.min(fender.dotRun, fender.bottom - y);
    ctx.fillStyle = colour(((y - fender.top) / fender.dotRun) % 2 === 0 ? palette.fenderInk : palette.fenderGap);
    fillPixels(ctx, scale, fender.x, y, 1, run);
  }
}

/**
 * Draws the whole diagram: the picture, the underline and fender line, the
 * reference wheel when it is valid, the target wheel and the five texts
 * when the target is valid; each wheel with its tyre's sidewalls when the
 * tyre's size is known. `scale` is device pixels per desktop pixel.
 * @param {HTMLCanvasElement} canvas @param {HTMLImageElement | null} picture
 * @param {number} scale @param {Geometry} geometry @param {Scene} scene
 */
export function drawDiagram(canvas, picture, scale, geometry, scene) {
  const ctx = canvas.getContext('2d');
  if (!ctx) return;
  const { palette, underline } = geometry;
  ctx.setTransform(1, 0, 0, 1, 0, 0);
  ctx.clearRect(0, 0, canvas.width, canvas.height);
  if (picture && picture.complete && picture.naturalWidth > 0) {
    ctx.imageSmoothingEnabled = scale !== 1;
    ctx.drawImage(picture, 0, 0, geometry.picture.width * scale, geometry.picture.height * scale);
  }
  ctx.fillStyle = colour(palette.link);
  fillPixels(ctx, scale, underline.left, underline.y, underline.right - underline.left, 1);
  fenderLine(ctx, scale, geometry);
  const { refresh } = scene;
  if (!refresh) return;
  for (const [valid, drawn, rgb] of /** @type {const} */ ([[refresh.valid.reference, refresh.reference, palette.reference],
    [refresh.valid.target, refresh.target, palette.target]])) {
    if (!valid) continue;
    ctx.fillStyle = ctx.strokeStyle = colour(rgb);
    wheel(ctx, scale, drawn.outline, geometry.strokes);
    if (drawn.tyre) tyre(ctx, scale, drawn.tyre);
  }
  if (!refresh.valid.target) return;
  ctx.fillStyle = colour(palette.text);
  ctx.font = `${geometry.texts.cell * scale}px ${TEXT_FONTS}`;
  ctx.textBaseline = 'top';
  const [inner, outer, fender] = refresh.differences;
  const texts = [scene.captionCurrent, inner, outer, scene.captionFender, fender];
  texts.forEach((text, k) => {
    const [x, y] = geometry.texts.positions[k];
    ctx.fillText(text, x * scale, y * scale);
  });
}
