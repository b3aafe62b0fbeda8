// The path's picture in its three formats, read back by other programs (rsvg-convert, pdfinfo)
// and by its PNG header, never against golden pixels; its legend holds the run's own texts.
#include "planning/picture.h"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "command_output.h"

#include "linkcalc/calc_run.h"
#include "planning/profile_picture.h"

namespace linkcalc::planning {
namespace {

namespace fs = std::filesystem;

using planning_test::Output;

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t BigEndian(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

class PictureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ =
            fs::temp_directory_path() / ("linkcalc-picture-test-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        sheet_.SetText(Field::TxtAntG, "23");
        sheet_.SetText(Field::TxtAntG2, "24");
        sheet_.SetText(Field::TxtCblLss1, "1");
        sheet_.SetText(Field::TxtCblLoss2, "2");
        sheet_.SetText(Field::CmbEFreq, "5800");
        sheet_.SetText(Field::CmbSlcSpeed, "24 Mbps");
        sheet_.SetText(Field::TxtDM, "10");
        sheet_.SetText(Field::Cmbmilekm, "Km");
        RunValues values;
        ASSERT_EQ(CalcRun(sheet_, values).outcome, RunOutcome::Completed);
        path_ = PathOfRun(sheet_, values);
        input_.samples = ProfileFromRows(
            {{0, 100, 0}, {4000, 100, 0}, {5000, 300, 15}, {6000, 150, 0}, {10000, 200, 0}},
            path_.length_m);
        input_.pathLength_m = path_.length_m;
        input_.frequencyMHz = path_.frequencyMHz;
        input_.end1 = {100, 10};
        input_.end2 = {200, 20};
        clearance_ = ComputeClearance(input_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    ProfileDrawing Drawing() const {
        return DrawingOfRun(sheet_, path_, input_, clearance_, {{"Bearing 1 to 2", "45.2°"}});
    }
    // Writes the picture and checks that nothing else was left in the folder.
    fs::path Write(const std::string& name) const {
        const fs::path file = folder_ / name;
        WriteProfilePicture(file.string(), Drawing());
        EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
        return file;
    }

    fs::path folder_;
    MemorySheet sheet_;
    RunPath path_;
    ClearanceInput input_;
    Clearance clearance_;
};

TEST_F(PictureTest, SvgIsReadAndRenderedByRsvg) {
    const fs::path svg = Write("path.svg");
    const std::string text = Contents(svg);
    EXPECT_EQ(text.rfind("<?xml", 0), 0u);
    EXPECT_NE(text.find("<svg"), std::string::npos);
    EXPECT_NE(text.find("width=\"1200pt\" height=\"680pt\""), std::string::npos);
    const fs::path rendered = folder_ / "rendered.png";
    const std::string command =
        "rsvg-convert --format=png --output=" + rendered.string() + " " + svg.string() + " 2>&1";
    EXPECT_EQ(Output(command + "; echo status $?"), "status 0\n") << "(Debian: librsvg2-bin)";
    const std::string png = Contents(rendered);
    ASSERT_GE(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    // The page's proportions, to the pixel that rsvg-convert rounds to.
    const double width = BigEndian(png, 16);
    EXPECT_GT(width, 0);
    EXPECT_NEAR(BigEndian(png, 20), width * 680 / 1200, 1);
}

TEST_F(PictureTest, PngHasThePagesSize) {
    const std::string png = Contents(Write("path.PNG"));
    ASSERT_GE(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(BigEndian(png, 16), 1200u);
    EXPECT_EQ(BigEndian(png, 20), 680u);
}

TEST_F(PictureTest, PdfIsOnePageThatPdfinfoReads) {
    const fs::path pdf = Write("path.pdf");
    const std::string info = "\n" + Output("pdfinfo " + pdf.string() + " 2>&1");
    const auto entry = [&](const std::string& name) {
        const std::size_t at = info.find("\n" + name + ":");
        if (at == std::string::npos) return std::string("(none)");
        const std::size_t start = info.find_first_not_of(' ', at + name.size() + 2);
        return info.substr(start, info.find('\n', start) - start);
    };
    EXPECT_EQ(entry("Pages"), "1") << info << "(Debian: poppler-utils)";
    EXPECT_EQ(entry("Page size"), "1200 x 680 pts");
    EXPECT_EQ(entry("Title"), "Path profile: 10 Km at 5800 MHz");
}

TEST_F(PictureTest, AnotherExtensionIsRefusedAndAnUnwritablePlaceNamed) {
    EXPECT_THROW(WriteProfilePicture((folder_ / "path.jpg").string(), Drawing()),
                 std::invalid_argument);
    EXPECT_THROW(WriteProfilePicture((folder_ / "svg").string(), Drawing()), std::invalid_argument);
    const std::string absent = (folder_ / "absent" / "path.png").string();
    try {
        WriteProfilePicture(absent, Drawing());
        FAIL() << "no error";
    } catch (const PictureError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "cannot write " + absent + ": No such file or directory");
    }
    // A folder in the picture's place: nothing is left beside it.
    fs::create_directories(folder_ / "taken.svg" / "inside");
    EXPECT_THROW(WriteProfilePicture((folder_ / "taken.svg").string(), Drawing()), PictureError);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(PictureTest, TheLegendHoldsTheRunsTextsAndTheClearance) {
    const ProfileDrawing drawing = Drawing();
    const auto value = [&](const std::string& label) {
        for (const LegendLine& line : drawing.legend) {
            if (line.label == label) return line.value;
        }
        return std::string("(none)");
    };
    EXPECT_EQ(value("Distance"), "10 Km");
    EXPECT_EQ(value("Band"), "5800 MHz");
    EXPECT_EQ(value("Speed"), "24 Mbps");
    EXPECT_EQ(value("Free-space loss"), sheet_.Text(Field::TxtFSL) + " dB");
    EXPECT_EQ(value("Expected RSSI 1 / 2"),
              sheet_.Text(Field::TxtERSSI) + " / " + sheet_.Text(Field::TxtERSSI2) + " dBm");
    EXPECT_EQ(value("Fade margin"), sheet_.Text(Field::TxtFM) + " dB");
    EXPECT_EQ(value("Bit rate one way"), sheet_.Text(Field::TxtEBtRateUni) + " Mbit/s");
    EXPECT_EQ(value("Bit rate both ways"), sheet_.Text(Field::TxtEBRBi) + " Mbit/s");
    EXPECT_EQ(value("Bearing 1 to 2"), "45.2°");
    EXPECT_EQ(value("Worst point at"), "5.00 km");
    EXPECT_EQ(value("Clearance there"), "-151.5 m");
    EXPECT_EQ(value("60 % of the zone clear"), "no");
    EXPECT_EQ(value("Masts for 60 % clear"), "173.3 m");
    EXPECT_EQ(value("Masts for 100 % clear"), "177.8 m");
    EXPECT_EQ(drawing.worstLabel, "Worst point: 151.5 m above the line of sight");
    EXPECT_EQ(drawing.heightUnit, "m");
    EXPECT_EQ(drawing.distanceUnit, "km");
}

}  // namespace
}  // namespace linkcalc::planning
