#include "cli/io.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace linkcalc::cli {
namespace {

std::string Quoted(const std::string& path) {
    return path == "-" ? std::string("standard input") : "\"" + path + "\"";
}

}  // namespace

std::string SystemReason(int error) {
    return std::strerror(error);
}

std::size_t TextSource::Read(char* buffer, std::size_t size) {
    const std::size_t count = std::min(size, text_.size());
    std::copy_n(text_.data(), count, buffer);
    text_.remove_prefix(count);
    return count;
}

FileSource::FileSource(const std::string& path) : name_(Quoted(path)) {
    if (path == "-") {
        fd_ = STDIN_FILENO;
    } else {
        do {
            fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        } while (fd_ < 0 && errno == EINTR);
        if (fd_ < 0) {
            throw IoError(IoError::Kind::CannotOpen,
                          "cannot open " + name_ + ": " + SystemReason(errno));
        }
        owned_ = true;
    }
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        const int error = errno;
        if (owned_) ::close(fd_);
        throw IoError(IoError::Kind::CannotOpen,
                      "cannot open " + name_ + ": " + SystemReason(error));
    }
    if (S_ISDIR(info.st_mode)) {
        if (owned_) ::close(fd_);
        throw IoError(IoError::Kind::CannotOpen,
                      "cannot open " + name_ + ": " + SystemReason(EISDIR));
    }
}

FileSource::~FileSource() {
    if (owned_) ::close(fd_);
}

std::size_t FileSource::Read(char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t count = ::read(fd_, buffer, size);
        if (count >= 0) return static_cast<std::size_t>(count);
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {  // a non-blocking descriptor handed to us
            pollfd wait{fd_, POLLIN, 0};
            ::poll(&wait, 1, -1);
            continue;
        }
        throw IoError(IoError::Kind::ReadOrWrite,
                      "cannot read " + name_ + ": " + SystemReason(errno));
    }
}

bool FileSource::ReadableWithin(int milliseconds) {
    pollfd wait{fd_, POLLIN, 0};
    for (;;) {
        const int ready = ::poll(&wait, 1, milliseconds);
        if (ready >= 0) return ready > 0;
        if (errno != EINTR) return true;  // let the read report it
    }
}

void StandardOutput::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (count >= 0) {
            bytes.remove_prefix(static_cast<std::size_t>(count));
            continue;
        }
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            pollfd wait{STDOUT_FILENO, POLLOUT, 0};
            ::poll(&wait, 1, -1);
            continue;
        }
        throw IoError(IoError::Kind::ReadOrWrite,
                      "cannot write standard output: " + SystemReason(errno));
    }
}

}  // namespace linkcalc::cli
