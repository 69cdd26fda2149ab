#include "web/wasm/rimbeacon_api.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "core/fitment.h"
#include "core/fits.h"
#include "core/integer_step.h"
#include "core/number_text.h"
#include "core/protrusion.h"
#include "core/tyre.h"
#include "core/width_step.h"
#include "diagram/diagram_geometry.h"
#include "web/wasm/json_writer.h"

namespace {

// The largest result: a refresh's numbers, outlines, tyres and table take
// about 3.5 KB, and the one text of the user's that it echoes, the target
// offset of up to 255 bytes, at most six times that once escaped.
constexpr std::size_t kResultSize = 16384;

constexpr char kPassenger[] = "passenger";
constexpr char kBefore2007[] = "before2007";

char Inputs[kSlotCount][kFieldSize];
char Result[kResultSize];

// The text of a slot, NUL-terminated whatever the page wrote.
const char* Input(int slot) {
    Inputs[slot][kFieldSize - 1] = '\0';
    return Inputs[slot];
}

void CopyInput(int slot, char (&field)[kFieldSize]) {
    std::memcpy(field, Input(slot), kFieldSize);
}

WheelFields InputFields() {
    WheelFields fields;
    CopyInput(kSlotInRim, fields.InRim);
    CopyInput(kSlotInOffset, fields.InOffset);
    CopyInput(kSlotInIn, fields.InIn);
    CopyInput(kSlotOutRim, fields.OutRim);
    CopyInput(kSlotOutOffset, fields.OutOffset);
    return fields;
}

const char* VerdictName(Verdict verdict) {
    switch (verdict) {
    case Verdict::WheelOut: return "wheel-out";
    case Verdict::TyreOut: return "tyre-out";
    case Verdict::TyreTolerated: return "tyre-tolerated";
    case Verdict::Ok: return "ok";
    case Verdict::None: break;
    }
    return "";
}

// A double's bits as 16 hex digits, so that both builds can be compared bit
// for bit.
void WriteBits(JsonWriter& json, double value) {
    static const char kHex[] = "0123456789abcdef";
    constexpr int kDigits = 16;
    constexpr int kBitsPerDigit = 4;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    char text[kDigits + 1];
    for (int k = kDigits - 1; k >= 0; --k) {
        text[k] = kHex[bits & 0xF];
        bits >>= kBitsPerDigit;
    }
    text[kDigits] = '\0';
    json.String(text);
}

void WriteLength(JsonWriter& json, double mm) {
    char text[kDifferenceUtf8Size];
    FormatDifferenceUtf8(mm, text);
    json.String(text);
}

void WriteText(JsonWriter& json, std::size_t (*format)(double, char (&)[kTyreTextSize]), double value) {
    char text[kTyreTextSize];
    format(value, text);
    json.String(text);
}

const char* OutcomeName(Outcome outcome, const char* missing) {
    switch (outcome) {
    case Outcome::Pass: return "ok";
    case Outcome::Fail: return "ng";
    case Outcome::Missing: break;
    }
    return missing;
}

void WritePoint(JsonWriter& json, int x, int y) {
    json.BeginArray();
    json.Int(x);
    json.Int(y);
    json.EndArray();
}

void WriteColour(JsonWriter& json, const char* name, const Rgb& colour) {
    json.Key(name);
    json.BeginArray();
    json.Int(colour.Red);
    json.Int(colour.Green);
    json.Int(colour.Blue);
    json.EndArray();
}

void WriteFace(JsonWriter& json, const char* name, const SidewallFace& face) {
    json.Key(name);
    json.BeginArray();
    for (const Point& point : {face.From, face.Control, face.To}) WritePoint(json, point.X, point.Y);
    json.EndArray();
}

void WriteWheel(JsonWriter& json, const char* name, const WheelColumns& wheel, bool hasTyre, const TyreFaces& tyre) {
    json.Key(name);
    json.BeginObject();
    json.Key("tyre");
    if (hasTyre) {
        json.BeginObject();
        WriteFace(json, "outer", tyre.Outer);
        WriteFace(json, "inner", tyre.Inner);
        json.EndObject();
    } else {
        json.Null();
    }
    json.Key("inner");
    json.Int(wheel.Inner);
    json.Key("outer");
    json.Int(wheel.Outer);
    json.Key("outline");
    json.BeginArray();
    for (const Point& point : OutlineOf(wheel.Inner, wheel.Outer).Points) WritePoint(json, point.X, point.Y);
    json.EndArray();
    json.EndObject();
}

void WriteValidity(JsonWriter& json, const WheelFields& fields) {
    const Validity validity = EvaluateValidity(fields);
    json.Key("valid");
    json.BeginObject();
    json.Key("reference");
    json.Bool(validity.RefValid != 0);
    json.Key("target");
    json.Bool(validity.OutValid != 0);
    json.Key("storable");
    json.Bool(validity.InputsStorable);
    json.Key("fields");
    json.BeginArray();
    for (const char* field : {fields.InRim, fields.InOffset, fields.InIn, fields.OutRim, fields.OutOffset}) {
        json.Bool(IsFieldValid(field) != 0);
    }
    json.EndArray();
    json.EndObject();
}

void WriteAnswer(JsonWriter& json, const OffsetAnswer& answer) {
    char text[num::kFixedBufferSize];
    FormatAnswer(answer, text);
    json.String(text);
}

void WriteCheck(JsonWriter& json, const TargetCheck& check) {
    json.Key("check");
    json.BeginObject();
    json.Key("verdict");
    json.String(VerdictName(check.Check.Result));
    json.Key("judged");
    json.Bool(check.Judged);
    json.Key("wheel");
    WriteLength(json, check.Check.Wheel);
    json.Key("tyre");
    WriteLength(json, check.Check.Tyre);
    json.Key("margin");
    WriteLength(json, check.Check.Margin);
    json.Key("effective");
    if (check.HasSpacer) {
        WriteLength(json, check.EffectiveOffset);
    } else {
        json.String("");
    }
    json.Key("answers");
    json.BeginArray();
    WriteAnswer(json, check.Inside);
    WriteAnswer(json, check.WithinRule);
    json.EndArray();
    json.EndObject();
}

// What the tyre sizes tell, for the tyres on the rims of the fields.
struct Tyres {
    TyreSize Next;
    TyreSize Current;
    double NextRimMm;
    double CurrentRimMm;
    Bulge UsedBulge;
    Speedometer Speed;
    SpeedRange Limits;
    Load LoadCheck;
};

void WriteTyre(JsonWriter& json, const char* name, const TyreSize& size, double rimMm) {
    json.Key(name);
    if (!size.Valid) {
        json.Null();
        return;
    }
    json.BeginObject();
    json.Key("measuringRim");
    WriteText(json, FormatRimInches, MeasuringRimInches(size));
    json.Key("section");
    WriteLength(json, SectionWidthMm(size, rimMm));
    json.Key("diameter");
    WriteLength(json, OuterDiameterMm(size));
    json.Key("reinforced");
    json.Bool(size.Reinforced);
    json.EndObject();
}

void WriteCapacity(JsonWriter& json, const char* name, int kg) {
    json.Key(name);
    if (kg > 0) {
        WriteText(json, FormatKg, kg);
    } else {
        json.String("");
    }
}

void WriteTyres(JsonWriter& json, const Tyres& tyres, const Inspection& inspection) {
    json.Key("tyres");
    json.BeginObject();
    WriteTyre(json, "target", tyres.Next, tyres.NextRimMm);
    WriteTyre(json, "reference", tyres.Current, tyres.CurrentRimMm);
    json.Key("bulge");
    json.BeginObject();
    json.Key("value");
    WriteLength(json, tyres.UsedBulge.Mm);
    json.Key("estimated");
    json.Bool(tyres.UsedBulge.Estimated);
    json.Key("outermost");
    json.String(TyreIsOutermost(tyres.UsedBulge) ? "tyre" : "rim");
    json.EndObject();
    json.Key("speedometer");
    json.BeginObject();
    json.Key("verdict");
    json.String(OutcomeName(tyres.Speed.Result, ""));
    json.Key("speedAt40");
    WriteText(json, FormatSpeed, tyres.Speed.TrueSpeed);
    json.Key("change");
    WriteText(json, FormatPercentChange, tyres.Speed.ChangePercent);
    json.Key("slowest");
    WriteText(json, FormatSpeed, tyres.Limits.Slowest);
    json.Key("fastest");
    WriteText(json, FormatSpeed, tyres.Limits.Fastest);
    json.EndObject();
    json.Key("load");
    json.BeginObject();
    json.Key("verdict");
    json.String(OutcomeName(tyres.LoadCheck.Result, "unknown"));
    WriteCapacity(json, "capacity", tyres.LoadCheck.Capacity);
    WriteCapacity(json, "current", tyres.LoadCheck.CurrentCapacity);
    json.Key("withAxle");
    json.Bool(tyres.LoadCheck.WithAxle);
    json.Key("required");
    WriteText(json, FormatKg, tyres.LoadCheck.Required);
    json.EndObject();
    json.Key("shaken");
    json.BeginObject();
    json.Key("verdict");
    json.String(OutcomeName(inspection.Result, "incomplete"));
    json.Key("protrusion");
    json.String(OutcomeName(inspection.Protrusion, "incomplete"));
    json.Key("speedometer");
    json.String(OutcomeName(inspection.Speed, "incomplete"));
    json.Key("load");
    json.String(OutcomeName(inspection.LoadResult, "incomplete"));
    json.EndObject();
    json.EndObject();
}

void WriteInner(JsonWriter& json, const InnerGap& inner) {
    json.Key("inner");
    json.BeginObject();
    json.Key("given");
    json.Bool(inner.Given);
    json.Key("gap");
    WriteLength(json, inner.Gap);
    json.Key("verdict");
    json.String(OutcomeName(inner.Result, ""));
    json.Key("currentKnown");
    json.Bool(inner.CurrentKnown);
    json.EndObject();
}

void WriteFits(JsonWriter& json, const FitTable& table) {
    json.Key("fits");
    json.BeginObject();
    json.Key("shown");
    json.Bool(table.Shown);
    json.Key("rows");
    json.BeginArray();
    for (int k = 0; table.Shown && k < kFitRows; ++k) {
        const FitRow& row = table.Rows[k];
        json.BeginObject();
        json.Key("width");
        json.String(row.WidthText);
        json.Key("flush");
        json.String(row.FlushOffset);
        json.Key("min");
        WriteAnswer(json, row.Min);
        json.Key("max");
        WriteAnswer(json, row.Max);
        json.Key("fits");
        json.Bool(row.Fits);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

Tyres InputTyres(const WheelFields& fields) {
    Tyres tyres{};
    tyres.Next = ParseTyreSize(Input(kSlotTyre));
    tyres.Current = ParseTyreSize(Input(kSlotRefTyre));
    tyres.NextRimMm = WidthToMm(fields.OutRim);
    tyres.CurrentRimMm = WidthToMm(fields.InRim);
    tyres.UsedBulge = BulgeFor(Input(kSlotBulge), tyres.Next, tyres.NextRimMm);
    const Made made = std::strcmp(Input(kSlotMade), kBefore2007) == 0 ? Made::Before2007 : Made::From2007;
    tyres.Speed = CheckSpeedometer(tyres.Current, tyres.Next, made);
    tyres.Limits = SpeedometerLimits(made);
    tyres.LoadCheck = CheckLoad(tyres.Current, tyres.Next, num::atof(Input(kSlotAxle)));
    return tyres;
}

}  // namespace

RB_EXPORT char* rb_input(int slot) {
    return slot >= 0 && slot < kSlotCount ? Inputs[slot] : nullptr;
}

RB_EXPORT const char* rb_refresh() {
    WheelFields fields = InputFields();
    FitResult fit{};
    ComputeOffset(fields, Input(kSlotOverride), fit);
    const double spacer = num::atof(Input(kSlotSpacer));
    const Vehicle vehicle = std::strcmp(Input(kSlotVehicle), kPassenger) == 0 ? Vehicle::Passenger : Vehicle::Other;
    const double target = EffectiveTargetOffset(fields, spacer);
    const DiagramWheels wheels = WheelsFor(fields, fit, target);
    const Differences differences = FitDifferencesWithSpacer(fields, fit, spacer);
    const Tyres tyres = InputTyres(fields);
    const TargetCheck check = CheckTarget(fields, fit, spacer, tyres.UsedBulge.Mm, vehicle);
    const TyreFaces currentFaces = ReferenceTyre(num::atof(fields.InIn), tyres.CurrentRimMm,
                                                 SidewallBeyondRimMm(tyres.Current, tyres.CurrentRimMm));
    const TyreFaces nextFaces = TargetTyre(target, fit.OptimalOffset, tyres.NextRimMm, tyres.UsedBulge.Mm);

    JsonWriter json(Result, sizeof Result);
    json.BeginObject();
    WriteValidity(json, fields);
    json.Key("targetOffset");
    json.String(fields.OutOffset);
    json.Key("optimalOffset");
    WriteBits(json, fit.OptimalOffset);
    WriteWheel(json, "reference", wheels.Reference, tyres.Current.Valid, currentFaces);
    WriteWheel(json, "target", wheels.Target, tyres.Next.Valid, nextFaces);
    json.Key("differences");
    json.BeginArray();
    for (double value : {differences.Inner, differences.Outer, differences.Fender}) WriteLength(json, value);
    json.EndArray();
    WriteCheck(json, check);
    WriteTyres(json, tyres, Inspect(check, tyres.Speed, tyres.LoadCheck));
    WriteInner(json, CheckInnerGap(fields, fit, spacer, Input(kSlotInnerClear), tyres.UsedBulge, tyres.Current));
    WriteFits(json, WhatFits(fields, spacer, Input(kSlotInnerClear), tyres.Next, tyres.Current, vehicle));
    json.EndObject();
    return json.Text();
}

RB_EXPORT const char* rb_step(int slot, int delta, int position) {
    if (slot < kSlotInRim || slot > kSlotOutOffset) return "null";
    char field[kFieldSize];
    std::memcpy(field, Input(slot), kFieldSize);
    IntegerStep step{true, 0};
    if (slot == kSlotInRim || slot == kSlotOutRim) {
        char stepped[kStepTextSize];
        StepWidthText(field, delta, stepped);
        static_assert(kStepTextSize <= kFieldSize, "a stepped width fits its field");
        std::memcpy(field, stepped, kStepTextSize);
    } else {
        step = StepIntegerText(field, delta, position);
    }
    JsonWriter json(Result, sizeof Result);
    json.BeginObject();
    json.Key("text");
    json.String(field);
    json.Key("wrote");
    json.Bool(step.Wrote);
    json.Key("position");
    json.Int(step.Position);
    json.EndObject();
    return json.Text();
}

RB_EXPORT const char* rb_read(int slot) {
    if (slot < 0 || slot >= kSlotCount) return "null";
    JsonWriter json(Result, sizeof Result);
    json.BeginObject();
    json.Key("number");
    WriteBits(json, num::atof(Input(slot)));
    json.Key("valid");
    json.Bool(IsFieldValid(Input(slot)) != 0);
    json.EndObject();
    return json.Text();
}

RB_EXPORT const char* rb_geometry() {
    JsonWriter json(Result, sizeof Result);
    json.BeginObject();
    json.Key("picture");
    json.BeginObject();
    json.Key("width");
    json.Int(kPictureWidth);
    json.Key("height");
    json.Int(kPictureHeight);
    json.EndObject();
    json.Key("fender");
    json.BeginObject();
    json.Key("x");
    json.Int(kFenderX);
    json.Key("top");
    json.Int(kFenderTop);
    json.Key("bottom");
    json.Int(kFenderBottom);
    json.Key("dotRun");
    json.Int(kFenderDotRun);
    json.EndObject();
    json.Key("underline");
    json.BeginObject();
    json.Key("left");
    json.Int(kUnderlineLeft);
    json.Key("right");
    json.Int(kUnderlineRight);
    json.Key("y");
    json.Int(kUnderlineY);
    json.EndObject();
    json.Key("strokes");
    json.BeginArray();
    for (const Point& offset : kStrokeOffsets) WritePoint(json, offset.X, offset.Y);
    json.EndArray();
    json.Key("texts");
    json.BeginObject();
    json.Key("cell");
    json.Int(kTextCellHeight);
    json.Key("positions");
    json.BeginArray();
    for (const Point& at : kTextPositions) WritePoint(json, at.X, at.Y);
    json.EndArray();
    json.EndObject();
    json.Key("palette");
    json.BeginObject();
    WriteColour(json, "link", kLinkColour);
    WriteColour(json, "heading", kHeadingColour);
    WriteColour(json, "fenderInk", kFenderInkColour);
    WriteColour(json, "fenderGap", kFenderGapColour);
    WriteColour(json, "reference", kReferenceColour);
    WriteColour(json, "target", kTargetColour);
    WriteColour(json, "text", kTextColour);
    json.EndObject();
    json.EndObject();
    return json.Text();
}
