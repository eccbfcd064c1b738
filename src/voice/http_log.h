#pragma once
#include <QString>

namespace vantrel {

struct HttpResult;

// An HTTP exchange in the diagnostic log: the address asked, then the status and the size of
// the answer (never its body) or what went wrong.
void LogHttpRequest(const QString& address);
void LogHttpAnswer(const HttpResult& result);

} // namespace vantrel
