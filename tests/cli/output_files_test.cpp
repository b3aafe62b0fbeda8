// Where --kml and --profile write: through a link to its target, over a file keeping its mode
// and owner, into a device or a FIFO in place, never over a folder or an input; and the
// temporary files they make gone when a signal or a closed pipe ends the tool.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"

namespace linkcalc::cli_test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

bool ModuleBuilt(const std::string& name) {
    return fs::exists(fs::path(LINKCALC_MODULE_FOLDER) / ("liblinkcalc-" + name + ".so"));
}

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class OutputFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("linkcalc-output-" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    std::string File(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
        return Path(name);
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder_;
};

// A link of one run, with the option that writes `path`.
struct Output {
    const char* option;
    const char* extension;
    const char* module;
    const char* start;  // how the document begins
};
const Output kOutputs[] = {{"--kml", ".kml", "kml", "<?xml"},
                           {"--profile", ".svg", "picture", "<?xml"}};

std::vector<std::string> RunArgs(const Output& output, const std::string& path) {
    std::vector<std::string> args{"--gain1", "23", "--band",  "5800",
                                  "--speed", "24", "--gain2", "23"};
    if (std::string(output.option) == "--kml") {
        args.insert(args.end(), {"--site1", "0,0", "--site2", "0,0.1"});
    } else {
        args.insert(args.end(), {"--distance", "10", "--unit", "Km"});
    }
    args.insert(args.end(), {output.option, path});
    return args;
}

bool Skipped(const Output& output) {
    return !ModuleBuilt("geodesy") || !ModuleBuilt(output.module);
}

// What a FIFO's reader gets until the writer closes it, within a bound.
std::string ReadFifo(int fd) {
    std::string got;
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    bool written = false;
    while (Clock::now() < deadline) {
        pollfd wait{fd, POLLIN, 0};
        if (::poll(&wait, 1, 100) <= 0) continue;
        char buffer[65536];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            got.append(buffer, static_cast<std::size_t>(n));
            written = true;
        } else if (n == 0 && (written || (wait.revents & POLLHUP) != 0)) {
            break;
        }
    }
    ::close(fd);
    return got;
}

TEST_F(OutputFiles, EachKindOfTargetIsWrittenWhereItLeadsOrRefused) {
    for (const Output& output : kOutputs) {
        SCOPED_TRACE(output.option);
        if (Skipped(output)) {
            std::cout << "(skipped " << output.option << ": its module is not built)\n";
            continue;
        }
        const std::string ext = output.extension;
        fs::remove_all(folder_);
        fs::create_directories(folder_);

        // A link to a file: the file is written, the link stays.
        File("real" + ext, "old");
        fs::create_symlink("real" + ext, Path("link" + ext));
        CliRun run = RunCli(RunArgs(output, Path("link" + ext)));
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_TRUE(fs::is_symlink(Path("link" + ext)));
        EXPECT_EQ(fs::read_symlink(Path("link" + ext)), "real" + ext);
        EXPECT_EQ(Contents(Path("real" + ext)).rfind(output.start, 0), 0u);

        // A link to nothing yet: its target is made.
        fs::create_symlink("made" + ext, Path("dangling" + ext));
        run = RunCli(RunArgs(output, Path("dangling" + ext)));
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_TRUE(fs::is_symlink(Path("dangling" + ext)));
        EXPECT_EQ(Contents(Path("made" + ext)).rfind(output.start, 0), 0u);

        // A private file stays private, and keeps its owner where the tool may give it.
        const std::string secret = File("secret" + ext, "old");
        ASSERT_EQ(::chmod(secret.c_str(), 0600), 0);
        const bool root = ::geteuid() == 0;
        if (root) {
            ASSERT_EQ(::chown(secret.c_str(), 1234, 4321), 0);
        }
        run = RunCli(RunArgs(output, secret));
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        struct stat info {};
        ASSERT_EQ(::stat(secret.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0600u);
        if (root) {
            EXPECT_EQ(info.st_uid, 1234u);
            EXPECT_EQ(info.st_gid, 4321u);
        }
        EXPECT_EQ(Contents(secret).rfind(output.start, 0), 0u);

        // A FIFO is written in place, to its reader.
        const std::string fifo = Path("fifo" + ext);
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
        const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(reader, 0);
        std::string read;
        std::thread drain([&] { read = ReadFifo(reader); });
        run = RunCli(RunArgs(output, fifo));
        drain.join();
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_TRUE(fs::is_fifo(fifo));
        EXPECT_EQ(read.rfind(output.start, 0), 0u) << read.substr(0, 40);
        EXPECT_GT(read.size(), 500u);

        // A device that takes nothing: a write error, and the device stays.
        fs::create_symlink("/dev/full", Path("full" + ext));
        run = RunCli(RunArgs(output, Path("full" + ext)));
        EXPECT_EQ(run.exitStatus, 74);
        EXPECT_EQ(run.err,
                  "linkcalc-cli: cannot write " +
                      std::string(output.option == std::string("--kml") ? "the map " : "") +
                      Path("full" + ext) + ": No space left on device\n");
        EXPECT_TRUE(fs::is_character_file("/dev/full"));

        // A folder is refused.
        fs::create_directories(Path("folder" + ext));
        run = RunCli(RunArgs(output, Path("folder" + ext)));
        EXPECT_EQ(run.exitStatus, 74);
        EXPECT_NE(run.err.find(Path("folder" + ext) + ": Is a directory\n"), std::string::npos)
            << run.err;
        EXPECT_TRUE(fs::is_directory(Path("folder" + ext)));
        EXPECT_TRUE(fs::is_empty(Path("folder" + ext)));

        // Nothing but what was asked for is left.
        const std::vector<std::string> expected{"dangling" + ext, "fifo" + ext,  "folder" + ext,
                                                "full" + ext,     "link" + ext,  "made" + ext,
                                                "real" + ext,     "secret" + ext};
        EXPECT_EQ(Names(), expected);
    }
}

const char* kSitesCsv = "site1,site2,gain1,gain2,band,speed\n\"0,0\",\"0,0.1\",23,23,5800,54\n";
const char* kRidge = "distance,elevation\n0,100\n5000,300\n10000,200\n";

TEST_F(OutputFiles, AnOutputThatIsAnInputIsAUsageError) {
    if (!ModuleBuilt("geodesy") || !ModuleBuilt("kml")) GTEST_SKIP() << "no kml module";
    const std::vector<std::string> sites{"--gain1", "23", "--gain2", "23",  "--band",  "5800",
                                         "--speed", "24", "--site1", "0,0", "--site2", "0,0.1"};
    const auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> args = sites;
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    const std::string csv = File("in.csv", kSitesCsv);
    const std::string terrain = File("ridge.svg", kRidge);  // a terrain by any name
    const std::string dem = File("dem.svg", "not a raster");
    ASSERT_EQ(::link(csv.c_str(), Path("hard.kml").c_str()), 0);
    fs::create_symlink("new.svg", Path("to-new.svg"));
    const struct {
        std::vector<std::string> args;
        std::string input;  // read from standard input, or empty
        std::string message;
    } cases[] = {
        {{"--csv", csv, "--kml", csv},
         "",
         "--kml \"" + csv + "\" is the file of --csv \"" + csv +
             "\": an output cannot overwrite "
             "an input"},
        {{"--csv", csv, "--kml", Path("hard.kml")},
         "",
         "--kml \"" + Path("hard.kml") + "\" is the file of --csv \"" + csv +
             "\": an output cannot overwrite an input"},
        {{"--csv", "-", "--kml", csv},
         csv,
         "--kml \"" + csv +
             "\" is the file of --csv (standard input): an output cannot "
             "overwrite an input"},
        {with({"--terrain", terrain, "--kml", terrain}), "",
         "--kml \"" + terrain + "\" is the file of --terrain \"" + terrain +
             "\": an output cannot overwrite an input"},
        {with({"--terrain", terrain, "--profile", terrain}), "",
         "--profile \"" + terrain + "\" is the file of --terrain \"" + terrain +
             "\": an output cannot overwrite an input"},
        {with({"--terrain", "-", "--profile", terrain}), terrain,
         "--profile \"" + terrain +
             "\" is the file of --terrain (standard input): an output "
             "cannot overwrite an input"},
        {with({"--dem", dem, "--profile", dem}), "",
         "--profile \"" + dem + "\" is the file of --dem \"" + dem +
             "\": an output cannot overwrite an input"},
        {with({"--dem", dem, "--kml", dem}), "",
         "--kml \"" + dem + "\" is the file of --dem \"" + dem +
             "\": an output cannot overwrite an input"},
        // Neither exists yet: the same place by its name, through a link too.
        {with({"--kml", Path("new.svg"), "--profile", Path("to-new.svg")}), "",
         "--profile \"" + Path("to-new.svg") + "\" is the file of --kml \"" + Path("new.svg") +
             "\": two outputs cannot share a file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        int in = -1;
        if (!c.input.empty()) in = ::open(c.input.c_str(), O_RDONLY | O_CLOEXEC);
        Redirects redirects;
        redirects.in = in;
        const CliRun run = RunCliWith(c.args, std::nullopt, redirects);
        if (in >= 0) ::close(in);
        EXPECT_EQ(run.exitStatus, 64);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1), "linkcalc-cli: " + c.message + "\n");
        EXPECT_EQ(Contents(csv), kSitesCsv);
        EXPECT_EQ(Contents(terrain), kRidge);
        EXPECT_EQ(Contents(dem), "not a raster");
        const std::vector<std::string> expected{"dem.svg", "hard.kml", "in.csv", "ridge.svg",
                                                "to-new.svg"};
        EXPECT_EQ(Names(), expected);
    }
    // /dev/null on both sides is no file one could overwrite for the other.
    const CliRun null = RunCli({"--csv", "/dev/null", "--kml", "/dev/null"});
    EXPECT_EQ(null.err.find("is the file of"), std::string::npos) << null.err;
}

// The tool started with its standard input and output on descriptors of the test, the
// signals of `defaults` at their default action and the others as the test has them.
struct Child {
    pid_t pid = -1;
    int err = -1;  // the read end of its standard error
};

Child Start(const std::vector<std::string>& args, int in, int out,
            const std::vector<int>& defaults) {
    Child child;
    int err[2];
    if (::pipe2(err, O_CLOEXEC) != 0) return child;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : defaults) sigaddset(&set, signal);
    posix_spawnattr_setsigdefault(&attributes, &set);
    sigemptyset(&set);
    posix_spawnattr_setsigmask(&attributes, &set);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    std::vector<std::string> argvText{LINKCALC_CLI_PATH};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argvText) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (::posix_spawn(&child.pid, LINKCALC_CLI_PATH, &actions, &attributes, argv.data(), environ) !=
        0) {
        child.pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(err[1]);
    child.err = err[0];
    return child;
}

// Waits a bounded time for the child; its wait status, or -1 after killing it.
int Wait(const Child& child) {
    int status = 0;
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        if (::waitpid(child.pid, &status, WNOHANG) == child.pid) return status;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(child.pid, SIGKILL);
    ::waitpid(child.pid, &status, 0);
    ADD_FAILURE() << "the tool did not end";
    return -1;
}

std::string ErrorText(const Child& child) {
    std::string text;
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(child.err, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(child.err);
    return text;
}

// Waits a bounded time for a file named `prefix`... to appear in the folder.
bool Appears(const fs::path& folder, const std::string& prefix) {
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path().filename().string().rfind(prefix, 0) == 0) return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

TEST_F(OutputFiles, ASignalDuringABatchLeavesNoTemporaryFile) {
    if (!ModuleBuilt("geodesy") || !ModuleBuilt("kml")) GTEST_SKIP() << "no kml module";
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(null, 0);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        int in[2];
        ASSERT_EQ(::pipe2(in, O_CLOEXEC), 0);
        const Child child = Start({"--csv", "-", "--kml", Path("links.kml")}, in[0], null,
                                  {SIGINT, SIGTERM, SIGHUP, SIGPIPE});
        ::close(in[0]);
        ASSERT_GT(child.pid, 0);
        // Rows come, and more may: the batch is under way with its map begun.
        ASSERT_EQ(::write(in[1], kSitesCsv, std::strlen(kSitesCsv)),
                  static_cast<ssize_t>(std::strlen(kSitesCsv)));
        EXPECT_TRUE(Appears(folder_, "links.kml."));
        ::kill(child.pid, signal);
        const int status = Wait(child);
        ::close(in[1]);
        ErrorText(child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(Names(), std::vector<std::string>{});
    }

    // Ignored when the tool starts (nohup), a hangup stays ignored and the batch completes.
    int in[2];
    ASSERT_EQ(::pipe2(in, O_CLOEXEC), 0);
    const auto saved = std::signal(SIGHUP, SIG_IGN);
    const Child child =
        Start({"--csv", "-", "--kml", Path("links.kml")}, in[0], null, {SIGINT, SIGTERM});
    std::signal(SIGHUP, saved);
    ::close(in[0]);
    ASSERT_GT(child.pid, 0);
    ASSERT_GT(::write(in[1], kSitesCsv, std::strlen(kSitesCsv)), 0);
    EXPECT_TRUE(Appears(folder_, "links.kml."));
    ::kill(child.pid, SIGHUP);
    ::close(in[1]);
    const int status = Wait(child);
    EXPECT_EQ(ErrorText(child), "");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(Names(), std::vector<std::string>{"links.kml"});
    ::close(null);
}

TEST_F(OutputFiles, AClosedPipeLeavesNoTemporaryFile) {
    if (!ModuleBuilt("geodesy") || !ModuleBuilt("kml")) GTEST_SKIP() << "no kml module";
    // More output than a pipe holds, so that the tool writes after its reader has gone.
    std::string csv = "site1,site2,gain1,gain2,band,speed\n";
    for (int i = 0; i < 5000; ++i) csv += "\"0,0\",\"0,0.1\",23,23,5800,54\n";
    const std::string input = File("in.csv", csv);
    const int null = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(null, 0);
    for (const bool ignored : {false, true}) {
        SCOPED_TRACE(ignored ? "SIGPIPE ignored" : "SIGPIPE at its default");
        int out[2];
        ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
        const auto saved = std::signal(SIGPIPE, SIG_IGN);
        const Child child = Start({"--csv", input, "--kml", Path("links.kml")}, null, out[1],
                                  ignored ? std::vector<int>{} : std::vector<int>{SIGPIPE});
        std::signal(SIGPIPE, saved);
        ::close(out[1]);
        ASSERT_GT(child.pid, 0);
        // As head -1 does: the first line, then the pipe closed.
        char c = 0;
        while (::read(out[0], &c, 1) == 1 && c != '\n') {
        }
        ::close(out[0]);
        const int status = Wait(child);
        const std::string err = ErrorText(child);
        if (ignored) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 74) << status;
            EXPECT_EQ(err, "linkcalc-cli: cannot write standard output: Broken pipe\n");
        } else {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGPIPE) << status;
            EXPECT_EQ(err, "");
        }
        EXPECT_EQ(Names(), std::vector<std::string>{"in.csv"});
    }
    ::close(null);
}

}  // namespace
}  // namespace linkcalc::cli_test
