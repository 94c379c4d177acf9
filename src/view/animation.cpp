// The animation and mouse-drag state of the view and the steps that change it.
#include "animation.h"

#include "rotation.h"

namespace kesmora {

AnimationControls animationControls(const AnimationState& state) {
    return {state.running(), state.timerInterval};
}

AnimationControls toggleAnimation(AnimationState& state) {
    if (state.running()) return stopAnimation(state);
    state.timerInterval = kTimerIntervalMs;
    // Starting a figure that would stand still looks like a broken button, so it gets a slow spin.
    if (state.stepXY == 0.0 && state.stepYZ == 0.0 && state.stepXZ == 0.0) state.stepXZ = kDefaultStep;
    return animationControls(state);
}

AnimationControls stopAnimation(AnimationState& state) {
    state.timerInterval = 0;
    return animationControls(state);
}

bool setSpeed(AnimationState& state, SpeedEdit edit, int value, bool readyFlag) {
    const double step = value * kStepPerSpinUnit;
    switch (edit) {
    case SpeedEdit::XY:
        state.stepXY = step;
        break;
    case SpeedEdit::YZ:
        state.stepYZ = step;
        break;
    case SpeedEdit::XZ:
        state.stepXZ = step;
        break;
    }
    return readyFlag;
}

void animationTick(const AnimationState& state, SolidModel& model) {
    rechnen(model, state.stepXY, state.stepYZ, state.stepXZ);
}

bool beginDrag(AnimationState& state, MouseButton button, int x, int y) {
    if (button != MouseButton::Left) return false;
    state.dragging = true;
    state.lastX = x;
    state.lastY = y;
    return true;
}

bool dragTo(AnimationState& state, SolidModel& model, int x, int y) {
    if (!state.dragging || (x == state.lastX && y == state.lastY)) return false;
    // One pixel is one degree; the difference is taken in double so extreme positions cannot overflow.
    rechnen(model, static_cast<double>(state.lastX) - x, static_cast<double>(state.lastY) - y, 0.0);
    state.lastX = x;
    state.lastY = y;
    return true;
}

void endDrag(AnimationState& state) {
    state.dragging = false;
    state.lastX = 0;
    state.lastY = 0;
}

} // namespace kesmora
