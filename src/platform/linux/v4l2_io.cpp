#include "platform/linux/v4l2_io.h"

#include <libv4l2.h>

#include <cerrno>

namespace lensora {
namespace {

int Open(const char* path, int flags) {
    return v4l2_open(path, flags);
}
int Close(int fd) {
    return v4l2_close(fd);
}
int Ioctl(int fd, unsigned long request, void* arg) {
    return v4l2_ioctl(fd, request, arg);
}
void* Mmap(void* start, std::size_t length, int prot, int flags, int fd, std::int64_t offset) {
    return v4l2_mmap(start, length, prot, flags, fd, offset);
}
int Munmap(void* start, std::size_t length) {
    return v4l2_munmap(start, length);
}
int Poll(pollfd* fds, nfds_t count, int timeoutMs) {
    return ::poll(fds, count, timeoutMs);
}

}  // namespace

const V4l2Io& LibV4l2Io() {
    static const V4l2Io io{Open, Close, Ioctl, Mmap, Munmap, Poll};
    return io;
}

int XIoctl(const V4l2Io& io, int fd, unsigned long request, void* arg) {
    int r;
    do {
        r = io.ioctl(fd, request, arg);
    } while (r == -1 && errno == EINTR);
    return r;
}

}  // namespace lensora
