#pragma once
// The per-request gatekeeper: the client's address and the password first, then the command
// looked up in the query table and, when control is allowed, in the control table. Refused
// requests and unknown commands get no reply; only the log says why.

#include <string>
#include <utility>

class PasswordBackoff;
struct RequestContext;

class AnswerControl {
 public:
  // clientAddress: the client's dotted address as the server accepted it; backoff: the
  // failed-password bookkeeping (none: no back-off).
  AnswerControl(RequestContext& request, std::string clientAddress,
                PasswordBackoff* backoff = nullptr)
      : request_(request), clientAddress_(std::move(clientAddress)), backoff_(backoff) {}

  void Evaluate();

  // True when the client's address passes the address list in its current mode.
  bool CheckIPList();
  // Applies the list mode to whether the address is absent from the list; logs the decision.
  bool IsIPAllowed(bool notListed);
  // True when the request's "p" equals the configured password (both trimmed).
  bool CheckPassword();
  // The password check under the back-off: a locked address is refused without it.
  bool CheckPasswordWithBackoff();

  // True when the command matched an entry and its answer was built and run.
  bool ExecuteQuery(const std::string& command);
  bool ExecuteControl(const std::string& command);

 private:
  std::string ClientAddress() const;
  void Log(const std::string& line);

  RequestContext& request_;
  std::string clientAddress_;
  PasswordBackoff* backoff_;
};
