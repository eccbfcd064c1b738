#pragma once
#include <QDateTime>
#include <QString>

namespace vantrel {

// The main window's UTC clock: "DD/MM HH:MM" of the local time moved by the time-zone bias.
QString UtcClockText(const QDateTime& localNow, int utcBiasMinutes);

} // namespace vantrel
