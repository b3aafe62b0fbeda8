// Runs the built linkcalc-cli as a child process, with no shell in between, and reads its
// exit status, standard output and standard error.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

extern char** environ;

namespace linkcalc::cli_test {

struct CliRun {
    int exitStatus = -1;  // -1: the tool did not exit normally
    std::string out;
    std::string err;
};

namespace detail {

inline void CloseIfOpen(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace detail

// Where the tool's standard streams go instead of the runner's pipes: a descriptor of the
// test's own (a file, a pipe end, a terminal), or -1 for the runner's pipe. The runner reads a
// terminal's master side like a pipe.
struct Redirects {
    int in = -1;
    int out = -1;
    int err = -1;
    int errTerminal = -1;  // the master side of a terminal given as err, read into CliRun::err
};

// Runs linkcalc-cli with exactly these arguments; `input`, when given, is its standard input
// (otherwise the standard input is empty).
inline CliRun RunCliWith(const std::vector<std::string>& args,
                         const std::optional<std::string>& input, const Redirects& redirects) {
    static const bool sigpipeIgnored = [] {
        std::signal(SIGPIPE, SIG_IGN);  // a tool that exits early must not kill the test
        return true;
    }();
    (void)sigpipeIgnored;

    CliRun run;
    int in[2] = {-1, -1}, out[2] = {-1, -1}, err[2] = {-1, -1};
    if ((redirects.in < 0 && ::pipe2(in, O_CLOEXEC) != 0) ||
        (redirects.out < 0 && ::pipe2(out, O_CLOEXEC) != 0) ||
        (redirects.err < 0 && ::pipe2(err, O_CLOEXEC) != 0)) {
        ADD_FAILURE() << "pipe2 failed: errno " << errno;
        return run;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, redirects.in >= 0 ? redirects.in : in[0],
                                     STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, redirects.out >= 0 ? redirects.out : out[1],
                                     STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, redirects.err >= 0 ? redirects.err : err[1],
                                     STDERR_FILENO);

    std::vector<std::string> argvText{LINKCALC_CLI_PATH};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argvText) argv.push_back(arg.data());
    argv.push_back(nullptr);

    pid_t pid = -1;
    const int spawned =
        ::posix_spawn(&pid, LINKCALC_CLI_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    detail::CloseIfOpen(in[0]);
    detail::CloseIfOpen(out[1]);
    detail::CloseIfOpen(err[1]);
    int toChild = in[1];
    int fromOut = out[0];
    int fromErr = redirects.errTerminal >= 0 ? ::dup(redirects.errTerminal) : err[0];
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << LINKCALC_CLI_PATH << ": error " << spawned;
        detail::CloseIfOpen(toChild);
        detail::CloseIfOpen(fromOut);
        detail::CloseIfOpen(fromErr);
        return run;
    }

    const std::string pending = input.value_or(std::string());
    std::size_t written = 0;
    if (pending.empty()) {
        detail::CloseIfOpen(toChild);
    } else if (toChild >= 0) {
        ::fcntl(toChild, F_SETFL, ::fcntl(toChild, F_GETFL) | O_NONBLOCK);
    }

    // A terminal's master side stays open after the tool exits: read it until the tool is gone.
    bool exited = false;
    int status = 0;
    char buffer[65536];
    while (fromOut >= 0 || fromErr >= 0) {
        pollfd fds[3];
        nfds_t count = 0;
        const auto watch = [&](int fd, short events) {
            if (fd >= 0) fds[count++] = pollfd{fd, events, 0};
        };
        watch(fromOut, POLLIN);
        watch(fromErr, POLLIN);
        watch(toChild, POLLOUT);
        const int timeout = redirects.errTerminal >= 0 ? 50 : -1;
        const int ready = ::poll(fds, count, timeout);
        if (ready < 0) {
            if (errno == EINTR) continue;
            ADD_FAILURE() << "poll failed: errno " << errno;
            break;
        }
        if (ready == 0) {
            if (exited) {
                detail::CloseIfOpen(fromErr);  // drained: nothing came within the timeout
            } else if (::waitpid(pid, &status, WNOHANG) == pid) {
                exited = true;
            }
            continue;
        }
        for (nfds_t i = 0; i < count; ++i) {
            if (fds[i].revents == 0) continue;
            if (fds[i].fd == toChild) {
                const ssize_t n =
                    ::write(toChild, pending.data() + written, pending.size() - written);
                if (n > 0) written += static_cast<std::size_t>(n);
                if ((n < 0 && errno != EAGAIN && errno != EINTR) || written == pending.size()) {
                    detail::CloseIfOpen(toChild);
                }
                continue;
            }
            int& fd = fds[i].fd == fromOut ? fromOut : fromErr;
            std::string& sink = fds[i].fd == fromOut ? run.out : run.err;
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0) {
                sink.append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                detail::CloseIfOpen(fd);
            }
        }
    }
    detail::CloseIfOpen(toChild);

    if (!exited) {
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    if (WIFEXITED(status)) run.exitStatus = WEXITSTATUS(status);
    return run;
}

inline CliRun RunCli(const std::vector<std::string>& args,
                     const std::optional<std::string>& input = std::nullopt) {
    return RunCliWith(args, input, Redirects{});
}

// The inputs of one link: option name (gain1, loss2, band, ...) to its text.
using Inputs = std::map<std::string, std::string>;

// "--name=text" for each input.
inline std::vector<std::string> ArgsOf(const Inputs& inputs) {
    std::vector<std::string> args;
    for (const auto& [name, text] : inputs) args.push_back("--" + name + "=" + text);
    return args;
}

// A link that completes: 5800 MHz at 54 Mbps, two 23 dBi antennas without cable, 10 miles.
// `changes` replace or add inputs.
inline Inputs CompleteLink(const Inputs& changes = {}) {
    Inputs inputs{{"gain1", "23"},   {"gain2", "23"},  {"distance", "10"},
                  {"unit", "Miles"}, {"band", "5800"}, {"speed", "54 Mbps"}};
    for (const auto& [name, text] : changes) inputs[name] = text;
    return inputs;
}

// A link over a path in miles: band, speed, distance, then the gain and cable loss texts of
// side 1 and of side 2.
inline Inputs MilesLink(const std::string& band, const std::string& speed, const std::string& miles,
                        const std::string& gain1, const std::string& loss1,
                        const std::string& gain2, const std::string& loss2) {
    return {{"band", band},   {"speed", speed}, {"distance", miles}, {"unit", "Miles"},
            {"gain1", gain1}, {"loss1", loss1}, {"gain2", gain2},    {"loss2", loss2}};
}

struct JsonRun {
    int exitStatus = -1;
    nlohmann::json report;  // null when standard output was not JSON
    std::string err;

    std::string Field(const std::string& name) const {
        const auto& fields = report.at("fields");
        if (!fields.contains(name)) {
            ADD_FAILURE() << "no field " << name << " in the report";
            return {};
        }
        return fields.at(name).get<std::string>();
    }
    std::string Outcome() const { return report.at("outcome").get<std::string>(); }
};

inline nlohmann::json ParseJson(const std::string& text) {
    nlohmann::json parsed = nlohmann::json::parse(text, nullptr, false);
    if (parsed.is_discarded()) {
        ADD_FAILURE() << "not JSON:\n" << text;
        return nlohmann::json();
    }
    return parsed;
}

inline JsonRun RunJson(std::vector<std::string> args) {
    args.push_back("--json");
    CliRun run = RunCli(args);
    return JsonRun{run.exitStatus, ParseJson(run.out), std::move(run.err)};
}

inline JsonRun RunJson(const Inputs& inputs) {
    return RunJson(ArgsOf(inputs));
}

// Checks each named field of a report against its expected text.
inline void ExpectFields(const JsonRun& run,
                         const std::vector<std::pair<std::string, std::string>>& expected) {
    for (const auto& [name, text] : expected) {
        EXPECT_EQ(run.Field(name), text) << "field " << name;
    }
}

// The 17 result fields, by control name.
inline const std::vector<std::string>& ResultFieldNames() {
    static const std::vector<std::string> names{
        "TxtFSL",   "TxtFR",    "TxtEC",         "TxtSAH",   "TxtReqSS", "TxtRECI",
        "TxtEIRP1", "TxtEIRP2", "TxtMTP",        "TxtMTP2",  "TxtERSSI", "TxtERSSI2",
        "TxtRNFL",  "TxtRNFL2", "TxtEBtRateUni", "TxtEBRBi", "TxtFM"};
    return names;
}

// Describes the inputs of a table row for SCOPED_TRACE.
inline std::string Describe(const Inputs& inputs) {
    std::string out;
    for (const auto& [name, text] : inputs) {
        if (!out.empty()) out += ' ';
        out += name + "=\"" + text + "\"";
    }
    return out;
}

}  // namespace linkcalc::cli_test
