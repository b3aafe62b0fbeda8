// Inputs beyond their bounds: a terrain line too long, too many rows, an endless file by its
// path and on standard input, a path too long, heights beyond the earth's; each a data error of
// one line alone, and in a batch an invalid row between completed ones. Line ends and k as a
// fraction read the same as their plain forms.
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"
#include "csv_rows.h"

namespace linkcalc::cli_test {
namespace {

namespace fs = std::filesystem;

class InputBoundsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("linkcalc-bounds-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string File(const std::string& name, const std::string& text) const {
        const fs::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    static std::vector<std::string> Link(const std::vector<std::string>& more) {
        std::vector<std::string> args = ArgsOf(CompleteLink({{"unit", "Km"}, {"speed", "24"}}));
        args.erase(
            std::remove_if(args.begin(), args.end(),
                           [](const std::string& a) { return a.rfind("--distance", 0) == 0; }),
            args.end());
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }

    fs::path folder_;
};

struct OverBound {
    std::string name;      // of the terrain file, or "-" for /dev/zero on standard input
    std::string contents;  // empty: /dev/zero
    std::string fault;     // after "terrain NAME: "
};

std::string ManyRows(std::size_t count) {
    std::string text = "distance,elevation\n";
    for (std::size_t i = 0; i < count; ++i) text.append(std::to_string(i)).append(",1\n");
    return text;
}

std::vector<OverBound> OverBounds() {
    const std::string longer = "longer than 1 MiB (more than 1048576 bytes)";
    return {
        {"long.csv", "0,1\n10" + std::string(1 << 20, ' ') + ",2\n", "line 2: " + longer},
        {"zero", "", "line 1: " + longer},
        {"-", "", "line 1: " + longer},
        {"rows.csv", ManyRows(1000001),
         "line 1000002: more than 1000000 rows: a terrain holds at most 1000000"},
        {"high.csv", "0,1\n10,1e308\n",
         "line 2: elevation \"1e308\" is beyond what the earth holds (from -11000 m to 9000 m)"},
        {"deep.csv", "0,-11000.1\n10,1\n",
         "line 1: elevation \"-11000.1\" is beyond what the earth holds (from -11000 m to 9000 "
         "m)"},
        {"trees.csv", "0,1,0\n10,1,1001\n",
         "line 2: obstruction \"1001\" is beyond what the earth holds (from 0 m to 1000 m)"},
        {"far.csv", "0,1\n3e7,1\n",
         "line 2: distance \"3e7\" is longer than any path on the earth (20015114.4 m)"},
        {"nul.csv",
         std::string("0,1\n10,\0\x01"
                     "2\n",
                     10),
         "line 2: elevation \"\\0\\x012\" is not a number"},
    };
}

TEST_F(InputBoundsTest, ATerrainOverItsBoundsIsADataErrorOfOneLine) {
    for (const OverBound& c : OverBounds()) {
        SCOPED_TRACE(c.name);
        const std::string path = c.name == "zero" ? "/dev/zero"
                                 : c.name == "-"  ? "-"
                                                  : File(c.name, c.contents);
        Redirects redirects;
        if (c.name == "-") redirects.in = ::open("/dev/zero", O_RDONLY | O_CLOEXEC);
        const CliRun run = RunCliWith(Link({"--terrain", path}), std::nullopt, redirects);
        if (redirects.in >= 0) ::close(redirects.in);
        const std::string name = path == "-" ? "standard input" : "\"" + path + "\"";
        EXPECT_EQ(run.exitStatus, 65);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "linkcalc-cli: terrain " + name + ": " + c.fault + "\n");
    }
}

TEST_F(InputBoundsTest, APathLongerThanHalfTheEarthIsRefusedWithItsLength) {
    const CliRun longest = RunCli(Link({"--distance", "20015", "--k-factor", "1"}));
    EXPECT_EQ(longest.exitStatus, 0) << longest.err;
    const CliRun longer = RunCli(Link({"--distance", "20015.2", "--k-factor", "1"}));
    EXPECT_EQ(longer.exitStatus, 65);
    EXPECT_EQ(longer.err,
              "linkcalc-cli: a path of 20015200 m is longer than any on the earth (20015114.4 m): "
              "no clearance\n");
}

TEST_F(InputBoundsTest, InABatchTheRowOverABoundIsInvalidAndTheOthersComplete) {
    std::string batch = "gain1,gain2,band,speed,unit,distance,terrain,k-factor\n";
    const std::string good = "23,23,5800,24,Km,10,,\n";
    batch += good;
    std::vector<std::string> faults;
    for (const OverBound& c : OverBounds()) {
        if (c.name == "-") continue;
        const std::string path = c.name == "zero" ? "/dev/zero" : File(c.name, c.contents);
        batch += "23,23,5800,24,Km,,\"" + path + "\",\n" + good;
        faults.push_back("terrain \"" + path + "\": " + c.fault);
    }
    batch += "23,23,5800,24,Km,30000,,\n" + good;
    faults.push_back(
        "a path of 30000000 m is longer than any on the earth (20015114.4 m): no "
        "clearance");
    const CliRun run = RunCli({"--csv", "-"}, batch);
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::vector<Row> rows = RowsOf(run.out);
    ASSERT_EQ(rows.size(), 2 * faults.size() + 1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        if (i % 2 == 0) {
            EXPECT_EQ(rows[i].at("outcome"), "completed");
            EXPECT_EQ(rows[i].at("samples"), "335");
        } else {
            EXPECT_EQ(rows[i].at("outcome"), "invalid");
            EXPECT_EQ(rows[i].at("message"), faults[i / 2]);
        }
    }
}

TEST_F(InputBoundsTest, LfCrlfAndCrTerrainsGiveTheSameReport) {
    const std::string lf = "distance,elevation,obstruction\n0,100,0\n5000,300,15\n10000,200,0\n";
    std::string crlf, cr;
    for (const char c : lf) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        cr += c == '\n' ? '\r' : c;
    }
    const CliRun expected = RunCli(Link({"--terrain", File("lf.csv", lf), "--json"}));
    ASSERT_EQ(expected.exitStatus, 0) << expected.err;
    for (const auto& [name, text] : {std::pair{"crlf.csv", crlf}, std::pair{"cr.csv", cr}}) {
        const CliRun run = RunCli(Link({"--terrain", File(name, text), "--json"}));
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_EQ(run.out, expected.out) << name;
    }
}

TEST_F(InputBoundsTest, KAsAFractionIsKAsItsDecimal) {
    const CliRun decimal =
        RunCli(Link({"--distance", "16", "--k-factor", "1.3333333333333333", "--json"}));
    ASSERT_EQ(decimal.exitStatus, 0) << decimal.err;
    const CliRun fraction = RunCli(Link({"--distance", "16", "--k-factor", "4/3", "--json"}));
    EXPECT_EQ(fraction.out, decimal.out);
    const CliRun half = RunCli(Link({"--distance", "16", "--k-factor", "1/2", "--json"}));
    EXPECT_EQ(half.out, RunCli(Link({"--distance", "16", "--k-factor", "0.5", "--json"})).out);
    EXPECT_NE(half.out, decimal.out);

    const CliRun batch = RunCli({"--csv", "-"},
                                "gain1,gain2,band,speed,unit,distance,k-factor\n"
                                "23,23,5800,24,Km,16,4/3\n"
                                "23,23,5800,24,Km,16,1.3333333333333333\n"
                                "23,23,5800,24,Km,16,4/0\n"
                                "23,23,5800,24,Km,16,0/3\n");
    ASSERT_EQ(batch.exitStatus, 0) << batch.err;
    const std::vector<std::string> lines = CrlfLines(batch.out);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1].substr(lines[1].find(",completed")),
              lines[2].substr(lines[2].find(",completed")));
    const std::vector<Row> rows = RowsOf(batch.out);
    EXPECT_EQ(rows[0].at("k"), "1.3333333333333333");
    EXPECT_EQ(rows[2].at("message"), "k-factor \"4/0\" is not a positive number");
    EXPECT_EQ(rows[3].at("message"), "k-factor \"0/3\" is not a positive number");
}

}  // namespace
}  // namespace linkcalc::cli_test
