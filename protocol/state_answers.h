#pragma once
// The whole state in one reply (GETSTATE), and the long-poll that answers it when something
// changes (WAITCHANGE?since=N&timeout=S): one request, one answer, one worker, as ever.

#include "protocol/answer_protocol.h"

class AnswerGETSTATE : public AnswerProtocol {
 public:
  using AnswerProtocol::AnswerProtocol;
  void SendAnswer() override;
};

class AnswerWAITCHANGE : public AnswerProtocol {
 public:
  static constexpr int kDefaultTimeoutS = 20;
  static constexpr int kMostTimeoutS = 60;

  using AnswerProtocol::AnswerProtocol;
  void SendAnswer() override;
  // The wait in seconds: missing or no number gives the default, the rest is clamped to 1-60.
  static int TimeoutSeconds(const std::string& value);
};
