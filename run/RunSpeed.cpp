#include "RunSpeed.h"

#include <algorithm>

namespace RunSpeed {

std::string GroupThousands(long long value) {
    const bool negative = value < 0;
    // Through unsigned, so that the most negative value has a magnitude too.
    unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                            : static_cast<unsigned long long>(value);
    std::string digits;  // least significant first
    int count = 0;
    do {
        if (count > 0 && count % 3 == 0) {
            digits.push_back(',');
        }
        digits.push_back(static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
        ++count;
    } while (magnitude != 0);
    if (negative) {
        digits.push_back('-');
    }
    std::reverse(digits.begin(), digits.end());
    return digits;
}

std::string Title(const char* title, int speed, long long ticks) {
    std::string text(title);
    if (speed <= NORMAL || speed >= COUNT) {
        return text;
    }
    return text + " — " + LABELS[speed] + " — " + GroupThousands(ticks) +
           (ticks == 1 ? " tick" : " ticks");
}

}  // namespace RunSpeed
