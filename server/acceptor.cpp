#include "server/acceptor.h"

#include <algorithm>
#include <chrono>

#include "base/log_sink.h"
#include "base/text.h"
#include "platform/clock.h"

Acceptor::Ticket Acceptor::Open(net::Socket listening, int receiveTimeoutMs) {
  auto gen = std::make_shared<Generation>(listening, receiveTimeoutMs, true);
  std::lock_guard<std::mutex> g(lock_);
  current_ = gen;
  return gen;
}

Acceptor::Ticket Acceptor::Failed() {
  auto gen = std::make_shared<Generation>(net::kInvalidSocket, 0, false);
  std::lock_guard<std::mutex> g(lock_);
  current_ = gen;
  return gen;
}

Acceptor::Ticket Acceptor::Close() {
  Ticket gen;
  {
    std::lock_guard<std::mutex> g(lock_);
    gen = std::move(current_);
    current_.reset();
    if (gen) {
      gen->open_ = false;
      gen->deferred_ = false;
    }
  }
  changed_.notify_all();
  return gen;
}

bool Acceptor::AwaitIdle(const Ticket& gen, std::int64_t deadlineMs) {
  if (!gen) return true;
  std::unique_lock<std::mutex> g(lock_);
  const auto left =
      std::chrono::milliseconds(std::max<std::int64_t>(0, deadlineMs - clk::SteadyMs()));
  return changed_.wait_for(g, left, [&] { return gen->waiting_ == 0; });
}

void Acceptor::Count(Generation& gen, int by) {
  gen.waiting_ += by;
  waiting_ += by;
  mostWaiting_ = std::max(mostWaiting_, waiting_);
}

bool Acceptor::Enlist(const Ticket& gen, bool first) {
  std::lock_guard<std::mutex> g(lock_);
  if (!gen->open_ && !first) return false;
  Count(*gen, 1);
  return true;
}

bool Acceptor::Accept(const Ticket& gen, net::Socket& client, std::string& peer, LogSink& log) {
  for (;;) {
    {
      std::lock_guard<std::mutex> g(lock_);
      if (!gen->open_) return false;
    }
    client = net::Accept(gen->listening, peer);
    const int error = client == net::kInvalidSocket ? net::LastError() : 0;
    AcceptRetry::Step step{};
    {
      std::lock_guard<std::mutex> g(lock_);
      // A client accepted just before the stop still gets its worker (with no successor).
      if (client != net::kInvalidSocket) {
        gen->retry_.Succeeded();
        Count(*gen, -1);
        changed_.notify_all();
        return true;
      }
      // The stop closed the socket: this generation is over, whatever has started since.
      if (!gen->open_) return false;
      step = gen->retry_.Failed(net::ClassifyAcceptError(error));
    }
    if (step.log) log.WriteLog("Accept fehlgeschlagen. Fehlercode: " + text::IntToStr(error));
    if (step.pauseMs > 0) {
      std::unique_lock<std::mutex> g(lock_);
      changed_.wait_for(g, std::chrono::milliseconds(step.pauseMs), [&] { return !gen->open_; });
    }
  }
}

void Acceptor::Leave(const Ticket& gen) {
  {
    std::lock_guard<std::mutex> g(lock_);
    Count(*gen, -1);
  }
  changed_.notify_all();
}

void Acceptor::Defer(const Ticket& gen) {
  std::lock_guard<std::mutex> g(lock_);
  if (gen->open_) gen->deferred_ = true;
}

Acceptor::Ticket Acceptor::TakeDeferred() {
  std::lock_guard<std::mutex> g(lock_);
  if (!current_ || !current_->open_ || !current_->deferred_) return nullptr;
  current_->deferred_ = false;
  Count(*current_, 1);
  return current_;
}

int Acceptor::Waiting() const {
  std::lock_guard<std::mutex> g(lock_);
  return waiting_;
}

int Acceptor::MostWaiting() const {
  std::lock_guard<std::mutex> g(lock_);
  return mostWaiting_;
}
