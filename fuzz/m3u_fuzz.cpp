// The playlist reader: any bytes read without a fault, the encoding and line ends included.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sim/m3u.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  (void)sim::ReadM3u(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
