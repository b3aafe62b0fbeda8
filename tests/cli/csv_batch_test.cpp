// Batches through `linkcalc-cli --csv`: one run per row on a fresh sheet, quoting both ways,
// rows refused before the run, and malformed files refused as a whole.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/csv.h"
#include "cli_runner.h"
#include "csv_rows.h"

namespace linkcalc::cli_test {
namespace {

const std::string kOutputColumns =
    "outcome,message,Lblft1,Lblft2,Lblft3,TxtFSL,TxtFR,TxtEC,TxtSAH,TxtReqSS,TxtRECI,TxtEIRP1,"
    "TxtEIRP2,TxtMTP,TxtMTP2,TxtERSSI,TxtERSSI2,TxtRNFL,TxtRNFL2,TxtEBtRateUni,TxtEBRBi,TxtFM";

CliRun RunBatch(const std::string& csv) {
    return RunCli({"--csv", "-"}, csv);
}

void ExpectResultsEmpty(const Row& row) {
    for (const std::string& name : ResultFieldNames()) {
        EXPECT_EQ(row.at(name), "") << "result field " << name;
    }
}

TEST(CsvBatch, HeaderInAnyOrderAndSubsetEchoesTheInputColumns) {
    const CliRun run = RunBatch("speed,band,unit,distance,gain2,gain1\n54,5800,Miles,10,23,23\n");
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "speed,band,unit,distance,gain2,gain1," + kOutputColumns +
                           "\r\n"
                           "54,5800,Miles,10,23,23,completed,,ft,ft,ft,132,47,12,60,-73dBm,25,40,"
                           "40,17,17,-69,-69,-94,-94,27.62,33.77,4.2\r\n");
}

TEST(CsvBatch, HeaderAloneGivesTheOutputHeaderAlone) {
    const CliRun run = RunBatch("packet\n");
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "packet," + kOutputColumns + "\r\n");
}

TEST(CsvBatch, FileAndStandardInputGiveTheSameOutput) {
    const std::string csv =
        "gain1,gain2,loss1,loss2,distance,unit,band,speed,packet\r\n"
        "23,19,0,1,5,Miles,5300,54 Mbps,\r\n"
        "22,34,0.5,0.0,5,Miles,5400,6,64\r\n";
    const std::string path =
        ::testing::TempDir() + "linkcalc_batch_" + std::to_string(::getpid()) + ".csv";
    {
        std::ofstream file(path, std::ios::binary);
        file << csv;
    }
    const CliRun fromFile = RunCli({"--csv", path});
    const CliRun fromStdin = RunBatch(csv);
    std::remove(path.c_str());
    EXPECT_EQ(fromFile.exitStatus, 0);
    EXPECT_EQ(fromFile.out, fromStdin.out);
    const std::vector<Row> rows = RowsOf(fromFile.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].at("TxtERSSI2"), "-77");
    EXPECT_EQ(rows[0].at("TxtFM"), "-3");
    EXPECT_EQ(rows[1].at("TxtMTP2"), "-4");
    EXPECT_EQ(rows[1].at("TxtRECI"), "5");
}

TEST(CsvBatch, QuotedFieldsAreReadAndWrittenBackQuoted) {
    const std::string csv =
        "gain1,gain2,distance,unit,band,speed,packet\n"
        "23,23,10,\"Mi,les\",5800,54,1518\n"          // a comma in a unit text taken as miles
        "\"2\"\"3\",23,10,Miles,5800,54,\n"           // a quote: gain 2"3 needs a cable loss
        "23,23,\"1\n0\",Miles,5800,54,\n"             // LF inside: not a number
        "23,23,10,Miles,\"5800\",54,\"15\r\n18\"\n";  // CRLF inside: passes the checks, then fails
    const CliRun run = RunBatch(csv);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");

    const std::vector<Row> rows = RowsOf(run.out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].at("unit"), "Mi,les");
    EXPECT_EQ(rows[0].at("outcome"), "completed");
    EXPECT_EQ(rows[0].at("TxtFR"), "47");
    EXPECT_EQ(rows[1].at("gain1"), "2\"3");
    EXPECT_EQ(rows[1].at("outcome"), "stopped");
    EXPECT_EQ(rows[1].at("message"), "Enter correct cable loss");
    EXPECT_EQ(rows[2].at("distance"), "1\n0");
    EXPECT_EQ(rows[2].at("message"),
              "You must enter a numeric value\r\nThis value should be in miles or KM.");
    EXPECT_EQ(rows[3].at("packet"), "15\r\n18");
    EXPECT_EQ(rows[3].at("outcome"), "failed");
    EXPECT_EQ(rows[3].at("message"), "The packet size must be a number of bytes.");

    // The raw text: fields that need it are quoted, with quotes doubled and line breaks kept.
    for (const char* quoted :
         {"\"Mi,les\"", "\"2\"\"3\"", "\"1\n0\"", "\"15\r\n18\"",
          "\"You must enter a numeric value\r\nThis value should be in miles or KM.\""}) {
        EXPECT_NE(run.out.find(quoted), std::string::npos) << quoted;
    }
    // Fields that need no quotes are written bare, even when they came quoted.
    EXPECT_NE(run.out.find("\r\n23,23,10,Miles,5800,54,\"15\r\n18\",failed,"), std::string::npos);
}

// Rows may be run in any grouping; the pattern is repeated so that neighbouring rows also share
// whatever a grouping could carry over.
TEST(CsvBatch, EachRowStartsOnAFreshSheet) {
    constexpr int kRepeats = 25;
    std::string csv = "gain1,gain2,distance,unit,band,speed\n";
    for (int i = 0; i < kRepeats; ++i) {
        csv +=
            "23,23,,Km,5800,54\n"         // stopped after the labels turned to m
            "23,23,16.0934,Km,5800,54\n"  // completed in metres
            "23,23,10,km,5800,54\n"       // km leaves the labels as the sheet opened: ft
            ",23,10,Miles,5800,54\n";     // stopped: no results of the row before
    }
    const CliRun run = RunBatch(csv);
    EXPECT_EQ(run.exitStatus, 0);
    const std::vector<Row> rows = RowsOf(run.out);
    ASSERT_EQ(rows.size(), 4u * kRepeats);

    for (int i = 0; i < kRepeats; ++i) {
        SCOPED_TRACE("repeat " + std::to_string(i));
        const Row* row = &rows[4 * static_cast<std::size_t>(i)];
        EXPECT_EQ(row[0].at("outcome"), "stopped");
        EXPECT_EQ(row[0].at("message"), "Enter the distance in miles or Km.");
        EXPECT_EQ(row[0].at("Lblft1"), "m");
        ExpectResultsEmpty(row[0]);

        EXPECT_EQ(row[1].at("outcome"), "completed");
        EXPECT_EQ(row[1].at("Lblft2"), "m");
        EXPECT_EQ(row[1].at("TxtFR"), "14");

        EXPECT_EQ(row[2].at("outcome"), "completed");
        EXPECT_EQ(row[2].at("Lblft1"), "ft");
        EXPECT_EQ(row[2].at("Lblft3"), "ft");
        EXPECT_EQ(row[2].at("TxtFR"), "47");

        EXPECT_EQ(row[3].at("outcome"), "stopped");
        EXPECT_EQ(row[3].at("message"), "Select an antenna.");
        ExpectResultsEmpty(row[3]);
    }
}

TEST(CsvBatch, LargeBatchKeepsTheRowOrder) {
    constexpr int kRows = 20000;
    const char* const distances[] = {"1", "5", "10"};
    const char* const losses[] = {"112", "126", "132"};  // free-space loss at 5800 MHz
    std::string csv = "packet,distance,gain1,gain2,unit,band,speed\n";
    for (int i = 0; i < kRows; ++i) {
        csv += std::to_string(i) + "," + distances[i % 3] + ",23,23,Miles,5800,54\n";
    }
    const CliRun run = RunBatch(csv);
    EXPECT_EQ(run.exitStatus, 0);
    const std::vector<Row> rows = RowsOf(run.out);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kRows));
    int misplaced = 0;
    for (int i = 0; i < kRows; ++i) {
        const Row& row = rows[static_cast<std::size_t>(i)];
        if (row.at("packet") != std::to_string(i) || row.at("distance") != distances[i % 3] ||
            row.at("TxtFSL") != losses[i % 3] || row.at("outcome") != "completed") {
            if (++misplaced <= 3) ADD_FAILURE() << "row " << i << ": packet " << row.at("packet");
        }
    }
    EXPECT_EQ(misplaced, 0);
}

TEST(CsvBatch, BandOrSpeedOutsideTheListsMakesTheRowInvalid) {
    const std::string csv =
        "band,speed,gain1,gain2,distance,unit\n"
        "5000,54,23,23,10,Miles\n"
        "5800,9 Mbps,23,23,10,Miles\n"
        "5800,6,23,23,10,Miles\n"  // the bare number is in the list
        ",54,23,23,10,Miles\n";    // nothing chosen: the run says so
    const CliRun run = RunBatch(csv);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
    const std::vector<Row> rows = RowsOf(run.out);
    ASSERT_EQ(rows.size(), 4u);

    EXPECT_EQ(rows[0].at("outcome"), "invalid");
    EXPECT_EQ(rows[0].at("message"),
              "band \"5000\" is not in the list: \"4900\", \"5300\", \"5400\", \"5800\"");
    EXPECT_EQ(rows[0].at("band"), "5000");
    EXPECT_EQ(rows[0].at("Lblft1"), "");
    ExpectResultsEmpty(rows[0]);
    EXPECT_NE(run.out.find("invalid,\"band \"\"5000\"\" is not in the list: \"\"4900\"\""),
              std::string::npos);

    EXPECT_EQ(rows[1].at("outcome"), "invalid");
    EXPECT_EQ(rows[1].at("message").rfind("speed \"9 Mbps\" is not in the list", 0), 0u)
        << rows[1].at("message");
    ExpectResultsEmpty(rows[1]);

    EXPECT_EQ(rows[2].at("outcome"), "completed");
    EXPECT_EQ(rows[2].at("speed"), "6");
    EXPECT_EQ(rows[2].at("TxtReqSS"), "-92dBm");

    EXPECT_EQ(rows[3].at("outcome"), "stopped");
    EXPECT_EQ(rows[3].at("message"), "Select a band or frequency.");
}

TEST(CsvBatch, LongRefusedValueIsShownByItsStart) {
    const std::string euros = "\xE2\x82\xAC";  // three bytes, one character
    std::string band;
    for (int i = 0; i < 30; ++i) band += "5" + euros;
    const CliRun run = RunBatch("band,speed\n" + band + ",54\n");
    const std::vector<Row> rows = RowsOf(run.out);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("band"), band);
    std::string shown;
    for (int i = 0; i < 20; ++i) shown += "5" + euros;
    EXPECT_EQ(
        rows[0].at("message"),
        "band \"" + shown + "...\" is not in the list: \"4900\", \"5300\", \"5400\", \"5800\"");
}

TEST(CsvBatch, BlankLinesByteOrderMarkAndMissingFinalLineEndAreAccepted) {
    const std::string csv =
        "\xEF\xBB\xBF"
        "band,speed,gain1,gain2,distance,unit\r\n"
        "\r\n"
        "5800,54,23,23,10,Miles\r\n"
        "\n\n"
        "5300,54,23,19,5,Miles\n"
        "\n"
        "4900,6,23,23,1,Miles";
    const CliRun run = RunBatch(csv);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.rfind("band,speed,", 0), 0u) << run.out;
    const std::vector<Row> rows = RowsOf(run.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].at("TxtFM"), "4.2");
    EXPECT_EQ(rows[1].at("TxtERSSI"), "-72");
    EXPECT_EQ(rows[2].at("TxtFM"), "48.66");
}

struct HeaderCase {
    const char* name;
    std::string csv;
    std::string complaint;  // "line N: ..."
};

TEST(CsvBatch, UnreadableHeaderIsAUsageErrorNamingItsLineAndWritesNothing) {
    const std::vector<HeaderCase> cases{
        {"empty file", "", "line 1: the CSV has no header line"},
        {"blank lines only", "\n\r\n\n", "line 1: the CSV has no header line"},
        {"unknown column", "gain1,frequency\n", "line 1: unknown column \"frequency\""},
        {"column names are case-sensitive", "Gain1\n", "line 1: unknown column \"Gain1\""},
        {"unknown column after blank lines", "\n\ngain1,freq\n", "line 3: unknown column \"freq\""},
        {"duplicate column", "gain1,band,gain1\n", "line 1: column \"gain1\" appears twice"},
        {"stray quote in the header", "gain1,un\"it\n", "line 1: a quote inside an unquoted field"},
        {"unclosed quote in the header", "gain1,\"unit\n23,Km\n",
         "line 1: a quoted field is not closed"},
        {"more columns than there are inputs",
         "gain1,gain2,loss1,loss2,distance,unit,band,speed,"
         "packet,gain1,gain2\n",
         "line 1: column \"gain1\" appears twice"},
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = RunBatch(c.csv);
        EXPECT_EQ(run.exitStatus, 64);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.complaint), std::string::npos) << run.err;
    }
}

struct BadRowCase {
    const char* name;
    std::string row;      // one line, or more for a quoted line break; its LF included
    std::string message;  // of the invalid row
};

// Each bad row stands between two good ones, which run as ever; the bad one comes out invalid,
// with empty inputs and results and a message that names its line and its fault.
TEST(CsvBatch, BadRowIsInvalidAndTheRowsAroundItStillRun) {
    const std::string big(1024 * 1024 + 1, '5');
    const std::vector<BadRowCase> cases{
        {"too few fields", "23,23,10\n", "line 3: 3 fields where the header has 6"},
        {"too many fields", "23,23,10,Miles,5800,54,1\n",
         "line 3: 7 fields where the header has 6"},
        {"a separator too many at the end", "23,23,10,Miles,5800,54,\n",
         "line 3: 7 fields where the header has 6"},
        {"stray quote", "23,2\"3,10,Miles,5800,54\n", "line 3: a quote inside an unquoted field"},
        {"text after a closing quote", "23,\"23\"x,10,Miles,5800,54\n",
         "line 3: unexpected text after a closing quote"},
        {"unclosed quote", "23,\"23,10,Miles,5800,54\n", "line 3: a quoted field is not closed"},
        {"field over 1 MiB", "23,23," + big + ",Miles,5800,54\n",
         "line 3: a field longer than 1 MiB"},
        {"quoted field over 1 MiB", "23,23,\"" + big + "\",Miles,5800,54\n",
         "line 3: a field longer than 1 MiB"},
        {"bytes that are not UTF-8", "23,23,10,Mil\xE9s,5800,54\n",
         "line 3: bytes that are not UTF-8"},
        {"NUL byte", std::string("23,23,1\0,Miles,5800,54\n", 23), "line 3: a NUL byte"},
    };
    const std::string header = "gain1,gain2,distance,unit,band,speed\n";
    const std::string before = "23,23,10,Miles,5800,54\n";
    const std::string after = "23,23,16.0934,Km,5800,54\n";
    for (const BadRowCase& c : cases) {
        SCOPED_TRACE(c.name);
        // The unclosed quote never closes: nothing but the line end stops it.
        const std::string csv = header + before + c.row + after;
        const CliRun run = RunBatch(csv);
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.err, "");
        const std::vector<Row> rows = RowsOf(run.out);
        ASSERT_EQ(rows.size(), 3u) << run.out.substr(0, 2000);
        EXPECT_EQ(rows[0].at("outcome"), "completed");
        EXPECT_EQ(rows[0].at("TxtFR"), "47");

        EXPECT_EQ(rows[1].at("outcome"), "invalid");
        EXPECT_EQ(rows[1].at("message"), c.message);
        for (const char* input : {"gain1", "gain2", "distance", "unit", "band", "speed"}) {
            EXPECT_EQ(rows[1].at(input), "") << input;
        }
        EXPECT_EQ(rows[1].at("Lblft1"), "");
        ExpectResultsEmpty(rows[1]);

        EXPECT_EQ(rows[2].at("outcome"), "completed");
        EXPECT_EQ(rows[2].at("distance"), "16.0934");
        EXPECT_EQ(rows[2].at("TxtFR"), "14");
    }
}

// A stray opening quote would take the lines up to the next quote into its field: the row it
// makes is bad, so it is read again as ending at its own line.
TEST(CsvBatch, StrayOpeningQuoteCostsOnlyItsOwnLine) {
    const std::string csv =
        "gain1,unit,gain2,distance,band,speed\n"
        "23,\"Miles,23,10,5800,54\n"
        "19,Km,23,16.0934,5800,54\n"
        "23,\"Mi,les\",23,10,5800,54\n"
        "\"23\n";
    const CliRun run = RunBatch(csv);
    EXPECT_EQ(run.exitStatus, 0);
    const std::vector<Row> rows = RowsOf(run.out);
    ASSERT_EQ(rows.size(), 4u) << run.out;
    EXPECT_EQ(rows[0].at("message"), "line 2: a quoted field is not closed on its line");
    EXPECT_EQ(rows[1].at("outcome"), "completed");
    EXPECT_EQ(rows[1].at("Lblft1"), "m");
    EXPECT_EQ(rows[2].at("outcome"), "completed");
    EXPECT_EQ(rows[2].at("unit"), "Mi,les");
    EXPECT_EQ(rows[3].at("message"), "line 5: a quoted field is not closed");
}

// Rows with quoted line breaks keep their lines counted; a bad row after them names its own.
TEST(CsvBatch, LinesAreCountedOverQuotedLineBreaks) {
    const std::string csv =
        "gain1,unit\n\n"
        "23,\"Mi\nles\"\n"
        "23\n"
        "\"19\r\n\",Km\n";
    const CliRun run = RunBatch(csv);
    EXPECT_EQ(run.exitStatus, 0);
    const std::vector<Row> rows = RowsOf(run.out);
    ASSERT_EQ(rows.size(), 3u) << run.out;
    EXPECT_EQ(rows[0].at("unit"), "Mi\nles");
    EXPECT_EQ(rows[0].at("outcome"), "stopped");
    EXPECT_EQ(rows[1].at("message"), "line 5: 1 fields where the header has 2");
    EXPECT_EQ(rows[2].at("gain1"), "19\r\n");
    EXPECT_EQ(rows[2].at("outcome"), "stopped");
}

TEST(CsvBatch, MalformedLineAfterManyRowsDoesNotStopTheBatch) {
    std::string csv = "gain1,gain2,distance,unit,band,speed\n";
    for (int i = 0; i < 5000; ++i) csv += "23,23,10,Miles,5800,54\n";
    csv += "23,23,10,Miles,5800\n";
    for (int i = 0; i < 5000; ++i) csv += "23,23,5,Miles,5800,54\n";
    const CliRun run = RunBatch(csv);
    EXPECT_EQ(run.exitStatus, 0);
    const std::vector<Row> rows = RowsOf(run.out);
    ASSERT_EQ(rows.size(), 10001u);
    EXPECT_EQ(rows[4999].at("TxtFSL"), "132");
    EXPECT_EQ(rows[5000].at("outcome"), "invalid");
    EXPECT_EQ(rows[5000].at("message"), "line 5002: 5 fields where the header has 6");
    EXPECT_EQ(rows[5001].at("TxtFSL"), "126");
    EXPECT_EQ(rows[10000].at("TxtFSL"), "126");
}

struct SeparatorCase {
    const char* name;
    std::vector<std::string> args;
    std::string csv;
    char separator;  // of the output
};

// The output keeps the input's separator and quotes what holds it; a comma is then plain text.
TEST(CsvBatch, SeparatorComesFromTheHeaderLineOrTheCommandLine) {
    const std::vector<SeparatorCase> cases{
        {"semicolon", {}, "unit;gain1;gain2;distance;band;speed\nMi,les;23;23;10;5800;54\n", ';'},
        {"tab",
         {},
         "unit\tgain1\tgain2\tdistance\tband\tspeed\nMi,les\t23\t23\t10\t5800\t54\n",
         '\t'},
        {"comma", {}, "unit,gain1,gain2,distance,band,speed\n\"Mi,les\",23,23,10,5800,54\n", ','},
        {"quoted header name",
         {},
         "\"unit\";gain1;gain2;distance;band;speed\nMi,les;23;23;10;5800;54\n",
         ';'},
        {"--delimiter tab",
         {"--delimiter", "tab"},
         "unit\tgain1\tgain2\tdistance\tband\tspeed\nMi,les\t23\t23\t10\t5800\t54\n",
         '\t'},
        {"--delimiter=;",
         {"--delimiter=;"},
         "unit;gain1;gain2;distance;band;speed\nMi,les;23;23;10;5800;54\n",
         ';'},
        {"--delimiter with a tab character",
         {"--delimiter", "\t"},
         "unit\tgain1\tgain2\tdistance\tband\tspeed\nMi,les\t23\t23\t10\t5800\t54\n",
         '\t'},
    };
    for (const SeparatorCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args{"--csv", "-"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun run = RunCli(args, c.csv);
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.err, "");
        std::string header = "unit,gain1,gain2,distance,band,speed," + kOutputColumns;
        std::replace(header.begin(), header.end(), ',', c.separator);
        EXPECT_EQ(run.out.substr(0, run.out.find("\r\n")), header);
        std::string row =
            "Mi,les,23,23,10,5800,54,completed,,ft,ft,ft,132,47,12,60,-73dBm,25,40,40,17,17,-69,"
            "-69,-94,-94,27.62,33.77,4.2";
        std::replace(row.begin(), row.end(), ',', c.separator);
        if (c.separator == ',')
            row.replace(0, 6, "\"Mi,les\"");
        else
            row.replace(0, 6, "Mi,les");
        EXPECT_EQ(run.out.substr(run.out.find("\r\n") + 2), row + "\r\n");
    }
}

// The failure for a side-1 power out of range has a semicolon but no comma, quote or line break.
TEST(CsvBatch, MessageIsQuotedOnlyWhenItHoldsTheSeparator) {
    const std::string message =
        "The maximum transmit power of side 1 is out of range; check the gain and cable loss of "
        "antenna 1.";
    const CliRun semicolons = RunCli({"--csv", "-"},
                                     "band;speed;gain1;gain2;loss1;distance;unit\n"
                                     "5300;54;1000000;23;1;10;Miles\n");
    EXPECT_NE(semicolons.out.find(";Miles;failed;\"" + message + "\";ft;"), std::string::npos)
        << semicolons.out;
    const CliRun commas = RunCli({"--csv", "-"},
                                 "band,speed,gain1,gain2,loss1,distance,unit\n"
                                 "5300,54,1000000,23,1,10,Miles\n");
    EXPECT_NE(commas.out.find(",Miles,failed," + message + ",ft,"), std::string::npos)
        << commas.out;
}

}  // namespace
}  // namespace linkcalc::cli_test
