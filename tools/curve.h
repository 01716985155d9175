// The line tool's four-point curve: four clicks kept in view pixels (image
// point x zoom), turned into five control values with the inner pair pulled
// together and the end doubled, and drawn as a uniform cubic B-spline
// sampled every 0.05 from -1 to 5.
#pragma once

#include <array>
#include <vector>

#include "imaging/dib_layout.h"
#include "tools/draw_rects.h"
#include "tools/draw_target.h"

namespace tools {

// The curve being built, as the document keeps it between clicks.
struct CurveState {
    static constexpr int kPoints = 10;
    std::array<ImagePoint, kPoints> points{};  // view pixels; 0..4 used
    int count = 0;        // clicks so far, 0..4
    bool active = false;  // a curve is being built
    bool drawn = false;   // the finished curve has been written

    // What a click did.
    enum class Click {
        kStarted,   // first point: the undo step opens here
        kAdded,     // second or third point
        kFinished,  // fourth point: the curve is to be written now
    };
    // Adds a click at image point `p` (kept x `zoom`). A click after the
    // fourth starts a new curve.
    Click AddClick(ImagePoint p, int zoom);
    // True when the next click opens a new curve (and a new undo step).
    bool StartsNew() const { return count == 0 || count > 3; }
    // The rubber point follows the pointer while the curve is active.
    void MoveRubber(ImagePoint p, int zoom);
    // The control polygon's vertices (count + 1 of them) in view pixels.
    std::vector<ImagePoint> Polygon() const;
    // Marks the curve drawn; false when it is not ready or already drawn.
    bool TakeForDrawing();
};

// The five control values in image pixels.
struct CurveControl {
    std::array<double, 5> x{};
    std::array<double, 5> y{};
    // Control value i from view point (vx, vy): for i >= 3 value 4 follows
    // it; at i = 2 the inner values 1 and 2 are pulled together.
    void Set(int i, int vx, int vy, int zoom);
};
CurveControl ControlOf(const CurveState& curve, int zoom);

// The uniform cubic B-spline weight of t.
double BSplineKernel(double t);
// The curve's point at t, truncated toward zero.
ImagePoint CurvePointAt(const CurveControl& control, double t);
// The samples, first to last: t = -1.0, stepping 0.05 while t <= 5.0.
std::vector<ImagePoint> CurveSamples(const CurveControl& control);

// Stamps the first sample and joins every later one to the one before.
void DrawCurve(const DrawTarget& target, const PenStamp& stamp, const std::vector<ImagePoint>& samples);

// The bounding rectangle of the five control points in image pixels
// (right and bottom inclusive, as the dirty rectangle helpers take it).
DibRect CurveBounds(const CurveState& curve, int zoom);

// A colour for the finished curve's outline that no entry of `palette`
// (first `entries`) holds: one channel steps down from 248 by 8 while the
// other two stay at 255, blue first, then green, then red. When every
// candidate is taken, kCurvePreviewFallback.
inline constexpr PaletteEntry kCurvePreviewFallback{255, 0, 255, 0};  // blue, green, red
PaletteEntry CurvePreviewColor(const PaletteEntry* palette, int entries);

}  // namespace tools
