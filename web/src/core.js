// @ts-check
// The core's WebAssembly module (web/wasm/rimbeacon_api.h), loaded and
// wrapped in typed calls. Every number the page shows comes from here; this
// file only writes texts into the module's input slots and parses the
// results it returns.

/** Bytes of an input slot, NUL included: a text holds at most 255 bytes. */
export const FIELD_SIZE = 256;
/** The five wheel fields by their settings and link keys, in the module's order. */
export const FIELD_KEYS = /** @type {const} */ (['InRim', 'InOffset', 'InIn', 'OutRim', 'OutOffset']);
export const TARGET_OFFSET = 4;
export const VEHICLES = /** @type {const} */ (['passenger', 'other']);

/** The module's input slots (InputSlot). */
const SLOTS = /** @type {const} */ ({
  InRim: 0, InOffset: 1, InIn: 2, OutRim: 3, OutOffset: 4, override: 5, Spacer: 6, Bulge: 7, Vehicle: 8,
  Tyre: 9, RefTyre: 10, Made: 11, Axle: 12, InnerClear: 13,
});
/** What a refresh reads, by the keys of the storage and the link. */
export const INPUT_KEYS = /** @type {const} */ ([...FIELD_KEYS, 'Spacer', 'Bulge', 'Vehicle', 'Tyre', 'RefTyre', 'Made', 'Axle',
  'InnerClear']);
export const MADE = /** @type {const} */ (['from2007', 'before2007']);
/** The inputs whose value must be one of a list: a link's or the storage's other value is ignored. */
export const CHOICES = /** @type {Readonly<Record<string, readonly string[]>>} */ ({ Vehicle: VEHICLES, Made: MADE });
const SCRATCH = SLOTS.override;

/**
 * @typedef {object} CoreExports
 * @property {WebAssembly.Memory} memory
 * @property {() => void} _initialize
 * @property {(slot: number) => number} rb_input
 * @property {() => number} rb_refresh
 * @property {(slot: number, delta: number, position: number) => number} rb_step
 * @property {(slot: number) => number} rb_read
 * @property {() => number} rb_geometry
 */

/** @typedef {typeof VEHICLES[number]} Vehicle */
/** @typedef {'' | 'wheel-out' | 'tyre-out' | 'tyre-tolerated' | 'ok'} Verdict */
/** @typedef {[number, number]} Point */

/**
 * What a refresh reads: the five fields, the protrusion check's inputs,
 * the two tyre sizes, the vehicle's date of make and its axle load.
 * @typedef {object} Inputs
 * @property {string} InRim
 * @property {string} InOffset
 * @property {string} InIn
 * @property {string} OutRim
 * @property {string} OutOffset
 * @property {string} Spacer
 * @property {string} Bulge
 * @property {Vehicle} Vehicle
 * @property {string} Tyre
 * @property {string} RefTyre
 * @property {typeof MADE[number]} Made
 * @property {string} Axle
 * @property {string} InnerClear
 */

/**
 * @typedef {object} Wheel
 * @property {number} inner    column of the inner edge
 * @property {number} outer    column of the outer edge
 * @property {Point[]} outline  the nine points of the outline
 * @property {{ outer: [Point, Point, Point], inner: [Point, Point, Point] } | null} tyre
 *   the sidewall's faces when the tyre's size is known: from, control, to
 */

/**
 * @typedef {object} Check
 * @property {Verdict} verdict   '' when a length is not finite
 * @property {boolean} judged    the wheels are valid and there is a verdict
 * @property {string} wheel      the rim beyond the fender line ("-1.3 ﾐﾘ")
 * @property {string} tyre       the tyre beyond the fender line
 * @property {string} margin     the distance to the rule's next step
 * @property {string} effective  the target offset with the spacer; '' without one
 * @property {[string, string]} answers  the smallest whole target offsets that keep
 *   the rim inside, and the tyre within the rule too; '' for none
 */

/**
 * @typedef {object} Refresh
 * @property {{ reference: boolean, target: boolean, storable: boolean, fields: boolean[] }} valid
 *   the wheels that are drawn, whether the inputs may be stored, each field's validity
 * @property {string} targetOffset  the target offset box's new text
 * @property {string} optimalOffset the optimal offset's double, 16 hex digits
 * @property {Wheel} reference
 * @property {Wheel} target
 * @property {[string, string, string]} differences  inner, outer, fender ("14.7 ﾐﾘ")
 * @property {Check} check
 * @property {Tyres} tyres
 * @property {{ given: boolean, gap: string, verdict: '' | 'ok' | 'ng', currentKnown: boolean }} inner
 *   the gap left on the inner side to the suspension
 * @property {{ shown: boolean, rows: FitRow[] }} fits  what fits, for the new tyre
 */

/**
 * One rim width of what fits: its flush offset, the smallest whole offset
 * within the protrusion rule and the largest clear of the suspension ("" for
 * none), and whether some offset meets both.
 * @typedef {{ width: string, flush: string, min: string, max: string, fits: boolean }} FitRow
 */

/** @typedef {{ measuringRim: string, section: string, diameter: string, reinforced: boolean }} TyreShape */
/** @typedef {'ok' | 'ng' | 'incomplete'} Inspection */
/**
 * What the tyre sizes tell (core/tyre.h); texts as "7.5J", "230.1 ﾐﾘ",
 * "40.6 km/h", "+1.4 %", "615 kg".
 * @typedef {object} Tyres
 * @property {TyreShape | null} target     the new tyre on the target rim; null for no size
 * @property {TyreShape | null} reference  the current tyre on the reference rim
 * @property {{ value: string, estimated: boolean, outermost: 'rim' | 'tyre' }} bulge  the bulge the check used
 * @property {{ verdict: '' | 'ok' | 'ng', speedAt40: string, change: string, slowest: string, fastest: string }} speedometer
 * @property {{ verdict: 'ok' | 'ng' | 'unknown', capacity: string, current: string, withAxle: boolean, required: string }} load
 * @property {{ verdict: Inspection, protrusion: Inspection, speedometer: Inspection, load: Inspection }} shaken
 */

/**
 * @typedef {object} Step
 * @property {string} text       the field's text after the step
 * @property {boolean} wrote     whether the step wrote it
 * @property {number} position   where the integer spinner stands now
 */

/**
 * The diagram's fixed geometry and palette (diagram/diagram_geometry.h).
 * @typedef {object} Geometry
 * @property {{ width: number, height: number }} picture
 * @property {{ x: number, top: number, bottom: number, dotRun: number }} fender
 * @property {{ left: number, right: number, y: number }} underline
 * @property {Point[]} strokes
 * @property {{ cell: number, positions: Point[] }} texts  caption, inner, outer, caption, fender
 * @property {Record<'link' | 'heading' | 'fenderInk' | 'fenderGap' | 'reference' | 'target' | 'text',
 *   [number, number, number]>} palette
 */

const encoder = new TextEncoder();
const decoder = new TextDecoder();

/**
 * The UTF-8 bytes of `text`, cut to at most `limit` bytes at a character
 * boundary, as the desktop's 256-byte buffers cut a field.
 * @param {string} text
 * @param {number} limit
 */
export function cutUtf8(text, limit) {
  const bytes = encoder.encode(text);
  if (bytes.length <= limit) return bytes;
  let end = limit;
  // Back up over continuation bytes (10xxxxxx) to a character's start.
  while (end > 0 && (bytes[end] & 0xc0) === 0x80) end -= 1;
  return bytes.subarray(0, end);
}

/** `text` as it is kept: cut to 255 UTF-8 bytes. @param {string} text */
export function fieldText(text) {
  return decoder.decode(cutUtf8(text, FIELD_SIZE - 1));
}

export class Core {
  /** @param {CoreExports} exports */
  constructor(exports) {
    this.exports = exports;
    /** @type {Geometry} */
    this.geometry = this.#result(exports.rb_geometry());
  }

  /** Parses the JSON result at `pointer`. @param {number} pointer */
  #result(pointer) {
    const memory = new Uint8Array(this.exports.memory.buffer);
    const end = memory.indexOf(0, pointer);
    return JSON.parse(decoder.decode(memory.subarray(pointer, end < 0 ? memory.length : end)));
  }

  /** @param {number} slot @param {string} text */
  #write(slot, text) {
    const bytes = cutUtf8(text, FIELD_SIZE - 1);
    const memory = new Uint8Array(this.exports.memory.buffer, this.exports.rb_input(slot), FIELD_SIZE);
    memory.set(bytes);
    memory[bytes.length] = 0;
  }

  /**
   * The desktop's refresh: the target offset becomes `override` when that is
   * not empty, otherwise the optimal offset's integer part.
   * @param {Inputs} inputs
   * @param {string} override
   * @returns {Refresh}
   */
  refresh(inputs, override) {
    for (const key of INPUT_KEYS) this.#write(SLOTS[key], inputs[key]);
    this.#write(SLOTS.override, override);
    return this.#result(this.exports.rb_refresh());
  }

  /**
   * The stepper of field `index` (0 to 4) on `text`: the width rule for the
   * two widths, the integer spinner's from its last `position` for the others.
   * @param {number} index @param {string} text @param {number} delta @param {number} position
   * @returns {Step}
   */
  step(index, text, delta, position) {
    this.#write(index, text);
    return this.#result(this.exports.rb_step(index, delta, position));
  }

  /**
   * The program's reading of `text`: its double as 16 hex digits, and
   * whether a field holding it is valid.
   * @param {string} text
   * @returns {{ number: string, valid: boolean }}
   */
  read(text) {
    this.#write(SCRATCH, text);
    return this.#result(this.exports.rb_read(SCRATCH));
  }
}

/**
 * Instantiates the module from a fetch response (streamed, in the page) or
 * from its bytes (Node).
 * @param {Response | BufferSource} source
 */
export async function loadCore(source) {
  const result = source instanceof Response
    ? await WebAssembly.instantiateStreaming(source, {})
    : await WebAssembly.instantiate(source, {});
  const exports = /** @type {CoreExports} */ (/** @type {unknown} */ (result.instance.exports));
  exports._initialize();
  return new Core(exports);
}
