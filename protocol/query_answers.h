#pragma once
// Answers to the commands that report the player's state or the plug-in's own settings.

#include "protocol/answer_protocol.h"

// Plain player requests: the host's number for request HostCode with data 0.
#define VELOTAM_PLAIN_ANSWER(Name)             \
  class Answer##Name : public AnswerProtocol { \
   public:                                     \
    using AnswerProtocol::AnswerProtocol;      \
  };
VELOTAM_PLAIN_ANSWER(GETLISTLENGTH)
VELOTAM_PLAIN_ANSWER(GETLISTPOS)
VELOTAM_PLAIN_ANSWER(GETVERSION)
VELOTAM_PLAIN_ANSWER(INTERNET)
VELOTAM_PLAIN_ANSWER(ISPLAYING)
VELOTAM_PLAIN_ANSWER(REPEAT_STATUS)
VELOTAM_PLAIN_ANSWER(SHUFFLE_STATUS)
VELOTAM_PLAIN_ANSWER(UPDATECURRENTTITLE)
VELOTAM_PLAIN_ANSWER(FLUSHPLAYLIST)
#undef VELOTAM_PLAIN_ANSWER

class AnswerGETVOLUME : public AnswerProtocol {
 public:
  using AnswerProtocol::AnswerProtocol;
  void SendAnswer() override;
};

class AnswerGETAUTOSERVICE : public AnswerProtocol {
 public:
  using AnswerProtocol::AnswerProtocol;
  void SendAnswer() override;
};

// The main window's title without the trailing "- Winamp" and what follows it.
class AnswerGETCURRENTTITLE : public AnswerProtocol {
 public:
  using AnswerProtocol::AnswerProtocol;
  void SendAnswer() override;
  static std::string TitleOf(const std::string& windowText);
};

class AnswerGETEQDATA : public AnswerStandardParam {
 public:
  using AnswerStandardParam::AnswerStandardParam;
  bool IsInvalid(std::int32_t value) override { return value < 0 || value > 12; }
};

// Stream information (sample rate, bit rate, channels): the default range 0 to 2.
class AnswerGETINFO : public AnswerStandardParam {
 public:
  using AnswerStandardParam::AnswerStandardParam;
};

class AnswerGETOUTPUTTIME : public AnswerStandardParam {
 public:
  using AnswerStandardParam::AnswerStandardParam;
  bool IsInvalid(std::int32_t value) override { return value < 0 || value > 1; }
};

// Not offered: logged and answered "0".
class AnswerGETID3TAG : public AnswerProtocol {
 public:
  using AnswerProtocol::AnswerProtocol;
  void SendAnswer() override;
};

class AnswerGETMPEGINFO : public AnswerProtocol {
 public:
  using AnswerProtocol::AnswerProtocol;
  void SendAnswer() override;
};

// The whole playlist's file names or titles, joined by the "delim" parameter.
class AnswerPlaylistList : public AnswerProtocol {
 public:
  AnswerPlaylistList(RequestContext& request, std::int32_t hostCode, std::int32_t entryRequest,
                     const char* operation);
  void SendAnswer() override;

 private:
  std::int32_t entryRequest_;
  const char* operation_;
};

class AnswerGETPLAYLISTFILE : public AnswerPlaylistList {
 public:
  AnswerGETPLAYLISTFILE(RequestContext& request, std::int32_t hostCode);
};

class AnswerGETPLAYLISTTITLE : public AnswerPlaylistList {
 public:
  AnswerGETPLAYLISTTITLE(RequestContext& request, std::int32_t hostCode);
};

// One entry's file name or title; the player returns a text reference.
class AnswerGETPLAYLISTFILEIDX : public AnswerStandardParam {
 public:
  AnswerGETPLAYLISTFILEIDX(RequestContext& request, std::int32_t hostCode, std::string paramName);
  bool IsInvalid(std::int32_t value) override { return value < 0; }
};

class AnswerGETPLAYLISTTITLEIDX : public AnswerStandardParam {
 public:
  AnswerGETPLAYLISTTITLEIDX(RequestContext& request, std::int32_t hostCode, std::string paramName);
  bool IsInvalid(std::int32_t value) override { return value < 0; }
};

class AnswerSHOUTCAST_STATUS : public AnswerProtocol {
 public:
  using AnswerProtocol::AnswerProtocol;
  void SendAnswer() override;
};

class AnswerVALIDATE_PASSWORD : public AnswerProtocol {
 public:
  using AnswerProtocol::AnswerProtocol;
  void SendAnswer() override;
};

class AnswerGETINIFILE : public AnswerProtocol {
 public:
  using AnswerProtocol::AnswerProtocol;
  void SendAnswer() override;
};
