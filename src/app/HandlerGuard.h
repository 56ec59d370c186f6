#pragma once
// The boundary between Qt's event loop and a command: an error that ends the
// command is shown in an error box and goes no further.
#include "core/Errors.h"
#include "platform/Dialogs.h"

#include <exception>
#include <utility>

namespace orv
{

template <typename F> void runGuarded(F&& handler) noexcept
{
    try {
        std::forward<F>(handler)();
    } catch (const std::exception& e) {
        try {
            Dialogs::current().errorInFull(e.what(), FullErrorText(e));
        } catch (...) {
        }
    } catch (...) {
        try {
            Dialogs::current().error("Unknown error");
        } catch (...) {
        }
    }
}

} // namespace orv
