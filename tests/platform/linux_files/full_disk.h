// A full disk for the lifetime of a TFullDisk: files may grow to `bytes` only,
// and a write past that fails with EFBIG instead of ending the process.
#pragma once

#include <csignal>
#include <sys/resource.h>

class TFullDisk {
 public:
  explicit TFullDisk(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    const rlimit limit{bytes, saved_.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, SIG_IGN);
  }
  ~TFullDisk() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, SIG_DFL);
  }
  TFullDisk(const TFullDisk&) = delete;
  TFullDisk& operator=(const TFullDisk&) = delete;

 private:
  rlimit saved_{};
};
