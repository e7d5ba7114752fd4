#pragma once
// One accepted client as the request path sees it: its socket and the request host. It
// receives one request, hands it to the request path and is the sink of the reply. The worker
// that accepted the client owns the socket and closes it. The socket does not block: the
// receive and every send wait for it and for the server's stop together, each bounded by its
// time-out.

#include <string>

#include "platform/net.h"
#include "protocol/request_context.h"

class ServerHost;

class Connection final : public ReplySink {
 public:
  static constexpr int kMaxRequest = 2047;

  struct Limits {
    int receiveTimeoutMs;  // 0 or less: no limit
    int sendTimeoutMs;     // for each SendAll; 0 or less: no limit
    const net::WakeSocket* stop;
  };

  Connection(net::Socket client, ServerHost& host, const Limits& limits)
      : client_(client), host_(host), limits_(limits) {}
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Receives one request and serves it; false when the receive failed, timed out or was
  // stopped (logged).
  bool HandleClient(const std::string& clientAddress);

  // Sends every byte, looping over partial sends; false when the connection fails, the server
  // stops, or the send time-out runs out before everything is sent.
  bool SendAll(const std::string& data) override;
  // The client has closed or reset its end (a request that waits looks now and then).
  bool ClientGone() override { return net::PeerClosed(client_); }

 private:
  // Waits until the socket can be read (or written) within what is left until deadlineMs
  // (0: none); false on a time-out, a stop or a failure.
  bool Await(bool forWrite, std::int64_t deadlineMs);
  int ReceiveOnce(char* buf, int len);

  net::Socket client_;
  ServerHost& host_;
  Limits limits_;
};
