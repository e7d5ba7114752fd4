#pragma once
// The remote control for the browser: one self-contained page (styles and script inside, no
// other resources), sent for a target that is only a query ("GET /?p=...") once the address
// and the password have passed. Its script uses the ordinary commands with the password of
// its own address.

#include "protocol/answer_protocol.h"

// The page's bytes (ASCII: the German letters are written as entities and escapes).
extern const char* const kRemotePage;

class AnswerRemotePage : public AnswerProtocol {
 public:
  using AnswerProtocol::AnswerProtocol;
  // Sends the page with an HTTP header whatever the header switch says (a browser needs one)
  // and logs "Fernbedienung gesendet" instead of the page's text.
  void SendAnswer() override;
};
