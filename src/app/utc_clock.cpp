#include "utc_clock.h"

#include <QTimeZone>

namespace vantrel {

QString UtcClockText(const QDateTime& localNow, int utcBiasMinutes) {
    // The wall-clock fields are shifted as plain numbers, so no daylight-saving gap interferes.
    const QDateTime utc =
        QDateTime(localNow.date(), localNow.time(), QTimeZone::utc()).addSecs(qint64{utcBiasMinutes} * 60);
    return utc.toString(QStringLiteral("dd/MM HH:mm"));
}

} // namespace vantrel
