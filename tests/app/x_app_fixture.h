// The editor under a real X server with a window manager (x_session.h): the
// application fixture, started without the splash, with helpers to make
// documents and to wait for the window manager's view of the windows.
#pragma once

#include <QPoint>

#include "app_fixture.h"
#include "x_session.h"

class CPelmarkView;
class QWidget;

namespace apptest {

class XAppTest : public AppTest {
protected:
    void SetUp() override;
    // Starts the editor (no splash: "-e") and waits until its main window is
    // shown and active.
    void StartEditor();
    // File New of a w x h 256-colour image; its view.
    CPelmarkView* NewImage(int width = 16, int height = 16);
    // Brings `window` to the front and waits until it is the active window.
    bool Activate(QWidget* window);
    // A real click of the left button at `global` screen coordinates.
    static bool ClickAt(const QPoint& global);
    // Whether the window manager stacks `top` above `below`.
    static bool StackedAbove(QWidget* top, QWidget* below);
};

}  // namespace apptest
