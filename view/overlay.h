// Outlines shown over the canvas (rubber bands, selection and region
// outlines) as shapes that the view inverts into its back buffer at every
// paint. Drawing a shape toggles it: the same shape drawn again is taken out,
// exactly as inverting it a second time would restore the screen.
//
// Shape coordinates are zoomed-image pixels with the centring offsets added
// (the view's logical coordinates); the scroll position is subtracted when
// they are rendered.
#pragma once

#include <vector>

#include "imaging/dib_layout.h"
#include "view/canvas_raster.h"

namespace view {

struct OverlayShape {
    enum Kind {
        Polyline,  // open polyline of `points`, each segment without its end
        Ellipse,   // ellipse inside `rect`
        Frame,     // four one-pixel strips of `rect`
        Block,     // the whole of `rect`
    };
    Kind kind = Polyline;
    std::vector<ScreenPoint> points;
    DibRect rect{};

    bool operator==(const OverlayShape& other) const;
};

// Inverts one shape with its logical coordinates moved by `offset`.
void RenderOverlayShape(const PixelBuffer& buffer, const OverlayShape& shape, ScreenPoint offset,
                        const DibRect& clip);

class OverlayList {
public:
    // Shows the shape, or takes it out when the same shape is shown.
    void Toggle(OverlayShape shape);
    void Clear() { shapes_.clear(); }
    bool empty() const { return shapes_.empty(); }
    size_t size() const { return shapes_.size(); }
    const std::vector<OverlayShape>& Shapes() const { return shapes_; }
    void Render(const PixelBuffer& buffer, ScreenPoint offset, const DibRect& clip) const;
    // The logical rectangle that holds the shape (right and bottom exclusive).
    static DibRect Bounds(const OverlayShape& shape);

private:
    std::vector<OverlayShape> shapes_;
};

}  // namespace view
