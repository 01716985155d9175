// The HTML area text of an image map: for each finished polygon, rectangle
// and circle (point regions give none), in table order, an `area` element
// over five CR LF-ended lines:
//
//   <area
//     shape=rect
//     coords="10,20,50,60"
//     alt="HTML"
//     href="a.html">
//
// A polygon lists its vertices without the closing copy, a rectangle its two
// corners, a circle its centre and radius. The URL (the placeholder text when
// empty) is escaped for an attribute value.
#pragma once

#include <string>
#include <string_view>

#include "imagemap/image_map.h"

namespace imagemap {

std::string BuildAreaHtml(const RegionTable& table);
// '&', '<', '>' and '"' as character references.
std::string EscapeAttribute(std::string_view text);

}  // namespace imagemap
