#include "control/answer_control.h"

// Command control is not built yet: the request is received, logged and tokenized, and the
// connection closed without an answer.
void AnswerControl::Evaluate() {
  (void)client_;
}
