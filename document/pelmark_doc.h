// The image document (being written).
#pragma once

#include "framework/document.h"

class CPelmarkDoc : public framework::Document {
public:
    CPelmarkDoc();
    ~CPelmarkDoc() override;
};
