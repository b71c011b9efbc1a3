#include "FrameTiming.h"

#include <cstdio>

namespace {

double millisecondsBetween(FrameTiming::Clock::time_point from, FrameTiming::Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

}  // namespace

FrameTiming::FrameTiming(QString view)
    : view_(std::move(view)),
      printing_(qEnvironmentVariableIntValue("PLINTHWRIGHT_FRAME_TIMES") == 1)
{
}

void FrameTiming::inputArrived()
{
    if (!input_)
        input_ = Clock::now();
}

void FrameTiming::frameStarted() { started_ = Clock::now(); }

void FrameTiming::frameEnded()
{
    if (!started_)
        return;
    const Clock::time_point end = Clock::now();
    last_.end = end;
    last_.drawMs = millisecondsBetween(*started_, end);
    last_.inputDelayMs.reset();
    if (input_ && *input_ <= *started_)
        last_.inputDelayMs = millisecondsBetween(*input_, end);
    if (last_.inputDelayMs)
        input_.reset();
    started_.reset();
    ++frames_;
    if (!printing_)
        return;
    if (last_.inputDelayMs)
        std::fprintf(stderr, "plinthwright: %s frame %.1f ms, %.1f ms after its input\n",
                     qPrintable(view_), last_.drawMs, *last_.inputDelayMs);
    else
        std::fprintf(stderr, "plinthwright: %s frame %.1f ms\n", qPrintable(view_), last_.drawMs);
}
