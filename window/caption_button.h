#pragma once

#include <QPushButton>

namespace window {

// A push button whose caption wraps onto further lines, breaking between
// any two characters as Chinese text does, when it is wider than the
// button. The generate buttons' long captions fit their fixed sizes that
// way; text() stays the caption exactly as given. It never acts as a
// default button.
class CaptionButton : public QPushButton {
    Q_OBJECT

public:
    CaptionButton(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace window
