// The test build's hooks into the engine, bound beside the page's own calls only when the site
// is built for the browser test (QUORVEL_WEB_TEST_HOOKS): the shipped site has none of them.

#include <emscripten/bind.h>

#include "FailureSeam.h"

EMSCRIPTEN_BINDINGS(quorvel_test_hooks) {
    // The drawing's failure seam, for tests of the page's fatal path: the next creation of a
    // brush fails.
    emscripten::function(
        "failNextBrush", +[] { FailureSeam::Arm(ResourceStep::CreateBrush); });
}
