#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace linkcalc::cli {

// An input that cannot be opened (exit status 66) or a read or write that failed (74). The text
// names what failed and the system's reason.
class IoError : public std::runtime_error {
  public:
    enum class Kind { CannotOpen, ReadOrWrite };
    IoError(Kind kind, const std::string& what) : std::runtime_error(what), kind_(kind) {}
    Kind WhatFailed() const { return kind_; }

  private:
    Kind kind_;
};

// Where a reader gets its bytes: a file, a pipe, a terminal, or a text in memory.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Up to `size` bytes into `buffer`; 0 only at the end of the input. Throws IoError.
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
    // Whether more bytes arrive within the time, for a source that may have to wait for them.
    virtual bool ReadableWithin(int /*milliseconds*/) { return true; }
};

// Where output goes: standard output, or a text in memory.
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    // Writes all of the bytes; throws IoError.
    virtual void Write(std::string_view bytes) = 0;
};

// A text in memory as a source.
class TextSource final : public ByteSource {
  public:
    explicit TextSource(std::string_view text) : text_(text) {}
    std::size_t Read(char* buffer, std::size_t size) override;

  private:
    std::string_view text_;
};

// A file opened for reading, or standard input for "-".
class FileSource final : public ByteSource {
  public:
    // Throws IoError (CannotOpen) for a path that does not exist, cannot be read or is a folder.
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::size_t Read(char* buffer, std::size_t size) override;
    bool ReadableWithin(int milliseconds) override;

  private:
    std::string name_;  // for messages
    int fd_ = -1;
    bool owned_ = false;
};

// Standard output, written with write(2) so that every failure is seen.
class StandardOutput final : public ByteSink {
  public:
    void Write(std::string_view bytes) override;
};

// The message of an errno value, as strerror gives it.
std::string SystemReason(int error);

}  // namespace linkcalc::cli
