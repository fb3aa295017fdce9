// The few system calls the V4L2 camera uses, as a table of function pointers: libv4l2's
// versions in the program (they convert YUYV and MJPEG to BGR24 for us), a fake device in the
// unit tests. Plain C++, no Qt.
#pragma once

#include <poll.h>

#include <cstddef>
#include <cstdint>

namespace lensora {

struct V4l2Io {
    int (*open)(const char* path, int flags) = nullptr;
    int (*close)(int fd) = nullptr;
    // Returns -1 and sets errno on failure, like ioctl(2).
    int (*ioctl)(int fd, unsigned long request, void* arg) = nullptr;
    void* (*mmap)(void* start, std::size_t length, int prot, int flags, int fd,
                  std::int64_t offset) = nullptr;
    int (*munmap)(void* start, std::size_t length) = nullptr;
    int (*poll)(pollfd* fds, nfds_t count, int timeoutMs) = nullptr;
};

// libv4l2 (v4l2_open, v4l2_ioctl, v4l2_mmap ...) and poll(2).
const V4l2Io& LibV4l2Io();

// ioctl that repeats on EINTR.
int XIoctl(const V4l2Io& io, int fd, unsigned long request, void* arg);

}  // namespace lensora
