#pragma once

#include <functional>

namespace window {

class FailureView;

// The one guard every action of the window runs under, the sketch actions'
// and the board actions' alike: it runs the action, words any failure with
// ErrorMessage (a number and Traditional Chinese) and shows it in one
// message box, then repaints the picture box. The window and its texts stay
// as they were; the action decides nothing about how a failure reads.
class ActionGuard {
public:
    explicit ActionGuard(FailureView& view);

    void run(const std::function<void()>& action);

private:
    FailureView& m_view;
};

} // namespace window
