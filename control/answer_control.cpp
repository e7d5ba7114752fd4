#include "control/answer_control.h"

#include <span>

#include "base/text.h"
#include "control/command_tables.h"
#include "control/password_backoff.h"
#include "protocol/answer_protocol.h"
#include "protocol/remote_page.h"
#include "protocol/request_context.h"

namespace {

const CommandEntry* Lookup(std::span<const CommandEntry> table, const std::string& command) {
  std::string upper = text::UpperCase(command);
  for (const CommandEntry& e : table) {
    if (upper == e.name) return &e;
  }
  return nullptr;
}

void NotAvailable(RequestContext& request, const std::string& command) {
  request.host.WriteLog("Befehl (" + command +
                        ") ist nicht verf\xFC"
                        "gbar");
}

// Builds, runs and destroys the entry's answer; false when the entry declined to build one.
bool Run(RequestContext& request, const CommandEntry& entry) {
  std::unique_ptr<AnswerProtocol> answer = entry.make(request, entry);
  if (!answer) return false;
  answer->SendAnswer();
  return true;
}

}  // namespace

std::string AnswerControl::ClientAddress() const {
  return text::Trim(clientAddress_);
}

void AnswerControl::Log(const std::string& line) {
  request_.host.WriteLog(line);
}

void AnswerControl::Evaluate() {
  try {
    if (!CheckIPList()) return;
    if (!CheckPasswordWithBackoff()) return;
    const std::string command = request_.tokens.GetToken(1);
    if (command.empty() && request_.tokens.TargetIsQueryOnly()) {
      AnswerRemotePage(request_, 0).SendAnswer();
    } else if (request_.settings.controlAllowed) {
      if (!ExecuteQuery(command)) ExecuteControl(command);
    } else {
      ExecuteQuery(command);
    }
  } catch (...) {
    Log("FEHLER in (AnswerControl::Evaluate)");
  }
}

bool AnswerControl::CheckIPList() {
  try {
    const std::vector<std::string>& list = request_.settings.addressList;
    std::string address = ClientAddress();
    bool listed = false;
    if (list.empty()) {
      Log("Keine IPs in Liste gefunden");
    } else {
      for (const std::string& line : list) {
        if (text::Trim(line) != address) continue;
        Log("IP (" + address + ") gefunden");
        listed = true;
        break;
      }
    }
    return IsIPAllowed(!listed);
  } catch (...) {
    Log("FEHLER in (AnswerControl::CheckIPList)");
    return false;
  }
}

bool AnswerControl::IsIPAllowed(bool notListed) {
  bool allowed = request_.settings.blockListMode ? notListed : !notListed;
  Log("IP (" + ClientAddress() + (allowed ? ") erlaubt" : ") gesperrt"));
  return allowed;
}

bool AnswerControl::CheckPassword() {
  bool accepted = false;
  try {
    std::string configured = text::Trim(request_.settings.password);
    accepted =
        text::EqualInConstantTime(configured, text::Trim(request_.tokens.GetParameter("p", true)));
  } catch (...) {
    accepted = false;
  }
  Log(accepted ? "Passwort aktzeptiert" : "Passwort abgelehnt");
  return accepted;
}

bool AnswerControl::CheckPasswordWithBackoff() {
  if (backoff_ == nullptr) return CheckPassword();
  const std::string address = ClientAddress();
  const std::int64_t now = request_.host.SteadyMs();
  if (backoff_->Locked(address, now)) {
    Log("IP (" + address + ") wegen falscher Passw\xF6rter gesperrt");
    return false;
  }
  const bool accepted = CheckPassword();
  if (accepted) {
    backoff_->Accepted(address);
  } else {
    backoff_->Refused(address, now);
  }
  return accepted;
}

bool AnswerControl::ExecuteQuery(const std::string& command) {
  const CommandEntry* entry = Lookup(QueryTable(), command);
  if (entry != nullptr) return Run(request_, *entry);
  // With control allowed the control table is searched next and reports the miss.
  if (!request_.settings.controlAllowed) NotAvailable(request_, command);
  return false;
}

bool AnswerControl::ExecuteControl(const std::string& command) {
  const CommandEntry* entry = Lookup(ControlTable(), command);
  if (entry != nullptr) return Run(request_, *entry);
  NotAvailable(request_, command);
  return false;
}
