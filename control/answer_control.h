#pragma once
// The per-request gatekeeper: access rules, then the command lookup and its answer.

class Connection;

class AnswerControl {
 public:
  explicit AnswerControl(Connection& client) : client_(client) {}
  void Evaluate();

 private:
  Connection& client_;
};
