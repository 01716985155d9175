#include "view/pelmark_view.h"

#include "document/pelmark_doc.h"

CPelmarkView::CPelmarkView(QWidget* parent) : framework::View(parent) {}
CPelmarkView::~CPelmarkView() = default;

CPelmarkDoc* CPelmarkView::GetDocument() const {
    return dynamic_cast<CPelmarkDoc*>(framework::View::GetDocument());
}
