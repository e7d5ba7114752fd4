#include "protocol/answer_protocol.h"

#include <cstdio>

#include "base/text.h"
#include "plugin/host_messages.h"
#include "plugin/interface.h"
#include "plugin/version.h"
#include "server/connection.h"

AnswerProtocol::AnswerProtocol(Connection* client, std::int32_t hostCode)
    : HostCode(hostCode), Client(client) {}

AnswerProtocol::~AnswerProtocol() = default;

void AnswerProtocol::Log(const std::string& line) {
  Interface::Log(line);
}

std::string AnswerProtocol::Param(const std::string& name) const {
  if (Client == nullptr) return std::string();
  return Client->Tokens().GetParameter(name, true);
}

std::int32_t AnswerProtocol::AskPlayer(std::int32_t request, std::intptr_t data) {
  auto r = PluginInterface->SendPlayerMessage(hostmsg::WM_HOST_USER,
                                              static_cast<std::uintptr_t>(data), request);
  return static_cast<std::int32_t>(r);
}

std::string AnswerProtocol::AskPlayerText(std::int32_t request, std::intptr_t data) {
  return Interface::HostText(PluginInterface->SendPlayerMessage(
      hostmsg::WM_HOST_USER, static_cast<std::uintptr_t>(data), request));
}

void AnswerProtocol::Send(const std::string& text) {
  if (Client == nullptr) {
    Log(text);
    return;
  }
  bool sent = false;
  try {
    sent = Client->SendAll(BuildHeader(text.size()) + text + "\n");
  } catch (...) {
    sent = false;
  }
  if (!sent) Log("fehler beim senden");
  Log("Server returned value: " + text);
}

std::string AnswerProtocol::DateText() const {
  clk::UtcTime t = PluginInterface->Now();
  char day[8], year[8], time[16];
  std::snprintf(day, sizeof day, "%02d", t.day);
  std::snprintf(year, sizeof year, "%04d", t.year);
  std::snprintf(time, sizeof time, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  return PluginInterface->DayName(t.weekday) + ", " + day + " " +
         PluginInterface->MonthName(t.month) + " " + year + " " + time;
}

std::string AnswerProtocol::BuildHeader(std::size_t contentLength) {
  if (!PluginInterface->IsHttpHeaderOn()) return std::string();
  return "HTTP/1.0 200 OK\nDate: " + DateText() + " GMT\nServer: " + kBannerWithCredit +
         "\nContent-Length: " + std::to_string(contentLength) +
         "\nContent-Type: text/plain; charset=iso-8859-1\n\n";
}

void AnswerProtocol::SendAnswer() {
  SendComputed("AnswerProtocol::SendAnswer",
               [&] { return text::IntToStr(AskPlayer(HostCode, 0)); });
}

AnswerStandardParam::AnswerStandardParam(Connection* client, std::int32_t hostCode,
                                         std::string paramName)
    : AnswerProtocol(client, hostCode), ParamName(std::move(paramName)) {}

bool AnswerStandardParam::IsInvalid(std::int32_t value) {
  return value < 0 || value > 2;
}

void AnswerStandardParam::SendAnswer() {
  std::string reply = "0";
  try {
    std::string v = text::Trim(Param(ParamName));
    if (!v.empty()) {
      std::int32_t n = text::StrToInt(v);
      if (!IsInvalid(n)) {
        std::intptr_t r = PluginInterface->SendPlayerMessage(
            hostmsg::WM_HOST_USER, static_cast<std::uintptr_t>(static_cast<std::intptr_t>(n)),
            HostCode);
        if (ReplyIsText) {
          if (r != 0) reply = Interface::HostText(r);
        } else if (static_cast<std::int32_t>(r) != 0) {
          reply = text::IntToStr(static_cast<std::int32_t>(r));
        }
      }
    }
  } catch (...) {
    Log("FEHLER in (AnswerStandardParam::SendAnswer)");
    reply = "0";
  }
  Send(reply);
}

void AnswerPRESSBUTTON::SendAnswer() {
  try {
    PluginInterface->SendPlayerMessage(hostmsg::WM_COMMAND, static_cast<std::uintptr_t>(HostCode),
                                       0);
  } catch (...) {
    Log("FEHLER in (AnswerPRESSBUTTON::SendAnswer)");
  }
  Send("NULL");
}
