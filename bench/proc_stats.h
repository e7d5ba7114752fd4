#pragma once
// A server process's CPU time and resident size, read from /proc.

#include <sys/types.h>

#include <cstdint>

namespace bench {

// User plus system time in microseconds; -1 when the process cannot be read.
int64_t CpuMicroseconds(pid_t pid);
// VmRSS in kilobytes; -1 when the process cannot be read.
int64_t RssKilobytes(pid_t pid);

}  // namespace bench
