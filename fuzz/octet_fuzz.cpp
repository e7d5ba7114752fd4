// The IP address dialog's octet rule: a text that comes out as digits is at most 255 and stays
// as it is when normalised again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/text.h"
#include "ui/ip_address_dlg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string once =
      TOKBottomDlg::NormalizeOctet(std::string(reinterpret_cast<const char*>(data), size));
  if (text::IsDigits(once)) {
    auto v = text::ParseInt(once);
    if (!v || *v > 255) std::abort();
    if (TOKBottomDlg::NormalizeOctet(once) != once) std::abort();
  }
  return 0;
}
