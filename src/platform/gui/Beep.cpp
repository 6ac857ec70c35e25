#include "platform/gui/Beep.h"

#include <QApplication>

#include <utility>

namespace {
std::function<void()>& Hook()
{
    static std::function<void()> hook;
    return hook;
}
} // namespace

void Beep()
{
    if (Hook())
        Hook()();
    else
        QApplication::beep();
}

std::function<void()> SetBeepHook(std::function<void()> hook)
{
    return std::exchange(Hook(), std::move(hook));
}
