#include "WindowPlacement.h"

#include <algorithm>
#include <optional>

namespace pw {

namespace {

constexpr int gap = 8;
constexpr int startWidth = 720;
constexpr int narrowestWidth = 360;
constexpr int lowestHeight = 400;

// [low, high] when the range is empty keeps to `low`: the area's top or left edge wins.
int clampTo(int value, int low, int high) { return std::max(low, std::min(value, high)); }

// Beside the main window, on the side that starts at `left`, `width` wide.
QRect besideMain(const QRect& main, const QRect& area, int left, int width)
{
    const int height = std::min(std::max(main.height(), lowestHeight), area.height());
    const int top = clampTo(main.top(), area.top(), area.bottom() + 1 - height);
    return {left, top, width, height};
}

// Below or above the main window, on the rows that start at `top`, `height` tall.
QRect overOrUnderMain(const QRect& main, const QRect& area, int top, int height)
{
    const int width = std::min(std::max(main.width(), startWidth), area.width());
    const int left = clampTo(main.left(), area.left(), area.right() + 1 - width);
    return {left, top, width, height};
}

struct Span {
    int start;
    int length;
};

// Along one axis, where the main window spans [first, last]: the plan window after it where
// `roomAfter` holds `least`, else before it where `roomBefore` does; `wanted` long at most.
std::optional<Span> spanBesideMain(int first, int last, int roomAfter, int roomBefore, int least,
                                   int wanted)
{
    if (roomAfter >= least)
        return Span{last + 1 + gap, std::min(wanted, roomAfter)};
    if (roomBefore >= least) {
        const int length = std::min(wanted, roomBefore);
        return Span{first - gap - length, length};
    }
    return std::nullopt;
}

}  // namespace

PlanPlacement planWindowPlacement(const QRect& mainFrame, const QRect& area)
{
    const int roomRight = area.right() - mainFrame.right() - gap;
    const int roomLeft = mainFrame.left() - gap - area.left();
    const int roomBelow = area.bottom() - mainFrame.bottom() - gap;
    const int roomAbove = mainFrame.top() - gap - area.top();
    const int tallest = std::max(mainFrame.height(), lowestHeight);
    if (const std::optional<Span> x = spanBesideMain(mainFrame.left(), mainFrame.right(), roomRight,
                                                     roomLeft, narrowestWidth, startWidth))
        return {besideMain(mainFrame, area, x->start, x->length)};
    if (const std::optional<Span> y = spanBesideMain(mainFrame.top(), mainFrame.bottom(), roomBelow,
                                                     roomAbove, lowestHeight, tallest))
        return {overOrUnderMain(mainFrame, area, y->start, y->length)};
    // The screen holds the two windows neither side by side nor one above the other. Behind
    // the main window at the screen's edge, the plan shows its side where there is most room.
    const int width = std::min(narrowestWidth, area.width());
    const int left = roomRight >= roomLeft ? area.right() + 1 - width : area.left();
    return {besideMain(mainFrame, area, left, width), true};
}

QPoint mainWindowStart(QSize mainFrameSize, const QRect& area)
{
    const int planWidth =
        std::clamp(area.width() - mainFrameSize.width() - gap, narrowestWidth, startWidth);
    const int pairWidth = mainFrameSize.width() + gap + planWidth;
    const int pairHeight = std::max(mainFrameSize.height(), lowestHeight);
    return {area.left() + std::max(0, (area.width() - pairWidth) / 2),
            area.top() + std::max(0, (area.height() - pairHeight) / 2)};
}

QRect keptInside(const QRect& frame, const QRect& area)
{
    const int width = std::min(frame.width(), area.width());
    const int height = std::min(frame.height(), area.height());
    return {clampTo(frame.left(), area.left(), area.right() + 1 - width),
            clampTo(frame.top(), area.top(), area.bottom() + 1 - height), width, height};
}

}  // namespace pw
