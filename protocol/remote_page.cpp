#include "protocol/remote_page.h"

#include "protocol/request_context.h"

void AnswerRemotePage::SendAnswer() {
  bool sent = false;
  try {
    const std::string page = kRemotePage;
    sent = Request.reply != nullptr &&
           Request.reply->SendAll(HttpHeader(page.size(), "text/html; charset=iso-8859-1") + page);
  } catch (...) {
    sent = false;
  }
  if (!sent) Log("fehler beim senden");
  Log("Fernbedienung gesendet");
}
