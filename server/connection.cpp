#include "server/connection.h"

#include "control/answer_control.h"
#include "plugin/interface.h"
#include "server/my_thread.h"
#include "server/server_socket.h"

Connection::Connection(ServerSocket& server) : server_(server) {}

Connection::~Connection() {
  // Ending the serving may start a waiting worker (a new thread): its failure stays here.
  try {
    CloseClient();
    if (serving_) server_.GetWorkers().EndServing();
  } catch (...) {
    try {
      Interface::Log("Thread konnte nicht gestartet werden");
    } catch (...) {
    }
  }
}

void Connection::CloseClient() {
  if (clientSocket_ == net::kInvalidSocket) return;
  server_.GetWorkers().CloseClient(clientSocket_);
  clientSocket_ = net::kInvalidSocket;
}

bool Connection::SendAll(const std::string& data) {
  if (clientSocket_ == net::kInvalidSocket) return false;
  std::size_t done = 0;
  // Every round sends at least one byte or ends the loop.
  while (done < data.size()) {
    int n = net::Send(clientSocket_, data.data() + done, static_cast<int>(data.size() - done));
    if (n < 1) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

void Connection::HandleClient() {
  Workers& workers = server_.GetWorkers();
  std::string peer;
  net::Socket s = net::Accept(server_.ListeningSocket(), peer);
  if (s == net::kInvalidSocket) return;
  clientSocket_ = s;
  serving_ = true;
  bool startSuccessor = workers.BeginServing(s);

  Interface::Log(std::string(55, '-'));
  clientAddress_ = peer;
  Interface::Log("Client connect: " + clientAddress_);
  MyThread* successor = startSuccessor ? workers.StartWorker() : nullptr;

  char buf[kMaxRequest + 1];
  int n = net::Receive(s, buf, kMaxRequest);
  if (n < 0) {
    Interface::Log("Timeout - Verbindung wird beendet.");
    CloseClient();
  } else {
    buf[n] = '\0';
    std::string request(buf);  // up to the first zero byte
    Interface::Log("Erhalten: " + request);
    tokens_.Reset();
    Interface::Log("Inputstring auswerten");
    tokens_.Parse(request);
    Interface::Log("Commando ausf\xFChren");
    AnswerControl control(*this);
    control.Evaluate();
    Interface::Log("beende Verbindung...");
    CloseClient();
    Interface::Log("Verbindung beendet!");
  }
  workers.Reclaim();
  if (successor != nullptr) CurrentThread.store(successor);
}
