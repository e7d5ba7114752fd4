#include "protocol/control_answers.h"

#include "base/text.h"
#include "protocol/host_messages.h"
#include "protocol/request_context.h"

void AnswerEXEC_VISUAL::SendAnswer() {
  SendComputed("AnswerEXEC_VISUAL::SendAnswer", [&] {
    auto r = Request.host.SendPlayerMessage(hostmsg::WM_COMMAND, hostmsg::ID_EXEC_VISUAL, 0);
    return text::IntToStr(static_cast<std::int32_t>(r));
  });
}

void AnswerDELETEPOS::SendAnswer() {
  std::string reply = "0";
  try {
    std::int32_t index = text::LenientInt(Param("index"));
    host::Window playlist = Request.host.FindWindowByClass(hostmsg::kPlaylistClass);
    std::int32_t n = AskPlayer(hostmsg::IPC_GETLISTLENGTH, 0);
    if (playlist != host::kNoWindow && index >= 0 && index < n) {
      Request.host.SendWindowMessage(playlist, hostmsg::WM_HOST_USER,
                                     hostmsg::PLAYLIST_DELETE_ENTRY, index);
      reply = "1";
    }
  } catch (...) {
    reply = "0";
  }
  Send(reply);
}

void AnswerCHDIR::SendAnswer() {
  SendComputed("AnswerCHDIR::SendAnswer", [&] {
    std::string dir = Param("dir");
    Log("Server: Setze Pfad auf (" + dir + ")");
    auto r = Request.host.SendPlayerCopyData(hostmsg::IPC_CHDIR, dir);
    return text::IntToStr(static_cast<std::int32_t>(r));
  });
}

void AnswerPLAYFILE::SendAnswer() {
  SendComputed("AnswerPLAYFILE::SendAnswer", [&] {
    auto r = Request.host.SendPlayerCopyData(hostmsg::IPC_PLAYFILE, Param("file"));
    return text::IntToStr(static_cast<std::int32_t>(r));
  });
}

void AnswerSETAUTOSERVICE::SendAnswer() {
  SendComputed("AnswerSETAUTOSERVICE::SendAnswer", [&] {
    std::int32_t enable = text::LenientInt(Param("enable"));
    if (enable != 0 && enable != 1) enable = 0;
    Request.host.SetAutostart(enable);
    return text::IntToStr(enable);
  });
}

void AnswerSETEQDATA::SendAnswer() {
  SendComputed("AnswerSETEQDATA::SendAnswer", [&] {
    std::int32_t band = text::LenientInt(Param("band"));
    std::int32_t level = text::LenientInt(Param("level"));
    AskPlayer(hostmsg::IPC_GETEQDATA, band);  // selects the band that the next request sets
    return text::IntToStr(AskPlayer(hostmsg::IPC_SETEQDATA, level));
  });
}

void AnswerSHOUTCAST_CONNECT::SendAnswer() {
  SendComputed("AnswerSHOUTCAST_CONNECT::SendAnswer", [&] {
    host::Window w = Request.host.FindWindowByTitle(hostmsg::kShoutcastTitle);
    if (w == host::kNoWindow) return std::string("0");
    Request.host.SendWindowMessage(w, hostmsg::WM_COMMAND, hostmsg::ID_SHOUTCAST_CONNECT, 0);
    return Request.host.ReadItemText(w, hostmsg::ID_SHOUTCAST_CONNECT, hostmsg::kShoutcastBuffer);
  });
}

void AnswerSETPLAYLISTPOS::SendAnswer() {
  std::string reply = "0";
  try {
    std::string v = text::Trim(Param(ParamName));
    auto index = text::ParseInt(v);
    if (index) {
      std::int32_t n = AskPlayer(hostmsg::IPC_GETLISTLENGTH, 0);
      if (*index >= 0 && *index < n) {
        AskPlayer(HostCode, *index);
        reply = "1";
      }
    }
  } catch (...) {
    reply = "0";
  }
  Send(reply);
}
