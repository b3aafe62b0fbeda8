// A batch as a user at a terminal or a pipeline sees it: rows come out while the input is still
// open, a progress line and a summary on a terminal's standard error, nothing of them with
// --quiet or elsewhere, and never on standard output.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <regex>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "cli_runner.h"

namespace linkcalc::cli_test {
namespace {

const std::string kHeader = "gain1,gain2,distance,unit,band,speed\n";

std::string Rows(int count) {
    std::string rows;
    for (int i = 0; i < count; ++i) rows += "23,23,10,Miles,5800,54\n";
    return rows;
}

void WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

// The terminal passes bytes as they are, so that what the tool writes can be compared.
struct Terminal {
    int master = -1;
    int slave = -1;
    Terminal() {
        if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return;
        termios modes{};
        ::tcgetattr(slave, &modes);
        ::cfmakeraw(&modes);
        ::tcsetattr(slave, TCSANOW, &modes);
        ::fcntl(master, F_SETFD, FD_CLOEXEC);
        ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    }
    // Standard error on this terminal, the rest as RunCliWith has it.
    Redirects ErrorHere() const {
        Redirects redirects;
        redirects.err = slave;
        redirects.errTerminal = master;
        return redirects;
    }
    ~Terminal() {
        if (master >= 0) ::close(master);
        if (slave >= 0) ::close(slave);
    }
};

TEST(BatchStreaming, RowsFromAPipeComeOutWhileTheInputIsStillOpen) {
    int in[2], out[2];
    ASSERT_EQ(::pipe2(in, O_CLOEXEC), 0);
    ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
    bool sawEarlyRows = false;
    std::string output;
    std::thread feeder([&] {
        WriteAll(in[1], kHeader + Rows(100));
        // The second part goes only once the first has come out (or after a long wait).
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (Count(output, "\r\n") < 101 && std::chrono::steady_clock::now() < deadline) {
            pollfd wait{out[0], POLLIN, 0};
            if (::poll(&wait, 1, 100) > 0) {
                char buffer[4096];
                const ssize_t n = ::read(out[0], buffer, sizeof buffer);
                if (n <= 0) break;
                output.append(buffer, static_cast<std::size_t>(n));
            }
        }
        sawEarlyRows = Count(output, "\r\n") >= 101;
        WriteAll(in[1], Rows(50));
        ::close(in[1]);
        char buffer[4096];
        for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) {
            output.append(buffer, static_cast<std::size_t>(n));
        }
    });
    Redirects redirects;
    redirects.in = in[0];
    redirects.out = out[1];
    const CliRun run = RunCliWith({"--csv", "-"}, std::nullopt, redirects);
    ::close(in[0]);
    ::close(out[1]);
    feeder.join();
    ::close(out[0]);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_TRUE(sawEarlyRows) << "the first rows came out only once the input had ended";
    EXPECT_EQ(Count(output, "\r\n"), 151U);
    EXPECT_EQ(Count(output, ",completed,"), 150U);
}

TEST(BatchTerminal, ProgressAfterASecondThenTheSummaryInItsPlace) {
    Terminal terminal;
    ASSERT_GE(terminal.slave, 0) << "openpty failed";
    int in[2];
    ASSERT_EQ(::pipe2(in, O_CLOEXEC), 0);
    std::thread feeder([&] {
        WriteAll(in[1], kHeader + Rows(2000));
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        WriteAll(in[1], Rows(1999) + ",23,10,Miles,5800,54\n");
        ::close(in[1]);
    });
    Redirects redirects = terminal.ErrorHere();
    redirects.in = in[0];
    const CliRun run = RunCliWith({"--csv", "-"}, std::nullopt, redirects);
    feeder.join();
    ::close(in[0]);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(Count(run.out, "\r\n"), 4001U);
    EXPECT_EQ(run.out.find("rows/s"), std::string::npos);
    EXPECT_EQ(run.out.find("\x1b"), std::string::npos);
    // Redrawn in place: back to the line start, the line cleared, rows, rate and outcomes.
    EXPECT_TRUE(std::regex_search(
        run.err, std::regex("\r\x1b\\[K[0-9]+ rows, [0-9]+ rows/s: [0-9]+ completed, [01] "
                            "stopped, 0 failed, 0 invalid\r")))
        << run.err;
    const std::string summary =
        "\r\x1b[K4000 rows: 3999 completed, 1 stopped, 0 failed, 0 invalid\n";
    ASSERT_GE(run.err.size(), summary.size()) << run.err;
    EXPECT_EQ(run.err.substr(run.err.size() - summary.size()), summary) << run.err;
}

TEST(BatchTerminal, ShortBatchGivesOnlyTheSummary) {
    Terminal terminal;
    ASSERT_GE(terminal.slave, 0) << "openpty failed";
    Redirects redirects = terminal.ErrorHere();
    const CliRun run = RunCliWith({"--csv", "-"}, kHeader + Rows(1), redirects);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "1 row: 1 completed, 0 stopped, 0 failed, 0 invalid\n");
}

TEST(BatchTerminal, QuietShowsNeitherProgressNorSummary) {
    Terminal terminal;
    ASSERT_GE(terminal.slave, 0) << "openpty failed";
    Redirects redirects = terminal.ErrorHere();
    const CliRun run = RunCliWith({"--csv", "-", "--quiet"}, kHeader + Rows(3), redirects);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Count(run.out, "\r\n"), 4U);
}

TEST(BatchTerminal, ErrorTakesTheProgressLineAway) {
    Terminal terminal;
    ASSERT_GE(terminal.slave, 0) << "openpty failed";
    Redirects redirects = terminal.ErrorHere();
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    redirects.out = full;
    const CliRun run = RunCliWith({"--csv", "-"}, kHeader + Rows(3), redirects);
    ::close(full);
    EXPECT_EQ(run.exitStatus, 74);
    EXPECT_EQ(run.err.find("rows:"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("cannot write standard output"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace linkcalc::cli_test
