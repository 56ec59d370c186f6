#include "net/MessageWindow.h"

#include "platform/Dialogs.h"

#include <QCoreApplication>
#include <QEvent>

#include <utility>

namespace orv
{
namespace
{

const QEvent::Type kMessageEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

struct MessageEvent : QEvent {
    MessageEvent(int m, uintptr_t w, intptr_t l, uint64_t t)
        : QEvent(kMessageEvent)
        , msg(m)
        , wParam(w)
        , lParam(l)
        , tag(t)
    {
    }
    int msg;
    uintptr_t wParam;
    intptr_t lParam;
    uint64_t tag;
};

thread_local DeferredErrors* innermost = nullptr;

} // namespace

MessageWindow::MessageWindow(Handler handler)
    : handler_(std::move(handler))
{
}

void MessageWindow::PostMessage(int msg, uintptr_t wParam, intptr_t lParam, uint64_t tag)
{
    QCoreApplication::postEvent(this, new MessageEvent(msg, wParam, lParam, tag));
}

bool MessageWindow::event(QEvent* e)
{
    if (e->type() != kMessageEvent)
        return QObject::event(e);
    const auto* m = static_cast<MessageEvent*>(e);
    currentTag_ = m->tag;
    try {
        handler_(m->msg, m->wParam, m->lParam);
    } catch (...) {
        DeferredErrors::Keep(std::current_exception());
    }
    return true;
}

DeferredErrors::DeferredErrors()
    : outer_(innermost)
{
    innermost = this;
}

DeferredErrors::~DeferredErrors()
{
    innermost = outer_;
}

void DeferredErrors::RethrowIfAny()
{
    if (error_)
        std::rethrow_exception(std::exchange(error_, nullptr));
}

void DeferredErrors::Keep(std::exception_ptr error)
{
    if (innermost) {
        if (!innermost->error_) // the first error is the cause; later ones follow from it
            innermost->error_ = error;
        return;
    }
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& ex) {
        Dialogs::current().error(ex.what());
    } catch (...) {
        Dialogs::current().error("Unknown error");
    }
}

} // namespace orv
