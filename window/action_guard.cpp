#include "window/action_guard.h"

#include "generation/sketch_error.h"
#include "window/error_message.h"
#include "window/failure_view.h"

#include <QString>

#include <exception>
#include <new>

namespace window {

ActionGuard::ActionGuard(FailureView& view)
    : m_view(view)
{
}

void ActionGuard::run(const std::function<void()>& action)
{
    QString failure;
    try {
        action();
    } catch (const generation::SketchError& error) {
        failure = ErrorMessage::forError(error);
    } catch (const std::bad_alloc&) {
        failure = ErrorMessage::outOfMemory();
    } catch (const std::exception& error) {
        // Anything else is still reported rather than ending the tool.
        failure = ErrorMessage::internal(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        failure = ErrorMessage::internal(QString());
    }
    m_view.showCanvas();
    if (!failure.isEmpty()) {
        m_view.showError(failure);
    }
}

} // namespace window
