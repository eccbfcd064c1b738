#include "voice/http_log.h"

#include "core/event_log.h"
#include "voice/http_fetcher.h"

namespace vantrel {

void LogHttpRequest(const QString& address) {
    LogEvent("weather", "request " + address.toStdString());
}

void LogHttpAnswer(const HttpResult& result) {
    std::string text = "answer: status " + std::to_string(result.status) + ", " +
                       std::to_string(result.body.size()) + " bytes, " + std::to_string(result.requests) +
                       (result.requests == 1 ? " request" : " requests");
    if (!result.Ok()) text += ", failed: " + result.error.toStdString();
    LogEvent("weather", text);
}

} // namespace vantrel
