#pragma once
// Answers to the commands that change the player's state, its playlist, its equaliser, the
// SHOUTcast source or the plug-in's autostart setting.

#include "protocol/answer_protocol.h"

// The player's buttons: the command message with HostCode, reply "NULL".
#define VELOTAM_BUTTON_ANSWER(Name)               \
  class Answer##Name : public AnswerPRESSBUTTON { \
   public:                                        \
    using AnswerPRESSBUTTON::AnswerPRESSBUTTON;   \
  };
VELOTAM_BUTTON_ANSWER(PLAY)
VELOTAM_BUTTON_ANSWER(PAUSE)
VELOTAM_BUTTON_ANSWER(STOP)
VELOTAM_BUTTON_ANSWER(NEXT)
VELOTAM_BUTTON_ANSWER(PREV)
VELOTAM_BUTTON_ANSWER(VOLUMEUP)
VELOTAM_BUTTON_ANSWER(VOLUMEDOWN)
VELOTAM_BUTTON_ANSWER(FADEOUTANDSTOP)
#undef VELOTAM_BUTTON_ANSWER

// Clearing the playlist and restarting the player: plain requests with data 0.
class AnswerDELETE : public AnswerProtocol {
 public:
  using AnswerProtocol::AnswerProtocol;
};

class AnswerRESTART : public AnswerProtocol {
 public:
  using AnswerProtocol::AnswerProtocol;
};

class AnswerEXEC_VISUAL : public AnswerProtocol {
 public:
  using AnswerProtocol::AnswerProtocol;
  void SendAnswer() override;
};

class AnswerDELETEPOS : public AnswerProtocol {
 public:
  using AnswerProtocol::AnswerProtocol;
  void SendAnswer() override;
};

class AnswerCHDIR : public AnswerProtocol {
 public:
  using AnswerProtocol::AnswerProtocol;
  void SendAnswer() override;
};

class AnswerPLAYFILE : public AnswerProtocol {
 public:
  using AnswerProtocol::AnswerProtocol;
  void SendAnswer() override;
};

class AnswerSETAUTOSERVICE : public AnswerProtocol {
 public:
  using AnswerProtocol::AnswerProtocol;
  void SendAnswer() override;
};

class AnswerSETEQDATA : public AnswerProtocol {
 public:
  using AnswerProtocol::AnswerProtocol;
  void SendAnswer() override;
};

class AnswerSHOUTCAST_CONNECT : public AnswerProtocol {
 public:
  using AnswerProtocol::AnswerProtocol;
  void SendAnswer() override;
};

class AnswerJUMPTOTIME : public AnswerStandardParam {
 public:
  using AnswerStandardParam::AnswerStandardParam;
  bool IsInvalid(std::int32_t value) override { return value < 0; }
};

class AnswerSETVOLUME : public AnswerStandardParam {
 public:
  using AnswerStandardParam::AnswerStandardParam;
  bool IsInvalid(std::int32_t value) override { return value < 0 || value > 255; }
};

class AnswerSHUFFLE : public AnswerStandardParam {
 public:
  using AnswerStandardParam::AnswerStandardParam;
  bool IsInvalid(std::int32_t value) override { return value < 0 || value > 1; }
};

// Checks the index against the playlist length itself before moving there.
class AnswerSETPLAYLISTPOS : public AnswerStandardParam {
 public:
  using AnswerStandardParam::AnswerStandardParam;
  void SendAnswer() override;
};
