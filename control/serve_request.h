#pragma once
// Serving one request, without a socket: the bytes as received, the client's dotted address
// and the request's context in; log lines and reply bytes (through the context's sink) out.

#include <string>

class PasswordBackoff;
struct RequestContext;

// The request ends at its first zero byte; the rest is ignored. request: made for this request
// alone, so its token store starts empty. backoff: the failed-password bookkeeping shared by all
// requests (none: no back-off).
void ServeRequest(const std::string& received, const std::string& clientAddress,
                  RequestContext& request, PasswordBackoff* backoff = nullptr);
