#pragma once
// One accepted client: its socket, its dotted address and the tokens of its one request.

#include <string>

#include "platform/net.h"
#include "protocol/token_string.h"

class ServerSocket;

class Connection {
 public:
  static constexpr int kMaxRequest = 2047;

  explicit Connection(ServerSocket& server);
  // Closes the client socket if the routine did not get to it.
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Accepts one client, starts the successor, receives, evaluates and answers one request.
  void HandleClient();

  net::Socket GetSocket() const { return clientSocket_; }
  // Sends every byte on the client socket, looping over partial sends; false when the
  // connection fails (or is already closed) before everything is sent.
  bool SendAll(const std::string& data);
  const std::string& ClientAddress() const { return clientAddress_; }
  // This request's own token store: concurrent requests never see each other's parameters.
  TokenString& Tokens() { return tokens_; }
  const TokenString& Tokens() const { return tokens_; }

 private:
  void CloseClient();

  std::string clientAddress_;
  ServerSocket& server_;
  net::Socket clientSocket_ = net::kInvalidSocket;
  bool serving_ = false;
  TokenString tokens_;
};
