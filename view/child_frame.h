// The child frame around one canvas view.
#pragma once

#include "framework/child_frame.h"

class CChildFrame : public framework::ChildFrame {
    Q_OBJECT
public:
    CChildFrame();
    ~CChildFrame() override;
};
