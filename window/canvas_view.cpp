#include "window/canvas_view.h"

#include <QPainter>

namespace window {

CanvasView::CanvasView(const QImage& image, QWidget* parent)
    : QFrame(parent)
    , m_image(image)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
}

void CanvasView::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.drawImage(contentsRect().topLeft(), m_image);
}

} // namespace window
