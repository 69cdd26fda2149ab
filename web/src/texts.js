// @ts-check
// The page's words in Japanese (the desktop program's own texts, half-width
// katakana kept) and English. Numbers and the " ﾐﾘ" of the diagram are not
// words: they come from the core and stay as they are in both languages;
// only the protrusion check's sentences say "mm" in English. In a sentence
// {wheel}, {tyre}, {margin} and {fields} stand for what the page puts in.

/** @typedef {'ja' | 'en'} Language */

/** @type {Record<Language, Record<string, string>>} */
export const TEXTS = {
  ja: {
    loading: '読み込み中…',
    failed: 'WebAssembly を読み込めませんでした。ページを再読み込みしてください。',
    referenceHeading: '基準となるﾎｲｰﾙのﾃﾞｰﾀ',
    targetHeading: '知りたいﾎｲｰﾙのﾃﾞｰﾀ',
    width: 'ﾘﾑ幅/ﾀｲﾔ幅',
    widthUnit: 'ｲﾝﾁ/ﾐﾘ',
    offset: 'ｵﾌｾｯﾄ値',
    clearance: '外側余裕',
    mm: 'ﾐﾘ',
    fender: 'ﾌｪﾝﾀﾞｰ',
    inside: '内側',
    outside: '外側',
    optimal: '最適ｵﾌｾｯﾄ値取得',
    stepUp: '上げる',
    stepDown: '下げる',
    diagramLabel: '基準のホイール（灰色）と知りたいホイール（赤）の断面図。点線がフェンダーの位置',
    captionCurrent: '現状との差異',
    captionFender: 'ﾌｪﾝﾀﾞｰとの差',
    innerChange: '内側の変化',
    outerChange: '外側の変化',
    fenderChange: 'ﾌｪﾝﾀﾞｰとの差',
    copyLink: 'リンクをコピー',
    copied: 'コピーしました',
    copyFailed: 'コピーできませんでした。アドレス欄からコピーしてください',
    switchTo: 'English',
    checkHeading: 'はみ出しチェック',
    checkIntro: '車検の基準: ホイールはフェンダーから少しもはみ出してはいけません。乗用車に限り、いちばん外側がタイヤなら 10ﾐﾘ未満のはみ出しは認められます。',
    spacer: 'スペーサーの厚さ',
    bulge: 'タイヤの張り出し',
    bulgeHint: 'リム外側の面（フランジ）に定規などまっすぐな物を縦に当て、そこからサイドウォールのいちばん張り出した所までを測ります。標準リム幅のタイヤでおよそ 5〜15ﾐﾘ、引っ張りタイヤでは 0 前後かマイナスです。空欄なら新しいタイヤのサイズから推定します。',
    vehicle: '車両の区分',
    passenger: '乗用車',
    other: '貨物・その他',
    vehicleHint: '「貨物・その他」は 4ナンバーなどの貨物登録、10人乗り以上、二輪・三輪、トレーラーです。タイヤの 10ﾐﾘ未満の許容はありません。',
    effective: 'スペーサー込みの実効オフセット',
    wheelOut: 'NG: ホイールがフェンダーから {wheel} はみ出しています',
    tyreOut: 'NG: タイヤが {tyre} はみ出しています',
    tyreTolerated: 'OK（タイヤのはみ出し {tyre}は10ﾐﾘ未満）',
    ok: 'OK: ホイールもタイヤもフェンダーの内側です',
    noVerdict: '判定できません: 値が大きすぎます',
    missing: '判定するには次の値を入れてください: {fields}',
    marginWheelOut: 'ホイールを {margin} 内側へ入れると、リムがフェンダーの線にそろいます',
    marginTyreOutPassenger: '10ﾐﾘ未満の許容を {margin} 超えています',
    marginTyreOutOther: 'この区分に許容はありません。タイヤを {margin} 内側へ入れるとフェンダーの線にそろいます',
    marginTolerated: '不合格まであと {margin} です',
    marginOk: 'はみ出すまであと {margin} です',
    caution: '注意: 10ﾐﾘ未満の許容はタイヤの文字・リムガード・トレッド模様だけが対象で、サイドウォールそのものがはみ出していると不合格とされることがあります。',
    answerInside: 'ホイールがフェンダー内に収まるオフセット',
    answerPassenger: 'タイヤのはみ出しも10ﾐﾘ未満になるオフセット',
    answerOther: 'タイヤもはみ出さないオフセット',
    answerFrom: '{offset} 以上',
    answerNone: 'なし',
    use: '入れる',
    useLabel: '入れる: オフセット値 {offset} を知りたいﾎｲｰﾙに',
    fieldInRim: '基準のﾘﾑ幅/ﾀｲﾔ幅',
    fieldInOffset: '基準のｵﾌｾｯﾄ値',
    fieldInIn: '外側余裕',
    fieldOutRim: '知りたいﾎｲｰﾙのﾘﾑ幅/ﾀｲﾔ幅',
    fieldOutOffset: '知りたいﾎｲｰﾙのｵﾌｾｯﾄ値',
    tyre: '新しいタイヤのサイズ',
    refTyre: '今のタイヤのサイズ',
    tyreHint: 'サイドウォールの「225/45R17 91W」のように。ロードインデックス（91）と速度記号（W）は負荷能力の判定に使います。',
    tyreError: '{which}が読めません。「幅/偏平率R内径」で入れてください（例: 225/45R17 91W）',
    bulgeEstimated: '推定 {value}',
    made: '車両の製作',
    from2007: '2007年1月1日以降',
    before2007: '2006年12月31日以前',
    axle: '軸重（車検証）',
    axleHint: '車検証の「前前軸重」または「後後軸重」のうち、タイヤを替える軸の値です。',
    tyreHeading: 'タイヤ',
    measuringRim: '測定リム幅',
    sectionWidth: 'このリムでの総幅',
    bulgeResult: 'リムのフランジからの張り出し',
    estimated: '推定',
    measured: '測った値',
    outermost: 'いちばん外側',
    outermostTyre: 'タイヤ',
    outermostRim: 'ホイール（リム）',
    estimateNote: '推定は規格の計算です。総幅に文字やリムガードは入らず、同じサイズでもメーカーにより数ﾐﾘ違います。測れるときは測った値を「タイヤの張り出し」に入れてください。',
    speedometer: 'スピードメーター',
    speedOk: 'メーター40 km/hのとき実際は {speed}（外径 {change}）: 基準内（{slowest}〜{fastest}）です',
    speedNg: 'メーター40 km/hのとき実際は {speed}（外径 {change}）: 基準（{slowest}〜{fastest}）を外れています',
    speedMissing: '今のタイヤと新しいタイヤのサイズを入れると判定します',
    speedNote: 'メーターはふつう少し高めに表示するので、小さいタイヤが問題になることはまれで、大きいタイヤが問題になります。',
    load: '負荷能力',
    loadOkAxle: '{capacity}: 軸重の半分 {required} 以上です',
    loadNgAxle: '{capacity}: 軸重の半分 {required} に足りません',
    loadOkCurrent: '{capacity}: 今のタイヤ（{current}）以上です。検査では車検証の軸重と比べます',
    loadLower: '{capacity}: 今のタイヤ（{current}）より小さいので、軸重を入れると判定します',
    loadNoIndex: '新しいタイヤのロードインデックスを入れると判定します（例: 225/45R17 91W）',
    loadNoAxle: '軸重か今のタイヤのロードインデックスを入れると判定します',
    loadXl: 'XL（エクストラロード）のロードインデックスは高い基準空気圧でのものです。車の指定空気圧では負荷能力が下がるので、メーカーの負荷能力表で確かめてください。',
    shakenOk: '車検: はみ出し・スピードメーター・負荷能力とも基準内です',
    shakenNg: '車検: 基準外です（{parts}）',
    shakenIncomplete: '車検: 判定には次が必要です: {parts}',
    partProtrusion: 'はみ出し',
    partSpeedometer: 'スピードメーター',
    partLoad: '負荷能力',
    needProtrusion: 'ホイールの値',
    needSpeedometer: '両方のタイヤのサイズ',
    needLoad: '軸重かロードインデックス',
    innerClear: '内側の余裕',
    innerHint: '今のタイヤの内側のサイドウォールから、いちばん近い足回りの部品（ストラット、スプリングシート、ナックル）までの隙間。ハンドルをまっすぐにして、いちばん狭い所で測ります。空欄なら内側は判定しません。',
    innerSide: '内側',
    innerOk: '足回りまで {gap} の隙間が残ります',
    innerNg: '足回りとの隙間が {gap} です: 当たります',
    innerSameTyre: '（今のタイヤのサイズがないので、サイドウォールは新しいタイヤと同じとして計算）',
    fitsHeading: '選べるホイール',
    fitsWidth: 'リム幅',
    fitsFlush: '面一のオフセット',
    fitsRange: '通るオフセット',
    fitsAction: '入れる',
    fitsBetween: '{min}〜{max}',
    fitsFrom: '{min} 以上',
    fitsNone: 'なし',
    fitsUseLabel: '入れる: {width}J、オフセット値 {offset}',
    fitsCaption: 'リム幅ごとに、はみ出しの基準（そのリム幅での推定の張り出しとスペーサー込み）と、内側の余裕があれば足回りとの隙間を満たす整数のオフセット値。スピードメーターと負荷能力はリム幅によりません: {speedometer}、{load}。',
    captionSpeed: 'スピードメーター{verdict}',
    captionLoad: '負荷能力{verdict}',
    captionOk: 'は基準内',
    captionNg: 'は基準外',
    captionUnknown: 'は未判定',
    listSeparator: '、',
  },
  en: {
    loading: 'Loading…',
    failed: 'WebAssembly could not be loaded. Please reload the page.',
    referenceHeading: 'Wheel you know',
    targetHeading: 'Wheel to check',
    width: 'Width',
    widthUnit: 'in/mm',
    offset: 'Offset',
    clearance: 'Clearance',
    mm: 'mm',
    fender: 'Fender',
    inside: 'Inside',
    outside: 'Outside',
    optimal: 'Optimal offset',
    stepUp: 'Up',
    stepDown: 'Down',
    diagramLabel: 'Cross-section of the wheel you know (grey) and the wheel to check (red); the dotted line is the fender',
    captionCurrent: 'Change',
    captionFender: 'To fender',
    innerChange: 'inner edge',
    outerChange: 'outer edge',
    fenderChange: 'to the fender',
    copyLink: 'Copy link',
    copied: 'Copied',
    copyFailed: 'Could not copy; please copy the address bar',
    switchTo: '日本語',
    checkHeading: 'Protrusion check',
    checkIntro: 'The Japanese inspection (shaken): no part of the wheel may stand out of the fender. Only on a passenger car, a tyre that is the outermost part may stand out by less than 10 mm.',
    spacer: 'Spacer',
    bulge: 'Tyre bulge',
    bulgeHint: 'Hold a straight edge upright against the rim\'s outer face (the flange) and measure from it to the widest point of the sidewall. On a rim of the tyre\'s standard width most tyres stand about 5 to 15 mm out; a stretched tyre about 0, or less (negative). Left empty, it is estimated from the new tyre\'s size.',
    vehicle: 'Vehicle',
    passenger: 'Passenger car',
    other: 'Cargo or other',
    vehicleHint: '"Cargo or other": cargo registrations such as a 4-number van, vehicles with 10 or more seats, two- and three-wheelers, trailers. They get no 10 mm allowance for the tyre.',
    effective: 'Effective offset with the spacer',
    wheelOut: 'Fails: the wheel stands {wheel} out of the fender',
    tyreOut: 'Fails: the tyre stands {tyre} out of the fender',
    tyreTolerated: 'Passes (the tyre stands {tyre} out, less than 10 mm)',
    ok: 'Passes: wheel and tyre are both inside the fender',
    noVerdict: 'No verdict: the values are too large',
    missing: 'For a verdict, enter: {fields}',
    marginWheelOut: 'Moving the wheel {margin} inboard brings the rim to the fender line',
    marginTyreOutPassenger: '{margin} over the allowance of less than 10 mm',
    marginTyreOutOther: 'No allowance for this vehicle: moving the tyre {margin} inboard brings it to the fender line',
    marginTolerated: '{margin} to spare before it fails',
    marginOk: '{margin} to spare before anything stands out',
    caution: 'Note: the allowance covers only the tyre\'s lettering, rim guard and tread pattern; a sidewall that stands out may still be refused.',
    answerInside: 'Offset that keeps the wheel inside the fender',
    answerPassenger: 'Offset that also keeps the tyre under 10 mm',
    answerOther: 'Offset that also keeps the tyre inside',
    answerFrom: '{offset} or more',
    answerNone: 'none',
    use: 'Use',
    useLabel: 'Use offset {offset} for the wheel to check',
    fieldInRim: 'width of the wheel you know',
    fieldInOffset: 'offset of the wheel you know',
    fieldInIn: 'clearance',
    fieldOutRim: 'width of the wheel to check',
    fieldOutOffset: 'offset of the wheel to check',
    tyre: 'New tyre size',
    refTyre: 'Current tyre size',
    tyreHint: 'As on the sidewall: "225/45R17 91W". The load index (91) and the speed symbol (W) serve the load check.',
    tyreError: 'The {which} cannot be read. Enter it as width/aspect ratio R rim, for example 225/45R17 91W',
    bulgeEstimated: 'estimated {value}',
    made: 'Vehicle made',
    from2007: 'in 2007 or later',
    before2007: 'before 2007',
    axle: 'Axle load (shaken certificate)',
    axleHint: 'The front or rear axle load of the certificate (前前軸重 or 後後軸重), for the axle whose tyres change.',
    tyreHeading: 'Tyre',
    measuringRim: 'Measuring rim',
    sectionWidth: 'Section width on this rim',
    bulgeResult: 'Sidewall beyond the rim flange',
    estimated: 'estimated',
    measured: 'measured',
    outermost: 'Outermost part',
    outermostTyre: 'the tyre',
    outermostRim: 'the wheel (rim)',
    estimateNote: 'The estimate is the standard\'s calculation: the section width excludes lettering and rim guards, and makers\' tyres of one size differ by a few mm. When you can measure, type the measurement into the tyre bulge box.',
    speedometer: 'Speedometer',
    speedOk: 'At a shown 40 km/h the true speed is {speed} (diameter {change}): within {slowest} to {fastest}',
    speedNg: 'At a shown 40 km/h the true speed is {speed} (diameter {change}): outside {slowest} to {fastest}',
    speedMissing: 'Enter the current and the new tyre size for a verdict',
    speedNote: 'Speedometers usually read a little high, so a smaller tyre is rarely the problem; a larger one is.',
    load: 'Load capacity',
    loadOkAxle: '{capacity}: at least half the axle load ({required})',
    loadNgAxle: '{capacity}: less than half the axle load ({required})',
    loadOkCurrent: '{capacity}: at least the current tyre\'s ({current}); the inspection compares it with the axle load of the certificate',
    loadLower: '{capacity}: less than the current tyre\'s ({current}); enter the axle load for a verdict',
    loadNoIndex: 'Enter the new tyre\'s load index for a verdict (for example 225/45R17 91W)',
    loadNoAxle: 'Enter the axle load or the current tyre\'s load index for a verdict',
    loadXl: 'An XL (extra load) tyre\'s index holds at its higher reference pressure; at the car\'s placard pressure it carries less, so check the maker\'s load table.',
    shakenOk: 'Shaken: protrusion, speedometer and load all pass',
    shakenNg: 'Shaken: fails ({parts})',
    shakenIncomplete: 'Shaken: for a verdict, enter {parts}',
    partProtrusion: 'protrusion',
    partSpeedometer: 'speedometer',
    partLoad: 'load',
    needProtrusion: 'the wheels\' values',
    needSpeedometer: 'both tyre sizes',
    needLoad: 'the axle load or a load index',
    innerClear: 'Inner clearance',
    innerHint: 'The gap from the current tyre\'s inner sidewall to the nearest part of the suspension (strut, spring seat, knuckle), at the tightest point, wheels straight. Left empty, the inner side is not judged.',
    innerSide: 'Inner side',
    innerOk: '{gap} left to the suspension',
    innerNg: 'gap to the suspension {gap}: it touches',
    innerSameTyre: ' (no current tyre size: its sidewall taken as the new tyre\'s)',
    fitsHeading: 'What fits',
    fitsWidth: 'Rim width',
    fitsFlush: 'Flush offset',
    fitsRange: 'Offsets that pass',
    fitsAction: 'Use',
    fitsBetween: '{min} to {max}',
    fitsFrom: '{min} or more',
    fitsNone: 'none',
    fitsUseLabel: 'Use {width}J at offset {offset}',
    fitsCaption: 'For each rim width, the whole offsets within the protrusion rule (with that width\'s estimated sidewall and the spacer) and, with an inner clearance, clear of the suspension. The speedometer and the load do not depend on the width: {speedometer}, {load}.',
    captionSpeed: 'the speedometer {verdict}',
    captionLoad: 'the load {verdict}',
    captionOk: 'passes',
    captionNg: 'fails',
    captionUnknown: 'is not judged yet',
    listSeparator: ', ',
  },
};

/**
 * `sentence` with each {name} replaced by values[name].
 * @param {string} sentence
 * @param {Record<string, string>} values
 */
export function fill(sentence, values) {
  return sentence.replace(/\{(\w+)\}/g, (whole, name) => values[name] ?? whole);
}

/**
 * A length from the core ("7.7 ﾐﾘ") as a sentence in `language` says it.
 * @param {string} text
 * @param {Language} language
 */
export function length(text, language) {
  return language === 'en' ? text.replace(/ ﾐﾘ$/, ' mm') : text;
}

/**
 * The language to start in, as language.js chose it before the page was
 * drawn.
 * @returns {Language}
 */
export function startLanguage() {
  return document.documentElement.lang === 'en' ? 'en' : 'ja';
}

/** Keeps a language chosen with the switch for the next visit (language.js). @param {Language} language */
export function rememberLanguage(language) {
  document.dispatchEvent(new CustomEvent('rimbeacon-language', { detail: language }));
}

/**
 * Puts the words of `language` into the page: element texts (data-text),
 * accessible names (data-label) and the switch's own label.
 * @param {Language} language
 */
export function applyLanguage(language) {
  const words = TEXTS[language];
  document.documentElement.lang = language;
  for (const element of document.querySelectorAll('[data-text]')) {
    const key = element.getAttribute('data-text') || '';
    if (key in words) element.textContent = words[key];
  }
  for (const element of document.querySelectorAll('[data-label]')) {
    const key = element.getAttribute('data-label') || '';
    if (key in words) element.setAttribute('aria-label', words[key]);
  }
  delete document.documentElement.dataset.words;
  const other = language === 'ja' ? 'en' : 'ja';
  const toggle = document.getElementById('language');
  if (toggle) {
    toggle.textContent = words.switchTo;
    toggle.setAttribute('lang', other);
  }
}
