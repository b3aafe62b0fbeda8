#include "planning/output_file.h"

#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <pthread.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>

namespace linkcalc::planning {
namespace {

// The temporary files not yet committed, in a table a signal handler can read: fixed room, no
// allocation, states changed atomically.
constexpr int kSlots = 32;
enum SlotState : int { kFree, kClaimed, kLive };
struct Slot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX];
};
Slot slots[kSlots];
static_assert(std::atomic<int>::is_always_lock_free);

// A handler waits for the creations under way to register their files; once it has begun, no
// creation starts.
std::atomic<int> creating{0};
std::atomic<bool> ending{false};

constexpr std::array kCleanupSignals{SIGINT, SIGTERM, SIGHUP, SIGPIPE};

extern "C" void RemoveTemporariesAndEnd(int signal) {
    ending.store(true);
    // A creating thread has these signals blocked, so it is another thread, and it is quick.
    for (int i = 0; i < 2000 && creating.load() != 0; ++i) ::poll(nullptr, 0, 1);
    for (Slot& slot : slots) {
        if (slot.state.load() == kLive) ::unlink(slot.path);
    }
    ::signal(signal, SIG_DFL);
    ::raise(signal);  // delivered as the handler returns, with the signal unblocked
}

// Keeps the cleanup signals from this thread while a temporary file is created and registered.
class CreationGuard {
  public:
    CreationGuard() {
        sigset_t blocked;
        sigemptyset(&blocked);
        for (const int signal : kCleanupSignals) sigaddset(&blocked, signal);
        pthread_sigmask(SIG_BLOCK, &blocked, &saved_);
        creating.fetch_add(1);
    }
    ~CreationGuard() {
        creating.fetch_sub(1);
        pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
    }
    CreationGuard(const CreationGuard&) = delete;
    CreationGuard& operator=(const CreationGuard&) = delete;

  private:
    sigset_t saved_;
};

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string BaseOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The path the last part of `path` leads to through its symbolic links; the error of a link
// that cannot be read, or ELOOP.
int FollowLinks(std::string& path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return 0;
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) return errno;
        if (static_cast<std::size_t>(length) >= target.size()) return ENAMETOOLONG;
        target.resize(static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : DirectoryOf(path) + target;
    }
    return ELOOP;
}

// Six letters and digits for a temporary name.
std::string RandomSuffix() {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::array<unsigned char, 6> bytes{};
    if (::getrandom(bytes.data(), bytes.size(), GRND_NONBLOCK) !=
        static_cast<ssize_t>(bytes.size())) {
        static std::atomic<unsigned> counter{0};
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        unsigned mix = static_cast<unsigned>(now.tv_nsec) ^ (counter.fetch_add(1) * 2654435761U) ^
                       static_cast<unsigned>(::getpid());
        for (unsigned char& byte : bytes) {
            byte = static_cast<unsigned char>(mix);
            mix = mix * 1103515245U + 12345U;
        }
    }
    std::string suffix;
    for (const unsigned char byte : bytes) suffix += kLetters[byte % (sizeof kLetters - 1)];
    return suffix;
}

// Creates a file beside `target` with `mode` (less the umask), registered for removal on a
// signal; its descriptor and slot, or the error.
int CreateTemporary(const std::string& target, mode_t mode, std::string& temporary, int& slot) {
    // Room for ".XXXXXX" within a name's longest length.
    const std::string stem = DirectoryOf(target) + BaseOf(target).substr(0, NAME_MAX - 7) + ".";
    if (stem.size() + 6 >= PATH_MAX) return ENAMETOOLONG;
    const CreationGuard guard;
    if (ending.load()) return EINTR;
    slot = -1;
    for (int i = 0; i < kSlots && slot < 0; ++i) {
        int expected = kFree;
        if (slots[i].state.compare_exchange_strong(expected, kClaimed)) slot = i;
    }
    if (slot < 0) return EMFILE;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = stem + RandomSuffix();
        std::memcpy(slots[slot].path, temporary.c_str(), temporary.size() + 1);
        const int fd =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
        if (fd >= 0) {
            slots[slot].state.store(kLive);
            return fd;
        }
        if (errno != EEXIST) break;
    }
    const int error = errno;
    slots[slot].state.store(kFree);
    slot = -1;
    temporary.clear();
    return -error;
}

// The owner, group and mode of the file replaced; an owner the process may not give is left.
int TakeOwnerAndMode(int fd, const struct stat& replaced) {
    if (::fchown(fd, replaced.st_uid, replaced.st_gid) != 0) {
        if (errno != EPERM) return errno;
        if (::fchown(fd, static_cast<uid_t>(-1), replaced.st_gid) != 0 && errno != EPERM) {
            return errno;
        }
    }
    return ::fchmod(fd, replaced.st_mode & 07777) == 0 ? 0 : errno;
}

}  // namespace

OutputFile::OutputFile(std::string path, std::string name) : name_(std::move(name)) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) Fail(EISDIR);
        if (S_ISBLK(info.st_mode)) Fail("it is a block device, not a file");
        if (S_ISSOCK(info.st_mode)) Fail("it is a socket, not a file");
        if (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode)) {
            // A FIFO waits here for its reader, as a shell's redirection does.
            do {
                fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
            } while (fd_ < 0 && errno == EINTR);
            if (fd_ < 0) Fail(errno);
            return;
        }
        if (!S_ISREG(info.st_mode)) Fail("it is not a regular file");
        target_ = path;
        if (const int error = FollowLinks(target_)) Fail(error);
        struct stat followed {};
        if (::lstat(target_.c_str(), &followed) != 0 || followed.st_dev != info.st_dev ||
            followed.st_ino != info.st_ino) {
            Fail("the file its link leads to cannot be named");
        }
        // The file is replaced by rename: one that may not be written is not.
        if (::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) Fail(errno);
        const int fd = CreateTemporary(target_, 0600, temporary_, slot_);
        if (fd < 0) Fail(-fd);
        fd_ = fd;
        if (const int error = TakeOwnerAndMode(fd_, info)) {
            Abandon();
            Fail(error);
        }
        return;
    }
    if (errno != ENOENT) Fail(errno);
    // A new file, or the missing end of a chain of links.
    target_ = path;
    if (const int error = FollowLinks(target_)) Fail(error);
    const int fd = CreateTemporary(target_, 0666, temporary_, slot_);
    if (fd < 0) Fail(-fd);
    fd_ = fd;
}

OutputFile::~OutputFile() {
    Abandon();
}

void OutputFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = ::write(fd_, bytes.data(), bytes.size());
        if (count >= 0) {
            bytes.remove_prefix(static_cast<std::size_t>(count));
        } else if (errno != EINTR) {
            Fail(errno);
        }
    }
}

void OutputFile::Commit() {
    int error = 0;
    if (fd_ < 0) {
        error = EBADF;
    } else if (!temporary_.empty() && ::fsync(fd_) != 0) {
        error = errno;
    }
    const int fd = fd_;
    fd_ = -1;
    if (fd >= 0 && ::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && !temporary_.empty() && ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        Abandon();
        Fail(error);
    }
    if (slot_ >= 0) slots[slot_].state.store(kFree);
    slot_ = -1;
    temporary_.clear();
}

void OutputFile::Abandon() noexcept {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
    if (slot_ >= 0) slots[slot_].state.store(kFree);
    slot_ = -1;
}

void OutputFile::Fail(int error) const {
    Fail(std::string(std::strerror(error)));
}

void OutputFile::Fail(const std::string& reason) const {
    throw OutputError("cannot write " + name_ + ": " + reason);
}

void RemoveTemporaryFilesOnSignals() {
    for (const int signal : kCleanupSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0) continue;
        if (current.sa_handler == SIG_IGN) continue;  // nohup, a background job: stays so
        struct sigaction action {};
        action.sa_handler = RemoveTemporariesAndEnd;
        sigemptyset(&action.sa_mask);
        for (const int other : kCleanupSignals) sigaddset(&action.sa_mask, other);
        action.sa_flags = SA_RESTART;
        ::sigaction(signal, &action, nullptr);
    }
}

bool FileIdentity::SameFileAs(const FileIdentity& other) const {
    if (exists != other.exists) return false;
    if (!exists) return path == other.path;
    return device == other.device && inode == other.inode && !characterDevice;
}

namespace {

FileIdentity IdentityOf(const struct stat& info) {
    FileIdentity identity;
    identity.exists = true;
    identity.characterDevice = S_ISCHR(info.st_mode);
    identity.device = info.st_dev;
    identity.inode = info.st_ino;
    return identity;
}

}  // namespace

std::optional<FileIdentity> IdentityOfPath(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) return IdentityOf(info);
    if (errno != ENOENT) return std::nullopt;
    FileIdentity identity;
    identity.path = path;
    if (FollowLinks(identity.path) != 0) return std::nullopt;
    // The folder it would be created in, by its own name.
    const std::string folder = DirectoryOf(identity.path);
    std::array<char, PATH_MAX> resolved{};
    if (::realpath(folder.empty() ? "." : folder.c_str(), resolved.data()) != nullptr) {
        identity.path = std::string(resolved.data()) + "/" + BaseOf(identity.path);
    }
    return identity;
}

std::optional<FileIdentity> IdentityOfDescriptor(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) return std::nullopt;
    return IdentityOf(info);
}

}  // namespace linkcalc::planning
