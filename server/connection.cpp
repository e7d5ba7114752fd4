#include "server/connection.h"

#include "server/my_thread.h"
#include "server/server_host.h"
#include "server/server_socket.h"

Connection::Connection(ServerSocket& server) : server_(server) {}

Connection::~Connection() {
  // Ending the serving may start a waiting worker (a new thread): its failure stays here.
  try {
    CloseClient();
    if (serving_) server_.GetWorkers().EndServing();
  } catch (...) {
    try {
      server_.Host().WriteLog("Thread konnte nicht gestartet werden");
    } catch (...) {
    }
  }
}

void Connection::CloseClient() {
  if (!client_.Valid()) return;
  // Quit no longer sees the socket once it is unregistered, so it cannot interrupt a handle
  // that is being closed (or that the system has given to another socket since).
  server_.GetWorkers().Unregister(client_.Get());
  client_.Reset();
}

bool Connection::SendAll(const std::string& data) {
  if (!client_.Valid()) return false;
  std::size_t done = 0;
  // Every round sends at least one byte or ends the loop.
  while (done < data.size()) {
    int n = net::Send(client_.Get(), data.data() + done, static_cast<int>(data.size() - done));
    if (n < 1) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

void Connection::HandleClient() {
  Workers& workers = server_.GetWorkers();
  ServerHost& host = server_.Host();
  std::string peer;
  net::Socket s = net::Accept(server_.ListeningSocket(), peer);
  if (s == net::kInvalidSocket) return;
  client_.Adopt(s);
  serving_ = true;
  bool startSuccessor = workers.BeginServing(s);

  host.WriteLog(std::string(55, '-'));
  host.WriteLog("Client connect: " + peer);
  MyThread* successor = startSuccessor ? workers.StartWorker() : nullptr;

  char buf[kMaxRequest];
  int n = net::Receive(s, buf, kMaxRequest);
  if (n < 0) {
    host.WriteLog("Timeout - Verbindung wird beendet.");
    CloseClient();
  } else {
    host.Serve(std::string(buf, static_cast<std::size_t>(n)), peer, *this);
    host.WriteLog("beende Verbindung...");
    CloseClient();
    host.WriteLog("Verbindung beendet!");
  }
  workers.Reclaim();
  if (successor != nullptr) CurrentThread.store(successor);
}
