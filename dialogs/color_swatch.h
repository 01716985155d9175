// An owner-painted button that is all one colour (the swatches of the
// colour dialogs), optionally inside a black frame.
#pragma once

#include <QColor>
#include <QPushButton>

class ColorSwatch : public QPushButton {
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget* parent = nullptr, bool framed = false);

    void SetColor(const QColor& color);
    QColor Color() const { return color_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_ = Qt::black;
    bool framed_;
};
