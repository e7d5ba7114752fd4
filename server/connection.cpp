#include "server/connection.h"

#include "platform/clock.h"
#include "server/server_host.h"

namespace {
std::int64_t DeadlineIn(int ms) {
  return ms > 0 ? clk::SteadyMs() + ms : 0;
}
}  // namespace

bool Connection::Await(bool forWrite, std::int64_t deadlineMs) {
  // The lines held for this client so far are not kept back while it may take its time.
  host_.Flush();
  int left = 0;
  if (deadlineMs != 0) {
    const std::int64_t rest = deadlineMs - clk::SteadyMs();
    if (rest <= 0) return false;
    left = static_cast<int>(rest);
  }
  return net::WaitFor(client_, forWrite, left, *limits_.stop) == net::Readiness::kReady;
}

int Connection::ReceiveOnce(char* buf, int len) {
  // A quit that came before the request was read ends it as well.
  if (limits_.stop->Raised()) return -1;
  const std::int64_t deadline = DeadlineIn(limits_.receiveTimeoutMs);
  for (;;) {
    // Most clients have sent their request by now: try first, wait only when nothing is there.
    int n = net::Receive(client_, buf, len);
    if (n >= 0) return n;
    if (!net::WouldBlock(net::LastError()) || !Await(false, deadline)) return -1;
  }
}

bool Connection::SendAll(const std::string& data) {
  const std::int64_t deadline = DeadlineIn(limits_.sendTimeoutMs);
  std::size_t done = 0;
  // Every round sends at least one byte, waits for room, or ends the loop.
  while (done < data.size()) {
    int n = net::Send(client_, data.data() + done, static_cast<int>(data.size() - done));
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n == 0 || !net::WouldBlock(net::LastError()) || !Await(true, deadline)) return false;
  }
  return true;
}

bool Connection::HandleClient(const std::string& clientAddress) {
  char buf[kMaxRequest];
  int n = ReceiveOnce(buf, kMaxRequest);
  if (n < 0) {
    host_.WriteLog("Timeout - Verbindung wird beendet.");
    return false;
  }
  host_.Serve(std::string(buf, static_cast<std::size_t>(n)), clientAddress, *this);
  return true;
}
