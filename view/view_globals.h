// Program-wide state of the canvas views: the pending fit of a child frame,
// the counter of untitled documents, the first paint of any view, the path
// of the focused document, the selection tool's outline mode and the
// document the tool windows last followed.
#pragma once

#include <functional>

#include <QString>

class CPelmarkDoc;

namespace view {

// 0 none, 1 fit the frame after the next resize, 2 fit at the next paint
// even when maximised.
int& PendingFitFlag();

// The number of the next untitled document ("NewFile1", "NewFile2", ...);
// each call takes one.
int TakeUntitledNumber();

// Runs `hook` once, after the first paint of any view (the filter menu is
// built there). A hook set after that first paint runs after the next paint.
// The hook is queued to the event loop, never run inside the paint: it may
// show message boxes, and a modal loop inside a paint event ends the painter
// under the view.
void SetFirstPaintHook(std::function<void()> hook);
void RunFirstPaintHook();

// The path of the document whose view has the keyboard focus.
QString& FocusedDocumentPath();

// The selection tool's outline: 0 rectangle, 1 ellipse, 2 freehand,
// 3 polygon.
enum SelectionMode { kSelectRect = 0, kSelectEllipse = 1, kSelectFreehand = 2, kSelectPolygon = 3 };
int& SelectionModeIndex();

// The document the layer palette and the other tool windows show (compared,
// never dereferenced).
const CPelmarkDoc*& FollowedDocument();

}  // namespace view
