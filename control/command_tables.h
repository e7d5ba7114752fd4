#pragma once
// The two command tables, in the order in which they are searched.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

class AnswerProtocol;
struct RequestContext;

struct CommandEntry {
  const char* name;  // upper case
  std::int32_t hostCode;
  const char* paramName;  // for the one-parameter answers, else ""
  // Builds the answer; nullptr when the request lacks what the class choice needs.
  std::unique_ptr<AnswerProtocol> (*make)(RequestContext& request, const CommandEntry& entry);
};

std::span<const CommandEntry> QueryTable();
std::span<const CommandEntry> ControlTable();
