#include "tools/curve.h"

#include <algorithm>
#include <cmath>

#include "tools/draw_ops.h"

namespace tools {

namespace {
constexpr int kLastControl = 4;
}

CurveState::Click CurveState::AddClick(ImagePoint p, int zoom) {
    const ImagePoint v{p.x * zoom, p.y * zoom};
    if (count > 3) {
        count = 0;
        drawn = false;
        active = true;
    }
    switch (count) {
    case 0:
        points[0] = points[1] = v;
        count = 1;
        active = true;
        return Click::kStarted;
    case 1:
    case 2:
        points[size_t(count)] = points[size_t(count) + 1] = v;
        ++count;
        return Click::kAdded;
    default:
        points[3] = points[4] = v;
        count = 4;
        return Click::kFinished;
    }
}

void CurveState::MoveRubber(ImagePoint p, int zoom) {
    if (!active || count < 0 || count >= kPoints) return;
    points[size_t(count)] = {p.x * zoom, p.y * zoom};
}

std::vector<ImagePoint> CurveState::Polygon() const {
    const int n = std::clamp(count, 0, 4) + 1;
    return {points.begin(), points.begin() + n};
}

bool CurveState::TakeForDrawing() {
    if (!active || drawn || count != 4) return false;
    drawn = true;
    return true;
}

void CurveControl::Set(int i, int vx, int vy, int zoom) {
    if (i < 0 || i > kLastControl || zoom <= 0) return;
    x[size_t(i)] = double(vx / zoom);
    y[size_t(i)] = double(vy / zoom);
    if (i >= 3) {
        x[kLastControl] = x[size_t(i)];
        y[kLastControl] = y[size_t(i)];
    }
    if (i == 2) {
        const double x1 = x[1], x2 = x[2], y1 = y[1], y2 = y[2];
        x[1] = (3 * x1 + x2) / 4;
        x[2] = (x1 + 3 * x2) / 4;
        y[1] = (3 * y1 + y2) / 4;
        y[2] = (y1 + 3 * y2) / 4;
    }
}

CurveControl ControlOf(const CurveState& curve, int zoom) {
    CurveControl control;
    for (int i = 0; i < 4; ++i) control.Set(i, curve.points[size_t(i)].x, curve.points[size_t(i)].y, zoom);
    return control;
}

double BSplineKernel(double t) {
    const double a = std::fabs(t);
    if (a < 1) return (3 * a * a * a - 6 * a * a + 4) / 6;
    if (a < 2) return (2 - a) * (2 - a) * (2 - a) / 6;
    return 0;
}

ImagePoint CurvePointAt(const CurveControl& c, double t) {
    double x = 0, y = 0;
    for (int k = -2; k <= 6; ++k) {
        const double w = BSplineKernel(t - k);
        const size_t i = size_t(std::clamp(k, 0, kLastControl));
        x += w * c.x[i];
        y += w * c.y[i];
    }
    // Truncated toward zero, but the weights' rounding (a sum of 0.99999..
    // of a control value) must not cost a pixel.
    constexpr double kNoise = 1e-9;
    return {int(x + (x < 0 ? -kNoise : kNoise)), int(y + (y < 0 ? -kNoise : kNoise))};
}

std::vector<ImagePoint> CurveSamples(const CurveControl& control) {
    std::vector<ImagePoint> samples;
    const double step = (kLastControl + 1) * 0.01;
    for (double t = -1.0; t <= 5.0; t += step) samples.push_back(CurvePointAt(control, t));
    return samples;
}

void DrawCurve(const DrawTarget& target, const PenStamp& stamp, const std::vector<ImagePoint>& samples) {
    for (size_t i = 0; i < samples.size(); ++i) {
        if (i == 0)
            StampPen(target, stamp, samples[0].x, samples[0].y, false);
        else
            StampPenLine(target, stamp, samples[i - 1].x, samples[i - 1].y, samples[i].x, samples[i].y, false);
    }
}

DibRect CurveBounds(const CurveState& curve, int zoom) {
    if (zoom <= 0) zoom = 1;
    DibRect r{curve.points[0].x / zoom, curve.points[0].y / zoom, curve.points[0].x / zoom,
              curve.points[0].y / zoom};
    for (int i = 1; i <= 4; ++i) {
        const int x = curve.points[size_t(i)].x / zoom, y = curve.points[size_t(i)].y / zoom;
        r.left = std::min(r.left, x);
        r.top = std::min(r.top, y);
        r.right = std::max(r.right, x);
        r.bottom = std::max(r.bottom, y);
    }
    return r;
}

PaletteEntry CurvePreviewColor(const PaletteEntry* palette, int entries) {
    auto held = [&](const PaletteEntry& c) {
        for (int i = 0; i < entries; ++i)
            if (palette[i].blue == c.blue && palette[i].green == c.green && palette[i].red == c.red) return true;
        return false;
    };
    for (int channel = 0; channel < 3; ++channel) {
        for (int v = 248; v >= 0; v -= 8) {
            PaletteEntry c{255, 255, 255, 0};
            (channel == 0 ? c.blue : channel == 1 ? c.green : c.red) = uint8_t(v);
            if (!palette || !held(c)) return c;
        }
    }
    return kCurvePreviewFallback;
}

}  // namespace tools
