// @ts-check
// The core's WebAssembly module (web/wasm/rimbeacon_api.h), loaded and
// wrapped in typed calls. Every number the page shows comes from here; this
// file only moves texts in and out of the module's buffers.

/** Bytes of a field buffer, NUL included: a text holds at most 255 bytes. */
export const FIELD_SIZE = 256;
export const FIELD_KEYS = /** @type {const} */ (['InRim', 'InOffset', 'InIn', 'OutRim', 'OutOffset']);
export const TARGET_OFFSET = 4;
/** The protrusion check's two fields, after the five wheel fields. */
export const SPACER = 5;
export const BULGE = 6;
export const VEHICLES = /** @type {const} */ (['passenger', 'other']);
/** The verdicts of rb_check, by their code; '' is none. */
const VERDICTS = /** @type {const} */ (['', 'wheel-out', 'tyre-out', 'tyre-tolerated', 'ok']);

/**
 * @typedef {object} CoreExports
 * @property {WebAssembly.Memory} memory
 * @property {() => void} _initialize
 * @property {(index: number) => number} rb_field
 * @property {() => number} rb_scratch
 * @property {() => number} rb_validity
 * @property {(withOverride: number) => void} rb_compute_offset
 * @property {() => number} rb_optimal_offset
 * @property {() => void} rb_draw
 * @property {(index: number) => number} rb_column
 * @property {(index: number) => number} rb_difference
 * @property {(index: number, delta: number) => void} rb_step_width
 * @property {(index: number, delta: number) => number} rb_step_integer
 * @property {(vehicle: number) => number} rb_check
 * @property {(index: number) => number} rb_check_text
 * @property {(index: number) => number} rb_answer
 * @property {() => number} rb_read_number
 * @property {() => number} rb_number_valid
 */

/**
 * @typedef {object} Validity
 * @property {boolean} refValid    the reference wheel is drawn
 * @property {boolean} outValid    the target wheel and the values are drawn
 * @property {boolean} storable    the four inputs may be stored
 */

/**
 * @typedef {object} Drawing
 * @property {[number, number]} grey   inner and outer column of the reference wheel
 * @property {[number, number]} red    inner and outer column of the target wheel
 * @property {[string, string, string]} differences  inner, outer, fender ("14.7 ﾐﾘ")
 */

/** @typedef {typeof VEHICLES[number]} Vehicle */
/** @typedef {typeof VERDICTS[number]} Verdict */

/**
 * @typedef {object} Check
 * @property {Verdict} verdict   '' when a length is not finite
 * @property {string} wheel      the rim beyond the fender line ("-1.3 ﾐﾘ")
 * @property {string} tyre       the tyre beyond the fender line
 * @property {string} margin     the distance to the rule's next step
 * @property {string} effective  the target offset with the spacer; '' without one
 * @property {[string, string]} answers  the smallest whole target offsets that keep
 *   the rim inside, and the tyre within the rule too; '' for none
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
  }

  /** @param {number} pointer */
  #readText(pointer) {
    const bytes = new Uint8Array(this.exports.memory.buffer, pointer, FIELD_SIZE);
    const end = bytes.indexOf(0);
    return decoder.decode(bytes.subarray(0, end < 0 ? FIELD_SIZE : end));
  }

  /** @param {number} pointer @param {string} text */
  #writeText(pointer, text) {
    const bytes = cutUtf8(text, FIELD_SIZE - 1);
    const memory = new Uint8Array(this.exports.memory.buffer, pointer, FIELD_SIZE);
    memory.set(bytes);
    memory[bytes.length] = 0;
  }

  /** @param {number} index @param {string} text */
  setField(index, text) {
    this.#writeText(this.exports.rb_field(index), text);
  }

  /** @param {number} index */
  field(index) {
    return this.#readText(this.exports.rb_field(index));
  }

  /** @returns {Validity} */
  validity() {
    const bits = this.exports.rb_validity();
    return { refValid: (bits & 1) !== 0, outValid: (bits & 2) !== 0, storable: (bits & 4) !== 0 };
  }

  /**
   * The target offset field becomes `override` when that is not empty,
   * otherwise the optimal offset's integer part.
   * @param {string} override
   */
  computeOffset(override) {
    this.#writeText(this.exports.rb_scratch(), override);
    this.exports.rb_compute_offset(override === '' ? 0 : 1);
  }

  optimalOffset() {
    return this.exports.rb_optimal_offset();
  }

  /** @returns {Drawing} */
  draw() {
    const e = this.exports;
    e.rb_draw();
    return {
      grey: [e.rb_column(0), e.rb_column(1)],
      red: [e.rb_column(2), e.rb_column(3)],
      differences: [this.#readText(e.rb_difference(0)), this.#readText(e.rb_difference(1)),
        this.#readText(e.rb_difference(2))],
    };
  }

  /**
   * The protrusion check for the fields as they are and the last optimal
   * offset (the spacer and the bulge are fields SPACER and BULGE).
   * @param {Vehicle} vehicle
   * @returns {Check}
   */
  check(vehicle) {
    const e = this.exports;
    const verdict = VERDICTS[e.rb_check(VEHICLES.indexOf(vehicle))] ?? '';
    const text = (/** @type {number} */ k) => this.#readText(e.rb_check_text(k));
    return {
      verdict, wheel: text(0), tyre: text(1), margin: text(2), effective: text(3),
      answers: [this.#readText(e.rb_answer(0)), this.#readText(e.rb_answer(1))],
    };
  }

  /** Width stepper of field 0 or 3. @param {number} index @param {number} delta */
  stepWidth(index, delta) {
    this.exports.rb_step_width(index, delta);
  }

  /** Integer stepper of field 1, 2 or 4; true when it wrote. @param {number} index @param {number} delta */
  stepInteger(index, delta) {
    return this.exports.rb_step_integer(index, delta) !== 0;
  }

  /** The number a text reads as (the program's own reading). @param {string} text */
  readNumber(text) {
    this.#writeText(this.exports.rb_scratch(), text);
    return this.exports.rb_read_number();
  }

  /** Whether a field holding `text` is valid. @param {string} text */
  numberValid(text) {
    this.#writeText(this.exports.rb_scratch(), text);
    return this.exports.rb_number_valid() !== 0;
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
