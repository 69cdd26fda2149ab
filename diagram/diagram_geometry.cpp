#include "diagram/diagram_geometry.h"

#include <cstdint>

#include "core/number_text.h"

namespace {

bool Overflows(int innerX, int outerX) {
    return innerX < kOverflowX || outerX < kOverflowX;
}

WheelColumns Columns(int innerX, int outerX) {
    return WheelColumns{innerX, outerX, Overflows(innerX, outerX)};
}

constexpr int kWheelMiddle = (kWheelTop + kWheelBottom) / 2;

SidewallFace Face(int edge, int middle) {
    const int e = ClampColumn(edge);
    const int m = ClampColumn(middle);
    return SidewallFace{{e, kWheelTop}, {2 * m - e, kWheelMiddle}, {e, kWheelBottom}};
}

// The faces of a tyre on a wheel whose outer edge lies insideMm inside the
// fender line.
TyreFaces Faces(double insideMm, double widthMm, double bulgeMm) {
    return TyreFaces{Face(ColumnInsideFender(insideMm), ColumnInsideFender(insideMm - bulgeMm)),
                     Face(ColumnInsideFender(insideMm + widthMm), ColumnInsideFender(insideMm + widthMm + bulgeMm))};
}

}  // namespace

int ClampColumn(int column) {
    if (column < kColumnFarLeft) return kColumnFarLeft;
    if (column > kColumnFarRight) return kColumnFarRight;
    return column;
}

int ColumnInsideFender(double mm) {
    const std::int32_t pixels = num::TruncateToInt32(mm * kPixelsPerMm);
    const std::int64_t column = std::int64_t{kFenderX} - pixels;
    if (pixels == INT32_MIN || column > INT32_MAX || column < INT32_MIN) return kColumnFarLeft;
    return ClampColumn(static_cast<int>(column));
}

WheelColumns ReferenceColumns(double clearanceMm, double widthMm) {
    return Columns(ColumnInsideFender(clearanceMm + widthMm), ColumnInsideFender(clearanceMm));
}

WheelColumns TargetColumns(double targetOffset, double optimalOffset, double widthMm) {
    return Columns(ColumnInsideFender(targetOffset - optimalOffset + widthMm),
                   ColumnInsideFender(targetOffset - optimalOffset));
}

DiagramWheels WheelsFor(const WheelFields& fields, const FitResult& fit, double targetOffset) {
    return DiagramWheels{ReferenceColumns(num::atof(fields.InIn), WidthToMm(fields.InRim)),
                         TargetColumns(targetOffset, fit.OptimalOffset, WidthToMm(fields.OutRim))};
}

TyreFaces ReferenceTyre(double clearanceMm, double widthMm, double bulgeMm) {
    return Faces(clearanceMm, widthMm, bulgeMm);
}

TyreFaces TargetTyre(double targetOffset, double optimalOffset, double widthMm, double bulgeMm) {
    return Faces(targetOffset - optimalOffset, widthMm, bulgeMm);
}

WheelOutline OutlineOf(int innerX, int outerX) {
    const int i = ClampColumn(innerX);
    const int o = ClampColumn(outerX);
    const int c = kWheelChamfer;
    return WheelOutline{{
        {i + c, kWheelTop},    {o - c, kWheelTop},    {o, kWheelTop + c},
        {o, kWheelBottom - c}, {o - c, kWheelBottom}, {i + c, kWheelBottom},
        {i, kWheelBottom - c}, {i, kWheelTop + c},    {i + c, kWheelTop},
    }};
}
