#include "tools/pen_stamps.h"

#include <algorithm>

namespace tools {

namespace {

constexpr PenRun kPen601[] = {{0, -1, 1}, {-1, 0, 3}, {0, 1, 1}};
constexpr PenRun kPen602[] = {{-1, -2, 3}, {-2, -1, 5}, {-2, 0, 5}, {-2, 1, 5}, {-1, 2, 3}};
constexpr PenRun kPen603[] = {{-1, -3, 3}, {-2, -2, 5}, {-3, -1, 7}, {-3, 0, 7},
                              {-3, 1, 7},  {-2, 2, 5},  {-1, 3, 3}};
constexpr PenRun kPen604[] = {{-2, -6, 5},  {-4, -5, 9},  {-5, -4, 11}, {-5, -3, 11}, {-6, -2, 13},
                              {-6, -1, 13}, {-6, 0, 13},  {-6, 1, 13},  {-6, 2, 13},  {-5, 3, 11},
                              {-5, 4, 11},  {-4, 5, 9},   {-2, 6, 5}};
constexpr PenRun kPen605[] = {{-2, -7, 5},  {-4, -6, 9},  {-5, -5, 11}, {-6, -4, 13}, {-6, -3, 13},
                              {-7, -2, 15}, {-7, -1, 15}, {-7, 0, 15},  {-7, 1, 15},  {-7, 2, 15},
                              {-6, 3, 13},  {-6, 4, 13},  {-5, 5, 11},  {-4, 6, 9},   {-2, 7, 5}};

PenStamp SingleStamp() { return PenStamp{}; }

// A square or round custom stamp of `size`, or a single pixel for size 1.
PenStamp SizedStamp(const CustomPenTable& pens, int shapeIndex, int size, int penId) {
    if (size <= 1) return SingleStamp();
    return CustomStamp(pens, shapeIndex, size, penId);
}

}  // namespace

std::span<const PenRun> PenRuns(int penId) {
    switch (penId) {
    case 601: return kPen601;
    case 602: return kPen602;
    case 603: return kPen603;
    case 604: return kPen604;
    case 605: return kPen605;
    default: return {};
    }
}

int PenRepaintMargin(int penId) {
    switch (penId) {
    case 601: return 2;
    case 602: return 3;
    case 603:
    case 606:
    case 607:
    case 608: return 4;
    case 604: return 7;
    case 605: return 8;
    default: return 0;
    }
}

CustomPenTable& CustomPens() {
    static CustomPenTable pens = kDefaultCustomPens;
    return pens;
}

PenStamp CustomStamp(const CustomPenTable& pens, int index, int size, int penId) {
    PenStamp stamp;
    const CustomPen& pen = pens[size_t(std::clamp(index, 0, 2))];
    stamp.kind = pen.shape ? StampKind::Box : StampKind::Ellipse;
    stamp.penId = penId;
    stamp.size = size;
    return stamp;
}

PenStamp ChooseStamp(const StampContext& c, const CustomPenTable& pens) {
    if (c.borderLine) return SizedStamp(pens, 0, c.borderWidth, kPenCustomFirst);
    switch (c.toolId) {
    case kToolLine:
        if (c.lineOverride) {
            if (c.overrideWidth <= 1 && c.overrideHeight <= 1) return SingleStamp();
            PenStamp stamp;
            stamp.kind = StampKind::Turned;
            stamp.penId = kPenCustomFirst;
            stamp.width = c.overrideWidth;
            stamp.height = c.overrideHeight;
            stamp.angle = c.overrideAngle;
            return stamp;
        }
        return SizedStamp(pens, 0, c.lineWidth, kPenCustomFirst);
    case kToolRectOutline:
    case kToolEllipseOutline:
        return SizedStamp(pens, 0, c.outlineWidth, kPenCustomFirst);
    case kToolFilledRect:
    case kToolFilledEllipse:
        return SingleStamp();
    default:
        break;
    }
    int pen = c.docPenId;
    if (pen >= kPenRunsFirst && pen <= kPenRunsLast) {
        PenStamp stamp;
        stamp.kind = StampKind::Runs;
        stamp.penId = pen;
        return stamp;
    }
    if (pen >= kPenCustomFirst && pen <= kPenCustomLast) {
        int index = pen - kPenCustomFirst;
        PenStamp stamp = SizedStamp(pens, index, pens[size_t(index)].size, pen);
        stamp.repaintBox = c.toolId == kToolPen && stamp.kind != StampKind::Single;
        return stamp;
    }
    return SingleStamp();
}

StampBox CustomStampBox(int x, int y, int size) {
    int before = size / 2 + size % 2, after = size / 2;
    return {x - before, y - before, x + after, y + after};
}

int LinePenIdForWidth(int width) {
    if (width <= 1) return 600;
    if (width == 2) return 601;
    if (width <= 4) return 602;
    if (width <= 6) return 603;
    if (width <= 12) return 604;
    return 605;
}

}  // namespace tools
