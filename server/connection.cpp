#include "server/connection.h"

#include "server/server_host.h"

bool Connection::SendAll(const std::string& data) {
  std::size_t done = 0;
  // Every round sends at least one byte or ends the loop.
  while (done < data.size()) {
    int n = net::Send(client_, data.data() + done, static_cast<int>(data.size() - done));
    if (n < 1) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool Connection::HandleClient(const std::string& clientAddress) {
  char buf[kMaxRequest];
  int n = net::Receive(client_, buf, kMaxRequest);
  if (n < 0) {
    host_.WriteLog("Timeout - Verbindung wird beendet.");
    return false;
  }
  host_.Serve(std::string(buf, static_cast<std::size_t>(n)), clientAddress, *this);
  return true;
}
