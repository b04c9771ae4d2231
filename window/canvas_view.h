#pragma once

#include <QFrame>
#include <QImage>

namespace window {

// The picture box: shows the glyph canvas's image inside a 2-pixel sunken
// border. It only displays; drawing on the canvas is the sampler's business.
class CanvasView : public QFrame {
    Q_OBJECT

public:
    CanvasView(const QImage& image, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage& m_image;
};

} // namespace window
