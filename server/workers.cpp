#include "server/workers.h"

#include "base/log_hold.h"
#include "server/connection.h"
#include "server/server_host.h"

Workers::Workers(ServerHost& host, int sendTimeoutMs)
    : host_(host), sendTimeoutMs_(sendTimeoutMs) {}

void Workers::Log(const std::string& message) noexcept {
  try {
    host_.WriteLog(message);
  } catch (...) {
  }
}

void Workers::Begin(net::Socket listening, int receiveTimeoutMs) {
  Acceptor::Ticket gen = acceptor_.Open(listening, receiveTimeoutMs);
  (void)acceptor_.Enlist(gen, true);
  Launch(gen);
}

void Workers::BeginFailed() {
  Acceptor::Ticket gen = acceptor_.Failed();
  (void)acceptor_.Enlist(gen, true);
  Launch(gen);
}

void Workers::Launch(const Acceptor::Ticket& gen) {
  try {
    if (threads_.Launch([this, gen] { Run(gen); })) return;
  } catch (...) {
  }
  acceptor_.Leave(gen);
  acceptor_.Defer(gen);
  Log("Thread konnte nicht gestartet werden");
}

void Workers::Run(const Acceptor::Ticket& gen) {
  net::Socket client = net::kInvalidSocket;
  std::string peer;
  bool accepted = false;
  try {
    accepted = acceptor_.Accept(gen, client, peer, host_);
  } catch (...) {
    Log("Unbekannter Fehler im Thread aufgetreten");
  }
  if (!accepted) {
    Log("Client connect beendet.");
    acceptor_.Leave(gen);
    return;
  }
  // The client's lines enter the log as one append when it has been served, and before every
  // wait for it (Connection).
  LogHold hold(host_);
  const bool placeFree = clients_.Begin();
  try {
    Serve(gen, client, peer, placeFree);
  } catch (...) {
    Log("Unbekannter Fehler im Thread aufgetreten");
  }
  clients_.End();
  ResumeDeferred();
  Log("Client connect beendet.");
}

void Workers::Serve(const Acceptor::Ticket& gen, net::Socket client, const std::string& peer,
                    bool placeFree) {
  net::OwnedSocket socket(client);  // closed however serving ends
  host_.WriteLog(std::string(55, '-'));
  host_.WriteLog("Client connect: " + peer);
  if (!placeFree) {
    acceptor_.Defer(gen);
    // A client that ended before the mark was set found nothing to resume: look again.
    ResumeDeferred();
  } else if (acceptor_.Enlist(gen)) {
    Launch(gen);
  }
  // The client's receive and send wait on its socket and the stop together.
  if (net::SetNonBlocking(client) == -1) host_.WriteLog("Socket I/O Control fehlgeschlagen");
  Connection connection(client, host_, {gen->receiveTimeoutMs, sendTimeoutMs_, &clients_.Stop()});
  if (connection.HandleClient(peer)) {
    host_.WriteLog("beende Verbindung...");
    socket.Reset();
    host_.WriteLog("Verbindung beendet!");
  }
}

void Workers::ResumeDeferred() {
  if (clients_.Full()) return;
  if (Acceptor::Ticket gen = acceptor_.TakeDeferred()) Launch(gen);
}
