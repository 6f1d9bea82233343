#pragma once

#include "diary/rules/checked.h"

#include <functional>
#include <type_traits>

class QWidget;

// The one catch point of a user action: a click, a key, a drop, a change of
// a field. Whatever ends the action early (a failure of the table layer, a
// refusal the action returns) is shown to the user in a message box with
// its text as it stands, and no error crosses the event loop.
namespace platform {

// Runs `action`, which returns a refusal (Checked<>) or nothing. When a
// table operation fails (store::StoreError) or the action is refused,
// `restore` (where given) first shows again what the tables hold, so that
// no field keeps a value that was not stored, and then the message over
// `parent` says why. True when the action ran to its end.
bool runAction(QWidget* parent, const std::function<Checked<>()>& action,
               const std::function<void()>& restore = {});

template <typename Action>
requires std::is_void_v<std::invoke_result_t<Action&>>
bool runAction(QWidget* parent, Action&& action, const std::function<void()>& restore = {})
{
    return runAction(
        parent,
        [&action]() -> Checked<> {
            action();
            return Passed{};
        },
        restore);
}

} // namespace platform
