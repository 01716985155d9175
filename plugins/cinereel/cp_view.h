// The preview's view: the non-empty frames of the sheet in order, each
// placed inside the largest by the base position and zoomed, stepped by
// timer 1 at each frame's delay.
#pragma once

#include <vector>

#include <QAbstractScrollArea>
#include <QImage>

#include "framework/window_handle.h"
#include "framework/window_timer.h"
#include "plugins/cinereel/preview_play.h"

class CaSheet;

// The renderer: an offscreen indexed surface of the image's size (at most
// 1024 each way), or, when that cannot be had, the tile path that builds a
// block of the largest frame's size at each paint.
class CpDirectDraw {
public:
    // Makes the surface for an image of that size; false (tile path) when it
    // cannot be made.
    bool Init(int imageWidth, int imageHeight);
    void Release();
    bool Ready() const { return m_bReady; }
    QImage& Surface() { return m_Surface; }

    // Only for tests and diagnosis: KAVOLT_PREVIEW_TILES=1 keeps the surface
    // from being made.
    static bool SurfaceRefused();

    int m_nFrameHeight = 0, m_nFrameWidth = 0;
    int m_nSurfaceWidth = 0, m_nSurfaceHeight = 0;

private:
    QImage m_Surface;
    bool m_bReady = false;
};

class CpView : public QAbstractScrollArea, public framework::MessageWindow, public framework::TimerOwner {
    Q_OBJECT
public:
    explicit CpView(QWidget* parent);

    void SetSheet(CaSheet* sheet);
    CaSheet* Sheet() const { return m_pSheet; }
    // The play order from the sheet; the scroll size follows the largest frame.
    void Recount();
    int Count() const { return int(m_Order.frames.size()); }
    int PlayMode() const { return m_nPlayMode; }
    int Position() const { return m_nPos; }
    void InitRenderer();

    // Kills timer 1, sets the play mode and steps at the next tick.
    void StartMode(int mode);
    // Draws the current frame and moves on by the play mode.
    void Step();
    // Position plus `delta` (modulo the count), shown at once.
    void StepBy(int delta);
    // The frame, when it is in the play order, becomes the current one.
    void SelectFrame(int index);
    void ResetToStart();
    void StopTimer();

    QSize ScrollSize() const;
    QPoint Origin() const;

protected:
    WinResult OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) override;
    void OnTimer(int id) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void updateScrollBars();
    void setTimer1(int ms);
    void publish();
    void show(int position);

    CaSheet* m_pSheet = nullptr;
    CpDirectDraw m_DirectDraw;
    int m_nPlayMode = 0;
    int m_nPos = 0;
    int m_nShown = 0;
    cinereel::PlayOrder m_Order;
    int m_nZoom = 1;
    int m_nTimerMs = -1;
};
