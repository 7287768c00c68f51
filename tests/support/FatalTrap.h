#pragma once

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "FailureSeam.h"
#include "FatalError.h"

// What reached the fatal error routine; the trap's handler throws it instead of exiting.
struct FatalReport : std::runtime_error {
    FatalReport(const std::string& text, int code) : std::runtime_error(text), code(code) {}
    int code;
};

// While it lives, a fatal error throws a FatalReport instead of ending the process, and the
// failure seam starts and ends disarmed, so that no arming outlives the test that made it.
// The handler it replaced is put back when it goes.
class FatalTrap {
public:
    FatalTrap() {
        FailureSeam::Disarm();
        m_previous = SetFatalHandler(
            [](const std::string& text, int code) { throw FatalReport(text, code); });
    }
    ~FatalTrap() {
        FailureSeam::Disarm();
        SetFatalHandler(std::move(m_previous));
    }
    FatalTrap(const FatalTrap&) = delete;
    FatalTrap& operator=(const FatalTrap&) = delete;

private:
    FatalHandler m_previous;
};

// With a trap in place: runs `action` and checks that it ends in the fatal error routine
// with the message `text` and the exit code `code`.
template <class Action>
void ExpectFatal(Action&& action, const char* text, int code) {
    try {
        action();
        ADD_FAILURE() << "no fatal error";
    } catch (const FatalReport& report) {
        EXPECT_STREQ(report.what(), text);
        EXPECT_EQ(report.code, code);
    }
}
