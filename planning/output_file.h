#pragma once

#include <sys/types.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace linkcalc::planning {

// An output that cannot be written; the message names the file and the system's reason.
class OutputError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A file the tool writes, whole or not at all. A path that names a symbolic link writes the
// file the link leads to and keeps the link. A regular file (or a new one) is written to a
// temporary file beside it, renamed over it by Commit: an existing file keeps its mode, and its
// owner and group where the process may set them; a new one gets the mode of any new file.
// A character device or a FIFO is written in place, never replaced. A folder, a block device
// or a socket is refused.
class OutputFile {
  public:
    // Starts the file at `path`; `name` is what messages call it ("the map links.kml").
    // Throws OutputError.
    OutputFile(std::string path, std::string name);
    // Abandons a file not committed: its temporary file is removed.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Where a writer of its own puts the bytes; the file keeps the descriptor.
    int Descriptor() const { return fd_; }
    // Writes all of the bytes. Throws OutputError.
    void Write(std::string_view bytes);
    // Puts the file in place. Throws OutputError; the file is then abandoned.
    void Commit();
    // Gives up the file: nothing of it is left, but what went into a device or a FIFO.
    void Abandon() noexcept;

    // "cannot write NAME: REASON", for the fault of a writer given the descriptor.
    [[noreturn]] void Fail(int error) const;
    [[noreturn]] void Fail(const std::string& reason) const;

  private:
    std::string name_;
    std::string target_;     // where the temporary file goes, every link followed
    std::string temporary_;  // empty when written in place
    int slot_ = -1;          // in the table of temporary files
    int fd_ = -1;
};

// Removes every temporary file of an OutputFile not yet committed when SIGINT, SIGTERM, SIGHUP
// or SIGPIPE ends the process, which then ends by that signal. A signal ignored when this is
// called stays ignored.
void RemoveTemporaryFilesOnSignals();

// What a path leads to, to tell whether two paths name one file: the device and inode of the
// file when it exists, else the path it would be created at, links followed.
struct FileIdentity {
    bool exists = false;
    bool characterDevice = false;
    dev_t device = 0;
    ino_t inode = 0;
    std::string path;

    // Two names of one file. Character devices (a terminal, /dev/null) are not files that one
    // name could overwrite for the other.
    bool SameFileAs(const FileIdentity& other) const;
};

std::optional<FileIdentity> IdentityOfPath(const std::string& path);
std::optional<FileIdentity> IdentityOfDescriptor(int fd);

}  // namespace linkcalc::planning
