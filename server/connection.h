#pragma once
// One accepted client as the request path sees it: its socket and the request host. It
// receives one request, hands it to the request path and is the sink of the reply. The worker
// that accepted the client owns the socket and closes it.

#include <string>

#include "platform/net.h"
#include "protocol/request_context.h"

class ServerHost;

class Connection final : public ReplySink {
 public:
  static constexpr int kMaxRequest = 2047;

  Connection(net::Socket client, ServerHost& host) : client_(client), host_(host) {}
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Receives one request and serves it; false when the receive failed or timed out (logged).
  bool HandleClient(const std::string& clientAddress);

  // Sends every byte, looping over partial sends; false when the connection fails or the send
  // time-out runs out before everything is sent.
  bool SendAll(const std::string& data) override;

 private:
  net::Socket client_;
  ServerHost& host_;
};
