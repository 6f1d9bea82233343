#include "controls/action.h"

#include "controls/platform.h"
#include "store/error.h"

namespace platform {

bool runAction(QWidget* parent, const std::function<Checked<>()>& action,
               const std::function<void()>& restore)
{
    QString message;
    try {
        const Checked<> done = action();
        if (done)
            return true;
        message = done.message();
    } catch (const store::StoreError& e) {
        message = e.text();
    }
    if (restore) {
        try {
            restore();
        } catch (const store::StoreError&) {
            // What cannot be read now stays as it is shown.
        }
    }
    showMessage(parent, message);
    return false;
}

} // namespace platform
