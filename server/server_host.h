#pragma once
// What the server needs from the plug-in: the log, the listening settings read at each start,
// and the request path, which takes each received request with a sink for its reply. The
// central object implements it and hands it to the server.

#include <cstdint>
#include <string>

#include "base/log_sink.h"

class ReplySink;

class ServerHost : public LogSink {
 public:
  // The configured address (network byte order), port and receive time-out texts.
  virtual std::uint32_t BindAddress() = 0;
  virtual std::string PortText() = 0;
  virtual std::string TimeoutText() = 0;
  // Serves one request: received holds the bytes as they came, clientAddress the client's
  // dotted address. Replies go to reply; nothing may escape.
  virtual void Serve(const std::string& received, const std::string& clientAddress,
                     ReplySink& reply) = 0;
  // The server listens: a new start, with a new generation of workers.
  virtual void ServerStarted() {}
  // A stop (the stop button, a restart's stop, quit) has closed the listening socket; the stop
  // waits for workers only after this returns. Requests that wait for something must answer
  // now, and until the next start a new wait must answer at once.
  virtual void ServerStopping() {}

 protected:
  ~ServerHost() = default;
};
