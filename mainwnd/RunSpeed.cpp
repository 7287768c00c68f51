#include "RunSpeed.h"

namespace RunSpeed {

QString GroupThousands(long long value) {
    const bool negative = value < 0;
    // Through unsigned, so that the most negative value has a magnitude too.
    unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                            : static_cast<unsigned long long>(value);
    QString digits;
    int count = 0;
    do {
        if (count > 0 && count % 3 == 0) {
            digits.prepend(QLatin1Char(','));
        }
        digits.prepend(QLatin1Char(static_cast<char>('0' + magnitude % 10)));
        magnitude /= 10;
        ++count;
    } while (magnitude != 0);
    return negative ? QLatin1Char('-') + digits : digits;
}

QString Title(const char* title, int speed, long long ticks) {
    const QString plain = QString::fromUtf8(title);
    if (speed <= NORMAL || speed >= COUNT) {
        return plain;
    }
    return plain + QStringLiteral(" — ") + QString::fromUtf8(LABELS[speed]) +
           QStringLiteral(" — ") + GroupThousands(ticks) +
           (ticks == 1 ? QStringLiteral(" tick") : QStringLiteral(" ticks"));
}

}  // namespace RunSpeed
