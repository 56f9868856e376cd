#include "ui/guibase/MouseDownManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/guibase/ClickCounter.h"

namespace {

using platform::Point;

// Records the hooks called, by short names.
class RecordingManager : public TMouseDownManager {
public:
    std::vector<std::string> calls;

    void MouseClickLeftDouble(Point) override { calls.push_back("ClickLD"); }
    void MouseClickLeftSingle(Point) override { calls.push_back("ClickLS"); }
    void MouseClickRightDouble(Point) override { calls.push_back("ClickRD"); }
    void MouseClickRightSingle(Point) override { calls.push_back("ClickRS"); }
    void MouseDownLeft(Point) override { calls.push_back("DownL"); }
    void MouseDownRight(Point) override { calls.push_back("DownR"); }
    void MouseDragBeginLeft(Point, Point) override { calls.push_back("BeginL"); }
    void MouseDragBeginRight(Point, Point) override { calls.push_back("BeginR"); }
    void MouseDragEndLeft(Point, Point) override { calls.push_back("EndL"); }
    void MouseDragEndRight(Point, Point) override { calls.push_back("EndR"); }
    void MouseDraggingLeft(Point, Point) override { calls.push_back("DraggingL"); }
    void MouseDraggingRight(Point, Point) override { calls.push_back("DraggingR"); }
    void MouseUpLeft(Point) override { calls.push_back("UpL"); }
    void MouseUpRight(Point) override { calls.push_back("UpR"); }
};

// One step of a gesture: a press (buttons, clicks), a move or a release at x (y 0).
struct Step {
    char kind;  // 'd' down, 'm' move, 'u' up
    float x;
    int32_t buttons = 0;
    int32_t clicks = 0;
};

struct GestureCase {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> calls;
};

// clang-format off
const GestureCase kGestures[] = {
    {"single click", {{'d', 0, 1, 1}, {'u', 0}}, {"DownL", "ClickLS", "UpL"}},
    {"right click", {{'d', 0, 2, 1}, {'u', 0}}, {"DownR", "ClickRS", "UpR"}},
    {"double click", {{'d', 0, 1, 1}, {'u', 0}, {'d', 0, 1, 2}, {'u', 0}}, {"DownL", "ClickLS", "UpL", "ClickLD"}},
    {"right double click", {{'d', 0, 2, 1}, {'u', 0}, {'d', 0, 2, 2}, {'u', 0}}, {"DownR", "ClickRS", "UpR", "ClickRD"}},
    {"third and fourth clicks",
     {{'d', 0, 1, 3}, {'u', 0}, {'d', 0, 1, 4}, {'u', 0}},
     {"DownL", "ClickLS", "UpL"}},
    {"4 px is no drag", {{'d', 10, 1, 1}, {'m', 14}, {'u', 14}}, {"DownL", "ClickLS", "UpL"}},
    {"4.5 px starts a drag",
     {{'d', 10, 1, 1}, {'m', 14.5f}, {'m', 20}, {'u', 20}},
     {"DownL", "BeginL", "DraggingL", "DraggingL", "EndL", "UpL"}},
    {"right drag", {{'d', 0, 2, 1}, {'m', 9}, {'u', 9}}, {"DownR", "BeginR", "DraggingR", "EndR", "UpR"}},
    {"drag from a second click has no up",
     {{'d', 0, 1, 1}, {'u', 0}, {'d', 0, 1, 2}, {'m', 30}, {'u', 30}},
     {"DownL", "ClickLS", "UpL", "BeginL", "DraggingL", "EndL"}},
    {"both buttons call nothing", {{'d', 0, 3, 1}, {'m', 30}, {'u', 30}}, {}},
    {"moves and releases without a press", {{'m', 30}, {'u', 30}}, {}},
    {"a new press restarts", {{'d', 0, 1, 1}, {'m', 30}, {'d', 50, 1, 1}, {'u', 50}},
     {"DownL", "BeginL", "DraggingL", "DownL", "ClickLS", "UpL"}},
};
// clang-format on

TEST(MouseDownManager, GesturesCallTheirHooksInOrder)
{
    for (const GestureCase& gesture : kGestures) {
        RecordingManager manager;
        for (const Step& step : gesture.steps) {
            Point at{step.x, 0};
            if (step.kind == 'd') manager.ManageMouseDown(at, step.buttons, step.clicks);
            if (step.kind == 'm') manager.ManageMouseMoved(at);
            if (step.kind == 'u') manager.ManageMouseUp(at);
        }
        EXPECT_EQ(manager.calls, gesture.calls) << gesture.name;
    }
}

struct PressCase {
    const char* name;
    int32_t buttons;
    Point point;
    int64_t timeMs;
    int32_t clicks;
};

// Interval 400 ms, distance 4 px; the presses follow each other in one counter.
const PressCase kPresses[] = {
    {"first", 1, {10, 10}, 1000, 1},      {"within the interval", 1, {12, 13}, 1400, 2},
    {"third", 1, {12, 13}, 1500, 3},      {"too late", 1, {12, 13}, 1901, 1},
    {"too far", 1, {17, 13}, 2000, 1},    {"other button", 2, {17, 13}, 2100, 1},
    {"same again", 2, {17, 13}, 2200, 2},
};

TEST(ClickCounter, CountsPressesOfOneSeries)
{
    TClickCounter counter(400, 4);
    for (const PressCase& press : kPresses)
        EXPECT_EQ(counter.Press(press.buttons, press.point, press.timeMs), press.clicks) << press.name;
}

}  // namespace
