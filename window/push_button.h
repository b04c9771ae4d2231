#pragma once

#include <QPushButton>

namespace window {

// A push button that Enter and Return press when it has the keyboard focus,
// as Space does, which is what users of other desktops expect. It never
// becomes a default button, so Enter in a text box presses nothing. What a
// press does is left to whoever listens to clicked().
class PushButton : public QPushButton {
    Q_OBJECT

public:
    PushButton(const QString& caption, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace window
