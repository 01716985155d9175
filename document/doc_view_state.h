// What the canvas views keep in their document: the values the position
// palette reads (scroll position times the zoom, window size, zoom), the
// client rectangle at the last fit and whether the window was fitted once,
// which selection outline the views show, and the name an untitled document
// was given.
#pragma once

#include <cstdint>

#include <QString>

#include "imaging/dib_layout.h"

namespace document {

struct DocViewState {
    int32_t scrollX = 0;  // scroll position x times the zoom
    int32_t scrollY = 0;
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
    int32_t zoom = 1;
    int32_t zoom2 = 1;
    DibRect clientRect{};
    bool fitted = false;
    // The selection tools show the mask outline instead of their own
    // (a closed lasso, a paste), of the second mask with `secondOutline`.
    bool maskOutline = false;
    bool secondOutline = false;
    // "NewFile<n>" once a view named the untitled document.
    bool hasUntitledName = false;
    QString untitledName;
};

// The position palette's twenty values for one document, kept while another
// document is shown: the thumbnail's client rectangle, the canvas rectangle
// (origin and size in screen pixels), the view rectangle in the thumbnail,
// the drag's start point and the rectangle's origin then, the window's left
// and top, and the size the palette was last fitted to.
struct PosPaletteState {
    bool kept = false;
    DibRect thumbnail{};
    DibRect canvas{0, 0, 1, 1};
    DibRect viewRect{};
    int32_t dragX = 0;
    int32_t dragY = 0;
    int32_t dragLeft = 0;
    int32_t dragTop = 0;
    int32_t windowLeft = 0;
    int32_t windowTop = 0;
    int32_t fitWidth = 0;
    int32_t fitHeight = 0;
};

}  // namespace document
