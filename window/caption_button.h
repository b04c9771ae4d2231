#pragma once

#include "window/push_button.h"

#include <QFont>
#include <QList>
#include <QRectF>

class QPaintDevice;

namespace window {

// A push button whose caption wraps onto further lines, breaking between
// any two characters as Chinese text does, when it is wider than the
// button. The generate buttons' long captions fit their fixed sizes that
// way: the lines are set as close as the face allows, and only when they
// still do not fit is the face made smaller, so the whole caption always
// shows. text() stays the caption exactly as given.
class CaptionButton : public PushButton {
    Q_OBJECT

public:
    CaptionButton(const QString& caption, QWidget* parent);

    // A caption set inside an area: the face used, and for each line its
    // text, where its baseline starts, and the box its ink covers.
    struct Lines {
        QFont font;
        QList<QString> texts;
        QList<QPointF> origins;
        QList<QRectF> ink;
    };
    // How the caption is set in the area, measured on device.
    static Lines layOut(const QString& caption, const QFont& font, const QRectF& area, QPaintDevice* device);
    // The area inside the button's frame that the caption may take.
    QRectF captionArea() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace window
