#include "protocol/query_answers.h"

#include "base/text.h"
#include "protocol/host_messages.h"
#include "protocol/request_context.h"

void AnswerGETVOLUME::SendAnswer() {
  SendComputed("AnswerGETVOLUME::SendAnswer", [&] {
    return text::IntToStr(AskPlayer(hostmsg::IPC_SETVOLUME, hostmsg::kVolumeQuery));
  });
}

void AnswerGETAUTOSERVICE::SendAnswer() {
  SendComputed("AnswerGETAUTOSERVICE::SendAnswer",
               [&] { return std::string(Request.settings.autostart == 1 ? "1" : "0"); });
}

std::string AnswerGETCURRENTTITLE::TitleOf(const std::string& windowText) {
  static const std::string kSuffix = "- WINAMP";
  if (windowText.size() < kSuffix.size()) return std::string();
  // The last occurrence wins: a title may itself contain the suffix.
  for (std::size_t p = windowText.size() - kSuffix.size() + 1; p-- > 0;) {
    if (text::UpperCase(windowText.substr(p, kSuffix.size())) != kSuffix) continue;
    std::size_t end = p;
    while (end > 0 && windowText[end - 1] == ' ') --end;
    return windowText.substr(0, end);
  }
  return std::string();
}

void AnswerGETCURRENTTITLE::SendAnswer() {
  SendComputed("AnswerGETCURRENTTITLE::SendAnswer",
               [&] { return TitleOf(Request.host.ReadPlayerText(hostmsg::kTitleBuffer)); });
}

void AnswerGETID3TAG::SendAnswer() {
  Log("Methode (GETID3TAG) nicht implementiert");
  Send("0");
}

void AnswerGETMPEGINFO::SendAnswer() {
  Log("Methode (GETMPEGINFO) nicht implementiert");
  Send("0");
}

AnswerPlaylistList::AnswerPlaylistList(RequestContext& request, std::int32_t hostCode,
                                       std::int32_t entryRequest, const char* operation)
    : AnswerProtocol(request, hostCode), entryRequest_(entryRequest), operation_(operation) {}

void AnswerPlaylistList::SendAnswer() {
  SendComputed(operation_, [&] {
    std::string delim = text::Trim(Param("delim"));
    std::int32_t n = AskPlayer(hostmsg::IPC_GETLISTLENGTH, 0);
    std::string reply;
    for (std::int32_t i = 0; i < n; ++i) {
      std::intptr_t r = Request.host.SendPlayerMessage(
          hostmsg::WM_HOST_USER, static_cast<std::uintptr_t>(i), entryRequest_);
      reply += r != 0 ? text::Trim(HostText(r)) : std::string("0");
      if (i != n - 1) reply += delim;
    }
    return reply;
  });
}

AnswerGETPLAYLISTFILE::AnswerGETPLAYLISTFILE(RequestContext& request, std::int32_t hostCode)
    : AnswerPlaylistList(request, hostCode, hostmsg::IPC_GETPLAYLISTFILE,
                         "AnswerGETPLAYLISTFILE::SendAnswer") {}

AnswerGETPLAYLISTTITLE::AnswerGETPLAYLISTTITLE(RequestContext& request, std::int32_t hostCode)
    : AnswerPlaylistList(request, hostCode, hostmsg::IPC_GETPLAYLISTTITLE,
                         "AnswerGETPLAYLISTTITLE::SendAnswer") {}

AnswerGETPLAYLISTFILEIDX::AnswerGETPLAYLISTFILEIDX(RequestContext& request, std::int32_t hostCode,
                                                   std::string paramName)
    : AnswerStandardParam(request, hostCode, std::move(paramName)) {
  ReplyIsText = true;
}

AnswerGETPLAYLISTTITLEIDX::AnswerGETPLAYLISTTITLEIDX(RequestContext& request, std::int32_t hostCode,
                                                     std::string paramName)
    : AnswerStandardParam(request, hostCode, std::move(paramName)) {
  ReplyIsText = true;
}

void AnswerSHOUTCAST_STATUS::SendAnswer() {
  SendComputed("AnswerSHOUTCAST_STATUS::SendAnswer", [&] {
    host::Window w = Request.host.FindWindowByTitle(hostmsg::kShoutcastTitle);
    if (w == host::kNoWindow) return std::string("0");
    return Request.host.ReadItemText(w, hostmsg::ID_SHOUTCAST_STATUS, hostmsg::kShoutcastBuffer);
  });
}

void AnswerVALIDATE_PASSWORD::SendAnswer() {
  SendComputed("AnswerVALIDATE_PASSWORD::SendAnswer", [&] {
    bool equal =
        text::EqualInConstantTime(text::Trim(Request.settings.password), text::Trim(Param("pass")));
    return std::string(equal ? "1" : "0");
  });
}

void AnswerGETINIFILE::SendAnswer() {
  SendComputed("AnswerGETINIFILE::SendAnswer", [&] { return AskPlayerText(HostCode, 0); });
}
