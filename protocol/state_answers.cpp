#include "protocol/state_answers.h"

#include <optional>

#include "base/text.h"
#include "protocol/request_context.h"
#include "protocol/state_watch.h"

namespace {

// A counter as a client sent it back: decimal digits, nothing else.
std::optional<std::int64_t> CounterOf(const std::string& value) {
  const std::string v = text::Trim(value);
  if (!text::IsDigits(v) || v.size() > 18) return std::nullopt;
  return std::stoll(v);
}

// Without a watch (a request served outside a running server) the state counts 0.
std::string Unwatched(RequestContext& request) {
  return StateText(0, ReadPlayerState(request.host));
}

}  // namespace

void AnswerGETSTATE::SendAnswer() {
  SendComputed("AnswerGETSTATE::SendAnswer", [&] {
    if (Request.watch == nullptr) return Unwatched(Request);
    const StateWatch::Snapshot now = Request.watch->Current();
    return StateText(now.counter, now.state);
  });
}

int AnswerWAITCHANGE::TimeoutSeconds(const std::string& value) {
  const std::optional<std::int32_t> s = text::ParseInt(text::Trim(value));
  if (!s) return kDefaultTimeoutS;
  if (*s < 1) return 1;
  return *s > kMostTimeoutS ? kMostTimeoutS : *s;
}

void AnswerWAITCHANGE::SendAnswer() {
  SendComputed("AnswerWAITCHANGE::SendAnswer", [&] {
    if (Request.watch == nullptr) return Unwatched(Request);
    const std::optional<std::int64_t> since =
        CounterOf(Request.tokens.GetParameter("since", false));
    const int timeoutMs = TimeoutSeconds(Request.tokens.GetParameter("timeout", false)) * 1000;
    // The request's lines are in the log before it waits, not a minute later.
    Request.host.Flush();
    ReplySink* reply = Request.reply;
    const StateWatch::Snapshot now = Request.watch->WaitChange(
        since, timeoutMs, [reply] { return reply != nullptr && reply->ClientGone(); });
    return StateText(now.counter, now.state);
  });
}
