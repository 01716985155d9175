// The canvas view: shows one document's image.
#pragma once

#include "framework/view.h"

class CPelmarkDoc;

class CPelmarkView : public framework::View {
    Q_OBJECT
public:
    explicit CPelmarkView(QWidget* parent = nullptr);
    ~CPelmarkView() override;

    CPelmarkDoc* GetDocument() const;
};
