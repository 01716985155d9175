#include "view/guide_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace guide {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Radians per degree as the angle edit turns the line.
constexpr double kRadiansPerDegree = 0.017453292519444445;
// Slack for the rounding of directions that are whole degrees.
constexpr double kDegreeSlack = 1e-9;

ScreenPoint Offset(ScreenPoint start, int length, double radians) {
    const double r = ClampLength(length) + 0.5;
    return {start.x + int(std::trunc(r * std::cos(radians))), start.y + int(std::trunc(r * std::sin(radians)))};
}

}  // namespace

int ClampLength(int length) { return std::clamp(length, 0, kMaxLength); }

int RadialAngle(int angle) {
    if (angle < 0) return 0;
    return angle > 120 ? 180 : angle;
}

int ShownDirection(ScreenPoint start, ScreenPoint end) {
    const double dx = double(end.x) - start.x;
    const double up = double(start.y) - end.y;
    double degrees = std::atan2(up, dx) * 180.0 / kPi;
    if (up >= 0) {
        const int d = int(std::ceil(degrees - kDegreeSlack));
        return d <= 0 ? 360 : d;
    }
    const int d = int(std::floor(degrees + 360.0 + kDegreeSlack));
    return d >= 360 ? 359 : d;
}

int RoundedDistance(ScreenPoint start, ScreenPoint end) {
    const double d = std::hypot(double(end.x) - start.x, double(end.y) - start.y);
    return int(std::min(std::lround(d), long(INT32_MAX)));
}

ScreenPoint EndForLength(ScreenPoint start, ScreenPoint end, int length) {
    return Offset(start, length, std::atan2(double(end.y) - start.y, double(end.x) - start.x));
}

ScreenPoint EndForAngle(ScreenPoint start, int length, int angle) {
    const int a = std::max(angle, 0);
    return Offset(start, length, (360 - a % 360) * kRadiansPerDegree);
}

int RayCount(int angle) {
    const int h = (angle <= 0 || angle > 360) ? 360 : angle;
    return 360 / h;
}

ScreenPoint RayOffset(int i, int n, int zoom) {
    const double r = double(std::clamp(zoom, 1, kMaxRayZoom)) * kRayUnit;
    const double theta = kPi / 2 + i * (2 * kPi / std::max(n, 1));
    return {int(r * std::sin(theta)), int(r * std::cos(theta))};
}

GuideSettings FromStoredValues(const GuideSettings& base, const std::vector<int>& values) {
    GuideSettings s = base;
    if (values.size() < 7) return s;
    for (size_t i = 0; i < 4; ++i) s.color[i] = std::clamp(values[i], 0, 255);
    s.mode = (values[4] == 0 || values[4] == 1) ? values[4] : 0;
    s.length = ClampLength(values[5]);
    s.angle = s.mode == 1 ? RadialAngle(values[6]) : values[6];
    return s;
}

uint32_t PenColor(const GuideSettings& s) {
    auto c = [](int v) { return uint32_t(std::clamp(v, 0, 255)); };
    return 0xff000000u | c(s.color[0]) << 16 | c(s.color[1]) << 8 | c(s.color[2]);
}

}  // namespace guide
