// The animation and mouse-drag state of the view and the steps that change it. Free of widgets:
// the window maps its timer, button, spin edit and mouse events onto these calls.
#pragma once

#include "geometry/solidmodel.h"

namespace kesmora {

inline constexpr int kTimerIntervalMs = 10; // interval of the running animation timer
inline constexpr double kStepPerSpinUnit = 0.25;
inline constexpr double kDefaultStep = 0.25; // used when the animation starts with all speeds 0

struct AnimationState {
    // Degrees per timer tick in the x-y, y-z and x-z planes (spin edits t3, t4, t5 times 0.25).
    double stepXY = 0.0;
    double stepYZ = 0.0;
    double stepXZ = 0.5;   // t5 starts at 2
    int timerInterval = 0; // 0 = stopped, kTimerIntervalMs = running
    bool dragging = false;
    int lastX = 0;
    int lastY = 0;

    bool running() const { return timerInterval != 0; }
};

// What the window shows after the animation was started or stopped.
struct AnimationControls {
    bool running;      // the start/stop button's caption says what a press does next
    int timerInterval; // for Timer1; 0 stops it
};

AnimationControls animationControls(const AnimationState& state);

// Start/stop (the start/stop button and F2). Starting with all three speeds at 0 turns
// 0.25 degrees per tick in the x-z plane, while the spin edit t5 keeps showing 0. No redraw.
AnimationControls toggleAnimation(AnimationState& state);

// Forced stop, as when another body or category is chosen.
AnimationControls stopAnimation(AnimationState& state);

enum class SpeedEdit {
    XY, // t3 "x-Drehwinkel"
    YZ, // t4 "y-Drehwinkel"
    XZ, // t5 "z-Drehwinkel"
};

// A spin edit changed: its speed becomes value * 0.25 degrees per tick. It turns nothing by
// itself; returns whether the window should redraw (only once the window is ready).
bool setSpeed(AnimationState& state, SpeedEdit edit, int value, bool readyFlag);

// One tick of the running timer: turns the model by the three speeds. The caller redraws.
void animationTick(const AnimationState& state, SolidModel& model);

enum class MouseButton { Left, Right, Middle, Other };

// Mouse press on the drawing area. Only the left button starts a drag; returns true if it did,
// and the window then shows the size-all cursor.
bool beginDrag(AnimationState& state, MouseButton button, int x, int y);

// Mouse move: while dragging and the position changed, turns by (lastX - x) degrees in the x-y
// plane and (lastY - y) in the y-z plane. Returns true if the model turned (the caller redraws).
bool dragTo(AnimationState& state, SolidModel& model, int x, int y);

// Release of any button ends a drag; the window restores the default cursor.
void endDrag(AnimationState& state);

} // namespace kesmora
