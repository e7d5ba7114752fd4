// The request tokenizer and the parameter readers on raw request bytes: at least two tokens,
// every looked-up value is a piece of the request, and the number readers take any value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/text.h"
#include "protocol/token_string.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string request(reinterpret_cast<const char*>(data), size);
  TokenString tokens;
  tokens.Parse(request);
  if (tokens.Count() < 2) std::abort();
  (void)tokens.GetToken(1);
  for (const char* name : {"p", "index", "delim", "band", "level", "ms", "file", "enable"}) {
    const std::string value = tokens.GetParameter(name, false);
    if (request.find(value) == std::string::npos) std::abort();
    (void)text::LenientInt(value);
    (void)text::ParseInt(text::Trim(value));
  }
  tokens.Reset();
  if (tokens.Count() != 0) std::abort();
  return 0;
}
