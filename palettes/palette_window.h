// A floating tool window of the editor: a top-level tool window owned by the
// main frame, shown without taking the activation, hidden (not destroyed) by
// its close box, and placed at the position its settings key keeps.
//
// An owned window is a child of the main frame, so disabling the frame
// disables it too; a window made with `Ownership::Transient` only stays above
// the frame and keeps its own enabled state (the owner deletes it).
#pragma once

#include <vector>

#include <QString>
#include <QWidget>

class PaletteWindow : public QWidget {
    Q_OBJECT
public:
    enum class Ownership { Child, Transient };
    // `positionKey` empty: the window keeps no position.
    PaletteWindow(QWidget* owner, const QString& title, const QString& positionKey,
                  Ownership ownership = Ownership::Child);
    ~PaletteWindow() override;

    const QString& PositionKey() const { return positionKey_; }
    // Moves the window to `fallback`, or to the stored position when its key
    // holds exactly PositionCount() numbers (then ApplyPosition runs).
    void PlaceAt(const QPoint& fallback);
    // Writes the window's position (clamped to the screen) to its key; the
    // destructor does it too.
    void SavePosition();

protected:
    // How many numbers the position key holds (2: left, top).
    virtual int PositionCount() const { return 2; }
    // The stored numbers; the default moves the window to the first two.
    virtual void ApplyPosition(const std::vector<int>& numbers);
    // The numbers written back; the default: left and top of `rect`.
    virtual std::vector<int> PositionNumbers(const QRect& rect) const;
    // The close box hides the window.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* transientOwner_ = nullptr;
    QString positionKey_;
    bool saved_ = false;
};
