#include "control/command_tables.h"

#include <type_traits>

#include "protocol/control_answers.h"
#include "protocol/host_messages.h"
#include "protocol/query_answers.h"
#include "protocol/request_context.h"
#include "protocol/state_answers.h"

namespace {

using namespace hostmsg;

template <typename Answer>
std::unique_ptr<AnswerProtocol> Make(RequestContext& request, const CommandEntry& e) {
  if constexpr (std::is_base_of_v<AnswerStandardParam, Answer>) {
    return std::make_unique<Answer>(request, e.hostCode, e.paramName);
  } else {
    return std::make_unique<Answer>(request, e.hostCode);
  }
}

// The playlist queries answer the whole list when "delim" is given, else the one entry of
// "index"; a value of blanks counts as given.
template <typename ListAnswer, typename IndexAnswer>
std::unique_ptr<AnswerProtocol> MakePlaylist(RequestContext& request, const CommandEntry& e) {
  const TokenString& tokens = request.tokens;
  if (!tokens.GetParameter("delim", false).empty()) {
    return std::make_unique<ListAnswer>(request, 0);
  }
  if (!tokens.GetParameter("index", false).empty()) {
    return std::make_unique<IndexAnswer>(request, e.hostCode, "index");
  }
  request.host.WriteLog("Abbruch, da Parameter (delim) oder (index) fehlen");
  return nullptr;
}

const CommandEntry kQueries[] = {
    {"GETLISTLENGTH", IPC_GETLISTLENGTH, "", &Make<AnswerGETLISTLENGTH>},
    {"GETLISTPOS", IPC_GETLISTPOS, "", &Make<AnswerGETLISTPOS>},
    {"GETVERSION", IPC_GETVERSION, "", &Make<AnswerGETVERSION>},
    {"GETVOLUME", IPC_SETVOLUME, "", &Make<AnswerGETVOLUME>},
    {"INTERNET", IPC_INETAVAILABLE, "", &Make<AnswerINTERNET>},
    {"ISPLAYING", IPC_ISPLAYING, "", &Make<AnswerISPLAYING>},
    {"REPEAT_STATUS", IPC_GET_REPEAT, "", &Make<AnswerREPEAT_STATUS>},
    {"SHUFFLE_STATUS", IPC_GET_SHUFFLE, "", &Make<AnswerSHUFFLE_STATUS>},
    {"UPDATECURRENTTITLE", IPC_UPDTITLE, "", &Make<AnswerUPDATECURRENTTITLE>},
    {"FLUSHPLAYLIST", IPC_REFRESHPLCACHE, "", &Make<AnswerFLUSHPLAYLIST>},
    {"GETAUTOSERVICE", 0, "", &Make<AnswerGETAUTOSERVICE>},
    {"GETCURRENTTITLE", 0, "", &Make<AnswerGETCURRENTTITLE>},
    {"GETEQDATA", IPC_GETEQDATA, "band", &Make<AnswerGETEQDATA>},
    {"GETID3TAG", 0, "", &Make<AnswerGETID3TAG>},
    {"GETINFO", IPC_GETINFO, "info", &Make<AnswerGETINFO>},
    {"GETMPEGINFO", 0, "", &Make<AnswerGETMPEGINFO>},
    {"GETOUTPUTTIME", IPC_GETOUTPUTTIME, "frmt", &Make<AnswerGETOUTPUTTIME>},
    {"GETPLAYLISTFILE", IPC_GETPLAYLISTFILE, "index",
     &MakePlaylist<AnswerGETPLAYLISTFILE, AnswerGETPLAYLISTFILEIDX>},
    {"GETPLAYLISTTITLE", IPC_GETPLAYLISTTITLE, "index",
     &MakePlaylist<AnswerGETPLAYLISTTITLE, AnswerGETPLAYLISTTITLEIDX>},
    {"SHOUTCAST_STATUS", 0, "", &Make<AnswerSHOUTCAST_STATUS>},
    {"VALIDATE_PASSWORD", 0, "", &Make<AnswerVALIDATE_PASSWORD>},
    {"GETINIFILE", IPC_GETINIFILE, "", &Make<AnswerGETINIFILE>},
    {"GETSTATE", 0, "", &Make<AnswerGETSTATE>},
    {"WAITCHANGE", 0, "", &Make<AnswerWAITCHANGE>},
};

const CommandEntry kControls[] = {
    {"DELETE", IPC_DELETE, "", &Make<AnswerDELETE>},
    {"DELETEPOS", 0, "", &Make<AnswerDELETEPOS>},
    {"CHDIR", 0, "", &Make<AnswerCHDIR>},
    {"EXEC_VISUAL", 0, "", &Make<AnswerEXEC_VISUAL>},
    {"FADEOUTANDSTOP", ID_FADEOUTANDSTOP, "", &Make<AnswerFADEOUTANDSTOP>},
    {"NEXT", ID_NEXT, "", &Make<AnswerNEXT>},
    {"PAUSE", ID_PAUSE, "", &Make<AnswerPAUSE>},
    {"PLAY", ID_PLAY, "", &Make<AnswerPLAY>},
    {"PREV", ID_PREV, "", &Make<AnswerPREV>},
    {"STOP", ID_STOP, "", &Make<AnswerSTOP>},
    {"RESTART", IPC_RESTARTWINAMP, "", &Make<AnswerRESTART>},
    {"VOLUMEDOWN", ID_VOLUMEDOWN, "", &Make<AnswerVOLUMEDOWN>},
    {"VOLUMEUP", ID_VOLUMEUP, "", &Make<AnswerVOLUMEUP>},
    {"JUMPTOTIME", IPC_JUMPTOTIME, "ms", &Make<AnswerJUMPTOTIME>},
    {"PLAYFILE", 0, "", &Make<AnswerPLAYFILE>},
    {"SETAUTOSERVICE", 0, "", &Make<AnswerSETAUTOSERVICE>},
    {"SETEQDATA", 0, "", &Make<AnswerSETEQDATA>},
    {"SETPLAYLISTPOS", IPC_SETPLAYLISTPOS, "index", &Make<AnswerSETPLAYLISTPOS>},
    {"SETVOLUME", IPC_SETVOLUME, "level", &Make<AnswerSETVOLUME>},
    {"SHOUTCAST_CONNECT", 0, "", &Make<AnswerSHOUTCAST_CONNECT>},
    {"SHUFFLE", IPC_SET_SHUFFLE, "enable", &Make<AnswerSHUFFLE>},
};

}  // namespace

std::span<const CommandEntry> QueryTable() {
  return kQueries;
}

std::span<const CommandEntry> ControlTable() {
  return kControls;
}
