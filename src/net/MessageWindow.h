#pragma once
// The hidden message window of a socket or a client: a QObject that receives
// posted messages (a number and two parameters) and hands them to its owner
// on the user-interface thread, from the event loop.
//
// No exception may cross the Qt event loop, so an error thrown by the owner's
// handler is kept by the innermost active DeferredErrors scope (a synchronous
// request waiting in a nested loop), which rethrows it once its wait ends.
// Without a scope the error is shown through the Dialogs seam.
#include <QObject>

#include <cstdint>
#include <exception>
#include <functional>

namespace orv
{

constexpr int WM_USER = 1024;

class MessageWindow : public QObject
{
public:
    using Handler = std::function<void(int msg, uintptr_t wParam, intptr_t lParam)>;

    explicit MessageWindow(Handler handler);

    // Queues a message; it is handled from the event loop, never inside the
    // call. `tag` travels with the message so that the owner can tell a
    // message meant for an earlier connection (file handles are reused).
    void PostMessage(int msg, uintptr_t wParam, intptr_t lParam, uint64_t tag = 0);
    // The tag of the message being handled.
    uint64_t CurrentTag() const { return currentTag_; }

protected:
    bool event(QEvent* e) override;

private:
    Handler handler_;
    uint64_t currentTag_ = 0;
};

// Collects an error raised by a message handler while a synchronous call
// waits. Scopes nest; the innermost one receives the error.
class DeferredErrors
{
public:
    DeferredErrors();
    ~DeferredErrors();
    DeferredErrors(const DeferredErrors&) = delete;
    DeferredErrors& operator=(const DeferredErrors&) = delete;

    bool HasError() const { return static_cast<bool>(error_); }
    // Rethrows the kept error, if any, and forgets it.
    void RethrowIfAny();

    // Called by message handlers with the exception being handled.
    static void Keep(std::exception_ptr error);

private:
    std::exception_ptr error_;
    DeferredErrors* outer_;
};

} // namespace orv
