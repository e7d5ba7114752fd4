#include "control/answer_control.h"

#include <span>

#include "base/text.h"
#include "control/command_tables.h"
#include "plugin/interface.h"
#include "protocol/answer_protocol.h"
#include "server/connection.h"

namespace {

const CommandEntry* Lookup(std::span<const CommandEntry> table, const std::string& command) {
  std::string upper = text::UpperCase(command);
  for (const CommandEntry& e : table) {
    if (upper == e.name) return &e;
  }
  return nullptr;
}

void NotAvailable(const std::string& command) {
  Interface::Log("Befehl (" + command +
                 ") ist nicht verf\xFC"
                 "gbar");
}

// Builds, runs and destroys the entry's answer; false when the entry declined to build one.
bool Run(Connection& client, const CommandEntry& entry) {
  std::unique_ptr<AnswerProtocol> answer = entry.make(client, entry);
  if (!answer) return false;
  answer->SendAnswer();
  return true;
}

}  // namespace

std::string AnswerControl::ClientAddress() const {
  return text::Trim(client_.ClientAddress());
}

bool AnswerControl::ControlAllowed() const {
  if (controlAllowed_ >= 0) return controlAllowed_ == 1;
  return PluginInterface->IsControlAllowed();
}

void AnswerControl::Evaluate() {
  try {
    if (!CheckIPList()) return;
    if (!CheckPassword()) return;
    std::string command;
    try {
      command = client_.Tokens().GetToken(1);
    } catch (...) {
      command = "0";
      Interface::Log("Fehler beim Auslesen des Befehls.");
    }
    controlAllowed_ = PluginInterface->IsControlAllowed() ? 1 : 0;
    if (ControlAllowed()) {
      if (!ExecuteQuery(command)) ExecuteControl(command);
    } else {
      ExecuteQuery(command);
    }
  } catch (...) {
    Interface::Log("FEHLER in (AnswerControl::Evaluate)");
  }
}

bool AnswerControl::CheckIPList() {
  try {
    std::vector<std::string> list = PluginInterface->GetAddressList();
    std::string address = ClientAddress();
    bool listed = false;
    if (list.empty()) {
      Interface::Log("Keine IPs in Liste gefunden");
    } else {
      for (const std::string& line : list) {
        if (text::Trim(line) != address) continue;
        Interface::Log("IP (" + address + ") gefunden");
        listed = true;
        break;
      }
    }
    return IsIPAllowed(!listed);
  } catch (...) {
    Interface::Log("FEHLER in (AnswerControl::CheckIPList)");
    return false;
  }
}

bool AnswerControl::IsIPAllowed(bool notListed) {
  bool allowed = PluginInterface->IsBlockListMode() ? notListed : !notListed;
  Interface::Log("IP (" + ClientAddress() + (allowed ? ") erlaubt" : ") gesperrt"));
  return allowed;
}

bool AnswerControl::CheckPassword() {
  bool accepted = false;
  try {
    std::string configured = text::Trim(PluginInterface->GetPassword());
    accepted = configured == text::Trim(client_.Tokens().GetParameter("p", true));
  } catch (...) {
    accepted = false;
  }
  Interface::Log(accepted ? "Passwort aktzeptiert" : "Passwort abgelehnt");
  return accepted;
}

bool AnswerControl::ExecuteQuery(const std::string& command) {
  const CommandEntry* entry = Lookup(QueryTable(), command);
  if (entry != nullptr) return Run(client_, *entry);
  // With control allowed the control table is searched next and reports the miss.
  if (!ControlAllowed()) NotAvailable(command);
  return false;
}

bool AnswerControl::ExecuteControl(const std::string& command) {
  const CommandEntry* entry = Lookup(ControlTable(), command);
  if (entry != nullptr) return Run(client_, *entry);
  NotAvailable(command);
  return false;
}
