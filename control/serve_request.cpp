#include "control/serve_request.h"

#include "control/answer_control.h"
#include "protocol/request_context.h"

void ServeRequest(const std::string& received, const std::string& clientAddress,
                  RequestContext& request, PasswordBackoff* backoff) {
  RequestHost& host = request.host;
  std::string text = received.substr(0, received.find('\0'));
  host.WriteLog("Erhalten: " + text);
  host.WriteLog("Inputstring auswerten");
  request.tokens.Parse(text);
  host.WriteLog("Commando ausf\xFChren");
  AnswerControl(request, clientAddress, backoff).Evaluate();
}
