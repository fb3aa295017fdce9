// Keeps the program to one running instance per user: an exclusive, non-blocking lock on a
// lock file in the runtime folder, held until the object is destroyed. Not Qt-dependent.
#pragma once

#include <string>

namespace lensora {

inline constexpr const char* kInstanceLockName = "{1C6780D1-4078-41fa-8F5F-8FCC82BD15DD}";

class SingleInstanceLock {
  public:
    // `folder` empty: $XDG_RUNTIME_DIR, else the temporary folder.
    explicit SingleInstanceLock(const std::string& folder = {});
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // False when another process holds the lock.
    bool Acquired() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

}  // namespace lensora
