#pragma once
// Splits one request into its command and its parameters and looks parameters up by name.
// There is no URL decoding: every character reaches the command and the values as received.

#include <string>

#include "base/log_sink.h"
#include "protocol/objekt_liste.h"

class TokenString {
 public:
  // log takes the missing-parameter lines; null: they are not logged.
  explicit TokenString(LogSink* log = nullptr) : log_(log) {}
  TokenString(const TokenString&) = delete;
  TokenString& operator=(const TokenString&) = delete;

  void Reset();
  // Appends the tokens of the request text (each request has a store of its own, which starts
  // empty; Reset empties a store for another text).
  void Parse(const std::string& request);
  // The token with this 1-based index; the empty text outside 1 to Count.
  std::string GetToken(int index) const;
  // The value after the first "=" of the first token containing name + "="; the empty text when
  // missing (logged when logIfMissing is set).
  std::string GetParameter(const std::string& name, bool logIfMissing) const;

  int Count() const { return List.Count(); }
  // True when the target is only a query: the request line goes on with "/?" after its method
  // ("GET /?p=..."), so the command is empty because nothing stands before the "?".
  bool TargetIsQueryOnly() const { return queryOnly_; }

 private:
  void AddToken(const std::string& token);
  void Log(const std::string& line) const;

  LogSink* log_;
  bool queryOnly_ = false;
  ObjektListe<std::string> List;
};
