#include "protocol/token_string.h"

void TokenString::Reset() {
  List.Clear();
  queryOnly_ = false;
}

void TokenString::AddToken(const std::string& token) {
  List.Add(token);
}

void TokenString::Parse(const std::string& request) {
  std::string rest = request.size() > 5 ? request.substr(5) : std::string();
  if (request.size() >= 6 && request.compare(4, 2, "/?") == 0) queryOnly_ = true;
  std::size_t p = rest.find("HTTP/");
  if (p != std::string::npos) rest.erase(p);
  p = rest.find('?');
  if (p == std::string::npos) {
    AddToken(std::string());
  } else {
    AddToken(rest.substr(0, p));
    rest.erase(0, p + 1);
  }
  while ((p = rest.find('&')) != std::string::npos) {
    AddToken(rest.substr(0, p));
    rest.erase(0, p + 1);
  }
  AddToken(rest);
}

std::string TokenString::GetToken(int index) const {
  const std::string* token = List.Find(index);
  return token != nullptr ? *token : std::string();
}

std::string TokenString::GetParameter(const std::string& name, bool logIfMissing) const {
  try {
    if (List.Count() == 0) return std::string();
    const std::string key = name + "=";
    for (const auto* n = List.First(); n != nullptr; n = n->Next) {
      const std::string& token = n->Item;
      if (token.find(key) != std::string::npos) return token.substr(token.find('=') + 1);
    }
    if (logIfMissing) Log("Parameter (" + name + ") nicht gefunden");
  } catch (...) {
    Log("unbekannter fehler in tokenstring");
  }
  return std::string();
}

void TokenString::Log(const std::string& line) const {
  if (log_ != nullptr) log_->WriteLog(line);
}
