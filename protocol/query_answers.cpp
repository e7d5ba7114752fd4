#include "protocol/query_answers.h"

#include "base/text.h"
#include "plugin/host_messages.h"
#include "plugin/interface.h"

void AnswerGETVOLUME::SendAnswer() {
  SendComputed("AnswerGETVOLUME::SendAnswer", [] {
    return text::IntToStr(AskPlayer(hostmsg::IPC_SETVOLUME, hostmsg::kVolumeQuery));
  });
}

void AnswerGETAUTOSERVICE::SendAnswer() {
  SendComputed("AnswerGETAUTOSERVICE::SendAnswer",
               [] { return std::string(PluginInterface->GetAutostart() == 1 ? "1" : "0"); });
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
               [] { return TitleOf(PluginInterface->ReadPlayerText(hostmsg::kTitleBuffer)); });
}

void AnswerGETID3TAG::SendAnswer() {
  Log("Methode (GETID3TAG) nicht implementiert");
  Send("0");
}

void AnswerGETMPEGINFO::SendAnswer() {
  Log("Methode (GETMPEGINFO) nicht implementiert");
  Send("0");
}

AnswerPlaylistList::AnswerPlaylistList(Connection* client, std::int32_t hostCode,
                                       std::int32_t entryRequest, const char* operation)
    : AnswerProtocol(client, hostCode), entryRequest_(entryRequest), operation_(operation) {}

void AnswerPlaylistList::SendAnswer() {
  SendComputed(operation_, [&] {
    std::string delim = text::Trim(Param("delim"));
    std::int32_t n = AskPlayer(hostmsg::IPC_GETLISTLENGTH, 0);
    std::string reply;
    for (std::int32_t i = 0; i < n; ++i) {
      std::intptr_t r = PluginInterface->SendPlayerMessage(
          hostmsg::WM_HOST_USER, static_cast<std::uintptr_t>(i), entryRequest_);
      reply += r != 0 ? text::Trim(Interface::HostText(r)) : std::string("0");
      if (i != n - 1) reply += delim;
    }
    return reply;
  });
}

AnswerGETPLAYLISTFILE::AnswerGETPLAYLISTFILE(Connection* client, std::int32_t hostCode)
    : AnswerPlaylistList(client, hostCode, hostmsg::IPC_GETPLAYLISTFILE,
                         "AnswerGETPLAYLISTFILE::SendAnswer") {}

AnswerGETPLAYLISTTITLE::AnswerGETPLAYLISTTITLE(Connection* client, std::int32_t hostCode)
    : AnswerPlaylistList(client, hostCode, hostmsg::IPC_GETPLAYLISTTITLE,
                         "AnswerGETPLAYLISTTITLE::SendAnswer") {}

AnswerGETPLAYLISTFILEIDX::AnswerGETPLAYLISTFILEIDX(Connection* client, std::int32_t hostCode,
                                                   std::string paramName)
    : AnswerStandardParam(client, hostCode, std::move(paramName)) {
  ReplyIsText = true;
}

AnswerGETPLAYLISTTITLEIDX::AnswerGETPLAYLISTTITLEIDX(Connection* client, std::int32_t hostCode,
                                                     std::string paramName)
    : AnswerStandardParam(client, hostCode, std::move(paramName)) {
  ReplyIsText = true;
}

void AnswerSHOUTCAST_STATUS::SendAnswer() {
  SendComputed("AnswerSHOUTCAST_STATUS::SendAnswer", [] {
    host::Window w = PluginInterface->FindWindowByTitle(hostmsg::kShoutcastTitle);
    if (w == host::kNoWindow) return std::string("0");
    return PluginInterface->ReadItemText(w, hostmsg::ID_SHOUTCAST_STATUS,
                                         hostmsg::kShoutcastBuffer);
  });
}

void AnswerVALIDATE_PASSWORD::SendAnswer() {
  SendComputed("AnswerVALIDATE_PASSWORD::SendAnswer", [&] {
    bool equal = text::Trim(PluginInterface->GetPassword()) == text::Trim(Param("pass"));
    return std::string(equal ? "1" : "0");
  });
}

void AnswerGETINIFILE::SendAnswer() {
  SendComputed("AnswerGETINIFILE::SendAnswer", [&] { return AskPlayerText(HostCode, 0); });
}
