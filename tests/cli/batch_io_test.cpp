// Every I/O fault of linkcalc-cli is one line naming the path and the system's reason, with
// exit status 66 for an input that cannot be opened and 74 for a failed read or write.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"

namespace linkcalc::cli_test {
namespace {

using Args = std::vector<std::string>;

const std::string kBatch = "gain1,gain2,distance,unit,band,speed\n23,23,10,Miles,5800,54\n";

std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "linkcalc_io_" + std::to_string(::getpid()) + "_" + name;
}

std::string WriteFile(const std::string& name, const std::string& text) {
    const std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string CannotOpen(const std::string& what, int error) {
    return "linkcalc-cli: cannot open " + what + ": " + std::strerror(error) + "\n";
}

struct OpenCase {
    const char* name;
    std::string path;
    int error;
};

TEST(IoFaults, InputThatCannotBeOpenedExits66NamingThePathAndTheReason) {
    const std::string file = WriteFile("plain.csv", kBatch);
    const std::string folder = ::testing::TempDir();
    const std::vector<OpenCase> cases{
        {"missing file", "/nonexistent/links.csv", ENOENT},
        {"a folder", folder, EISDIR},
        {"a path through a file", file + "/links.csv", ENOTDIR},
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = RunCli({"--csv", c.path});
        EXPECT_EQ(run.exitStatus, 66);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, CannotOpen("\"" + c.path + "\"", c.error));
    }
    std::remove(file.c_str());
}

TEST(IoFaults, FolderAsStandardInputExits66) {
    const int folder = ::open(::testing::TempDir().c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(folder, 0);
    Redirects redirects;
    redirects.in = folder;
    const CliRun run = RunCliWith({"--csv", "-"}, std::nullopt, redirects);
    ::close(folder);
    EXPECT_EQ(run.exitStatus, 66);
    EXPECT_EQ(run.err, CannotOpen("standard input", EISDIR));
}

// As root a file without permissions still opens; a write-only attribute of the kernel's
// device tree does not, for anyone.
TEST(IoFaults, UnreadableFileExits66) {
    std::string path;
    if (::geteuid() != 0) {
        path = WriteFile("unreadable.csv", kBatch);
        ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    } else {
        path = "/sys/bus/pci/rescan";
        const int probe = ::open(path.c_str(), O_RDONLY);
        if (probe >= 0) ::close(probe);
        if (probe >= 0 || errno != EACCES) {
            GTEST_SKIP() << "running as root, and " << path
                         << " is readable or missing: no file here refuses root";
        }
    }
    const CliRun run = RunCli({"--csv", path});
    if (::geteuid() != 0) std::remove(path.c_str());
    EXPECT_EQ(run.exitStatus, 66);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, CannotOpen("\"" + path + "\"", EACCES));
}

// Reading the tool's own memory from address 0 opens and then fails.
TEST(IoFaults, ReadErrorExits74) {
    const CliRun run = RunCli({"--csv", "/proc/self/mem"});
    EXPECT_EQ(run.exitStatus, 74);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "linkcalc-cli: cannot read \"/proc/self/mem\": " +
                           std::string(std::strerror(EIO)) + "\n");
}

struct OutputCase {
    const char* name;
    Args args;
};

Args WithJson(Args args) {
    args.push_back("--json");
    return args;
}

const std::vector<OutputCase> kOutputs{
    {"batch", {"--csv", "-"}},
    {"JSON report", WithJson(ArgsOf(CompleteLink()))},
    {"text report", ArgsOf(CompleteLink())},
    {"help", {"--help"}},
    {"version", {"--version"}},
};

TEST(IoFaults, FullDiskExits74ForEveryOutput) {
    for (const OutputCase& c : kOutputs) {
        SCOPED_TRACE(c.name);
        const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
        ASSERT_GE(full, 0);
        Redirects redirects;
        redirects.out = full;
        const CliRun run = RunCliWith(c.args, kBatch, redirects);
        ::close(full);
        EXPECT_EQ(run.exitStatus, 74);
        EXPECT_EQ(run.err, "linkcalc-cli: cannot write standard output: " +
                               std::string(std::strerror(ENOSPC)) + "\n");
    }
}

// With SIGPIPE ignored (as the test runner has it), a closed pipe is a write error like any.
TEST(IoFaults, ClosedPipeExits74ForEveryOutput) {
    for (const OutputCase& c : kOutputs) {
        SCOPED_TRACE(c.name);
        int pipe[2];
        ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
        ::close(pipe[0]);
        Redirects redirects;
        redirects.out = pipe[1];
        const CliRun run = RunCliWith(c.args, kBatch, redirects);
        ::close(pipe[1]);
        EXPECT_EQ(run.exitStatus, 74);
        EXPECT_EQ(run.err, "linkcalc-cli: cannot write standard output: " +
                               std::string(std::strerror(EPIPE)) + "\n");
    }
}

TEST(IoFaults, ClosedStandardOutputExits74) {
    const int closed = ::open("/dev/null", O_RDONLY | O_CLOEXEC);  // not open for writing
    ASSERT_GE(closed, 0);
    Redirects redirects;
    redirects.out = closed;
    const CliRun run = RunCliWith({"--csv", "-"}, kBatch, redirects);
    ::close(closed);
    EXPECT_EQ(run.exitStatus, 74);
    EXPECT_EQ(run.err, "linkcalc-cli: cannot write standard output: " +
                           std::string(std::strerror(EBADF)) + "\n");
}

}  // namespace
}  // namespace linkcalc::cli_test
