#include "protocol/answer_protocol.h"

#include <cstdio>

#include "base/text.h"
#include "base/version.h"
#include "protocol/host_messages.h"
#include "protocol/request_context.h"

namespace {

const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};

}  // namespace

AnswerProtocol::AnswerProtocol(RequestContext& request, std::int32_t hostCode)
    : HostCode(hostCode), Request(request) {}

AnswerProtocol::~AnswerProtocol() = default;

void AnswerProtocol::Log(const std::string& line) {
  Request.host.WriteLog(line);
}

std::string AnswerProtocol::HostText(std::intptr_t reference) {
  if (reference == 0) return std::string();
  return std::string(reinterpret_cast<const char*>(reference));
}

std::string AnswerProtocol::Param(const std::string& name) const {
  return Request.tokens.GetParameter(name, true);
}

std::int32_t AnswerProtocol::AskPlayer(std::int32_t request, std::intptr_t data) {
  auto r = Request.host.SendPlayerMessage(hostmsg::WM_HOST_USER, static_cast<std::uintptr_t>(data),
                                          request);
  return static_cast<std::int32_t>(r);
}

std::string AnswerProtocol::AskPlayerText(std::int32_t request, std::intptr_t data) {
  return HostText(Request.host.SendPlayerMessage(hostmsg::WM_HOST_USER,
                                                 static_cast<std::uintptr_t>(data), request));
}

void AnswerProtocol::Send(const std::string& text) {
  if (Request.reply == nullptr) {
    Log(text);
    return;
  }
  bool sent = false;
  try {
    sent = Request.reply->SendAll(BuildHeader(text.size()) + text + "\n");
  } catch (...) {
    sent = false;
  }
  if (!sent) Log("fehler beim senden");
  Log("Server returned value: " + text);
}

std::string AnswerProtocol::DateText() {
  clk::UtcTime t = Request.host.Now();
  std::string dayName, monthName;
  if (t.weekday >= 1 && t.weekday <= 7) {
    dayName = kDays[t.weekday - 1];
  } else {
    Log("Tag\xFC"
        "bersetzung nicht gefunden!");
  }
  if (t.month >= 1 && t.month <= 12) {
    monthName = kMonths[t.month - 1];
  } else {
    Log("Monat\xFC"
        "bersetzung nicht gefunden!");
  }
  char day[8], year[8], time[16];
  std::snprintf(day, sizeof day, "%02d", t.day);
  std::snprintf(year, sizeof year, "%04d", t.year);
  std::snprintf(time, sizeof time, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  return dayName + ", " + day + " " + monthName + " " + year + " " + time;
}

std::string AnswerProtocol::BuildHeader(std::size_t contentLength) {
  if (!Request.settings.httpHeader) return std::string();
  return HttpHeader(contentLength, "text/plain; charset=iso-8859-1");
}

std::string AnswerProtocol::HttpHeader(std::size_t contentLength, const std::string& contentType) {
  return "HTTP/1.0 200 OK\nDate: " + DateText() + " GMT\nServer: " + kBannerWithCredit +
         "\nContent-Length: " + std::to_string(contentLength) + "\nContent-Type: " + contentType +
         "\n\n";
}

void AnswerProtocol::SendAnswer() {
  SendComputed("AnswerProtocol::SendAnswer",
               [&] { return text::IntToStr(AskPlayer(HostCode, 0)); });
}

AnswerStandardParam::AnswerStandardParam(RequestContext& request, std::int32_t hostCode,
                                         std::string paramName)
    : AnswerProtocol(request, hostCode), ParamName(std::move(paramName)) {}

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
        std::intptr_t r = Request.host.SendPlayerMessage(
            hostmsg::WM_HOST_USER, static_cast<std::uintptr_t>(static_cast<std::intptr_t>(n)),
            HostCode);
        if (ReplyIsText) {
          if (r != 0) reply = HostText(r);
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
    Request.host.SendPlayerMessage(hostmsg::WM_COMMAND, static_cast<std::uintptr_t>(HostCode), 0);
  } catch (...) {
    Log("FEHLER in (AnswerPRESSBUTTON::SendAnswer)");
  }
  Send("NULL");
}
