#include <gtest/gtest.h>

#include <set>

#include <QImage>

#include "framework/resource_pictures.h"

namespace {

QImage imageAt(const QPixmap& strip, int i) {
    return strip.toImage().convertToFormat(QImage::Format_ARGB32).copy(i * 16, 0, 16, 15);
}

bool blank(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y))) return false;
    return true;
}

// Every picture of a strip that stands for a command is drawn and differs
// from every other one.
TEST(Pictures, StripsHoldDistinctPictures) {
    struct Case {
        const char* name;
        QPixmap strip;
        int count;
        std::set<int> spare;  // images no button shows
    } cases[] = {
        {"toolbar", pictures::ToolbarStrip(), pictures::kToolbarImages, {6, 7, 8}},
        {"tool palette", pictures::ToolPaletteStrip(), pictures::kToolPaletteImages, {21, 22, 23}},
        {"link palette", pictures::LinkPaletteStrip(), pictures::kLinkPaletteImages, {}},
        {"tone bar", pictures::ToneBarStrip(), pictures::kToneImages, {}},
        {"selection modes", pictures::SelectModeStrip(), pictures::kSelectModeImages, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.strip.size(), QSize(16 * c.count, 15));
        std::vector<QImage> seen;
        for (int i = 0; i < c.count; ++i) {
            if (c.spare.count(i)) continue;
            QImage image = imageAt(c.strip, i);
            EXPECT_FALSE(blank(image)) << "image " << i;
            for (size_t j = 0; j < seen.size(); ++j) EXPECT_NE(image, seen[j]) << "image " << i;
            seen.push_back(image);
        }
    }
}

TEST(Pictures, CursorsAreDistinctAndDrawn) {
    std::vector<QImage> seen;
    for (int i = 0; i < pictures::kProgramCursorCount; ++i) {
        int id = pictures::ProgramCursorIds()[i];
        QImage image = pictures::ProgramCursorImage(id);
        EXPECT_FALSE(blank(image)) << id;
        for (const QImage& other : seen) EXPECT_NE(image, other) << id;
        seen.push_back(image);
        EXPECT_NE(pictures::ProgramCursor(id).shape(), Qt::ArrowCursor);
    }
    EXPECT_EQ(pictures::ProgramCursor(117).shape(), Qt::ArrowCursor);
    EXPECT_FALSE(pictures::ProgramIcon().isNull());
}

}  // namespace
