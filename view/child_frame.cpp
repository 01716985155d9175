#include "view/child_frame.h"

CChildFrame::CChildFrame() = default;
CChildFrame::~CChildFrame() = default;
