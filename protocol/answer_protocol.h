#pragma once
// The answer family's base classes. An answer carries out one command against the player and
// sends one reply text; Send frames it (optional HTTP header, closing line feed) and logs it.

#include <cstddef>
#include <cstdint>
#include <string>

struct RequestContext;

class AnswerProtocol {
 public:
  // Without a reply sink in the request, the reply text is written to the activity log instead.
  AnswerProtocol(RequestContext& request, std::int32_t hostCode);
  AnswerProtocol(const AnswerProtocol&) = delete;
  AnswerProtocol& operator=(const AnswerProtocol&) = delete;

  // Sends header + text + "\n" on the client's socket, whole, and logs the text.
  virtual void Send(const std::string& text);
  // The HTTP header for a reply of contentLength bytes, or the empty text when it is off.
  virtual std::string BuildHeader(std::size_t contentLength);
  // The HTTP header for contentLength bytes of that content type, whatever the switch says.
  std::string HttpHeader(std::size_t contentLength, const std::string& contentType);
  virtual ~AnswerProtocol();
  // Default: asks the player for request HostCode with data 0 and replies the number.
  virtual void SendAnswer();

  std::int32_t HostCode;
  RequestContext& Request;

 protected:
  // The request parameter's value as received (the missing parameter is logged).
  std::string Param(const std::string& name) const;
  // The user message to the player: request number last, data first. The player's results are
  // 32-bit numbers.
  std::int32_t AskPlayer(std::int32_t request, std::intptr_t data);
  // As AskPlayer, for requests whose result is a reference to a text.
  std::string AskPlayerText(std::int32_t request, std::intptr_t data);
  void Log(const std::string& line);
  // A text that the player returned by reference (it lives in this process); 0 means none and
  // gives the empty text.
  static std::string HostText(std::intptr_t reference);
  // Sends what compute() returns; when it fails, logs "FEHLER in (" + where + ")" and sends
  // nothing.
  template <typename Compute>
  void SendComputed(const char* where, Compute compute) {
    std::string reply;
    try {
      reply = compute();
    } catch (...) {
      Log(std::string("FEHLER in (") + where + ")");
      return;
    }
    Send(reply);
  }

 private:
  std::string DateText();
};

// Commands with one integer parameter: read strictly, range-checked, sent as the data of the
// request HostCode.
class AnswerStandardParam : public AnswerProtocol {
 public:
  AnswerStandardParam(RequestContext& request, std::int32_t hostCode, std::string paramName);
  void SendAnswer() override;
  // True when the value is outside what the command accepts; the default accepts 0 to 2.
  virtual bool IsInvalid(std::int32_t value);

  std::string ParamName;

 protected:
  // Set by the classes whose player request returns a text reference instead of a number.
  bool ReplyIsText = false;
};

// Commands that press one of the player's buttons (the command message with HostCode).
class AnswerPRESSBUTTON : public AnswerProtocol {
 public:
  using AnswerProtocol::AnswerProtocol;
  void SendAnswer() override;
};
