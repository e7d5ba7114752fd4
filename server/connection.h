#pragma once
// One accepted client: it accepts, receives one request, hands it to the request path and
// closes. It owns the client socket, which it closes exactly once; quit may only interrupt a
// blocked receive on it.

#include <string>

#include "platform/net.h"
#include "protocol/request_context.h"

class ServerSocket;

class Connection final : public ReplySink {
 public:
  static constexpr int kMaxRequest = 2047;

  explicit Connection(ServerSocket& server);
  // Closes the client socket if the routine did not get to it.
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Accepts one client, starts the successor, receives one request and serves it.
  void HandleClient();

  // Sends every byte on the client socket, looping over partial sends; false when the
  // connection fails (or is already closed) before everything is sent.
  bool SendAll(const std::string& data) override;

 private:
  void CloseClient();

  ServerSocket& server_;
  net::OwnedSocket client_;
  bool serving_ = false;
};
