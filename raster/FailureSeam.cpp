#include "FailureSeam.h"

namespace {

struct Arming {
    bool armed = false;
    ResourceStep step = ResourceStep::CreateBitmap;
    int remaining = 0;
};

Arming& State() {
    static Arming state;
    return state;
}

}  // namespace

namespace FailureSeam {

void Arm(ResourceStep step, int occurrence) {
    State() = Arming{true, step, occurrence};
}

void Disarm() {
    State() = Arming{};
}

bool Pass(ResourceStep step) {
    Arming& state = State();
    if (!state.armed || state.step != step) {
        return true;
    }
    if (--state.remaining > 0) {
        return true;
    }
    state.armed = false;
    return false;
}

}  // namespace FailureSeam
