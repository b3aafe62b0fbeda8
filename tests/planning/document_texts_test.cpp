// The map and the picture written from texts full of what XML forbids: libxml2 reads each file
// strictly, and the texts are there with the forbidden bytes shown.
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "command_output.h"

#include "planning/clearance.h"
#include "planning/map_file.h"
#include "planning/picture.h"
#include "planning/profile.h"
#include "planning/xml_text.h"

namespace linkcalc::planning {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// Texts as the inputs may give them: controls, ESC, NUL, U+FFFE and U+FFFF, a surrogate, an
// overlong form, bytes that are not UTF-8, and the characters XML escapes.
const std::vector<std::string>& Faulty() {
    static const std::vector<std::string> texts{
        "Miles\x01",
        "\x1B[31mred\x1B[0m",
        "a\0b"s,
        "x\xEF\xBF\xBEy\xEF\xBF\xBF",
        "\xED\xA0\x80 and \xC0\x80",
        "caf\xC3\xA9 \xFF\xFE end\xC3",
        "tab\there, bell\x07, <&> \"quoted\"",
    };
    return texts;
}

// What libxml2 reads of a file, strictly: the error when it is not well-formed.
struct Parsed {
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc{nullptr, xmlFreeDoc};
    std::string error;
};

void Silent(void*, const char*, ...) {}

Parsed Parse(const fs::path& file) {
    xmlSetGenericErrorFunc(nullptr, Silent);
    Parsed parsed;
    parsed.doc.reset(xmlReadFile(file.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR));
    if (!parsed.doc) {
        const xmlError* error = xmlGetLastError();
        parsed.error = error != nullptr && error->message != nullptr ? error->message : "?";
    }
    return parsed;
}

// The text of every element of that name, in document order.
void Collect(xmlNode* node, const std::string& name, std::vector<std::string>& texts) {
    for (; node != nullptr; node = node->next) {
        if (node->type == XML_ELEMENT_NODE && name == reinterpret_cast<const char*>(node->name)) {
            xmlChar* content = xmlNodeGetContent(node);
            texts.emplace_back(content != nullptr ? reinterpret_cast<const char*>(content) : "");
            xmlFree(content);
        }
        Collect(node->children, name, texts);
    }
}

std::vector<std::string> Texts(const Parsed& parsed, const std::string& name) {
    std::vector<std::string> texts;
    Collect(xmlDocGetRootElement(parsed.doc.get()), name, texts);
    return texts;
}

class DocumentTexts : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("linkcalc-document-texts-test-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path folder_;
};

TEST_F(DocumentTexts, AMapOfFaultyTextsParsesAndShowsThem) {
    const fs::path file = folder_ / "links.kml";
    std::string title = "links";
    for (const std::string& text : Faulty()) title += " " + text;
    const std::unique_ptr<MapWriter> map = CreateKmlMap(file.string(), title);
    for (const std::string& text : Faulty()) {
        MapLine line;
        line.name = text;
        line.description = "Inputs: unit=" + text + "\nOutcome: completed";
        line.site1 = {40.5, -79.9};
        line.site2 = {40.6, -79.8};
        line.path = {line.site1, line.site2};
        map->Add(line);
    }
    map->Finish();

    const Parsed parsed = Parse(file);
    ASSERT_TRUE(parsed.doc) << parsed.error;
    const std::vector<std::string> names = Texts(parsed, "name");
    const std::vector<std::string> descriptions = Texts(parsed, "description");
    // The document's name, then two sites and a line a link.
    ASSERT_EQ(names.size(), 1 + 3 * Faulty().size());
    ASSERT_EQ(descriptions.size(), Faulty().size());
    EXPECT_EQ(names[0], XmlText(title));
    for (std::size_t i = 0; i < Faulty().size(); ++i) {
        const std::string shown = XmlText(Faulty()[i]);
        EXPECT_EQ(names[1 + 3 * i], shown + ": site 1");
        EXPECT_EQ(names[2 + 3 * i], shown + ": site 2");
        EXPECT_EQ(names[3 + 3 * i], shown);
        EXPECT_EQ(descriptions[i], "Inputs: unit=" + shown + "\nOutcome: completed");
    }
    // Each fault as the reader sees it.
    EXPECT_EQ(names[3], "Miles\\x01");
    EXPECT_EQ(names[6], "\\x1B[31mred\\x1B[0m");
    EXPECT_EQ(names[9], "a\\x00b");
    EXPECT_EQ(names[12], "x\\xEF\\xBF\\xBEy\\xEF\\xBF\\xBF");
    EXPECT_EQ(names[15], "\\xED\\xA0\\x80 and \\xC0\\x80");
    EXPECT_EQ(names[18], "caf\xC3\xA9 \\xFF\\xFE end\\xC3");
    EXPECT_EQ(names[21], "tab\there, bell\\x07, <&> \"quoted\"");
}

// A picture whose every text is faulty.
ProfileDrawing FaultyDrawing() {
    ClearanceInput input;
    input.pathLength_m = 10000;
    input.frequencyMHz = 5800;
    input.samples = BareEarthProfile(input.pathLength_m);
    input.end1 = {0, 10};
    input.end2 = {0, 10};
    ProfileDrawing drawing;
    drawing.clearance = ComputeClearance(input);
    drawing.pathLength_m = input.pathLength_m;
    drawing.end1 = input.end1;
    drawing.end2 = input.end2;
    drawing.distanceUnit = "km\x01";
    drawing.heightUnit = "m\xFF";
    drawing.title = "Path profile: " + Faulty()[0] + " " + Faulty()[3];
    drawing.site1Label = Faulty()[1];
    drawing.site2Label = Faulty()[2];
    drawing.worstLabel = Faulty()[4];
    drawing.bulgeLabel = Faulty()[5];
    for (const std::string& text : Faulty()) drawing.legend.push_back({text, text});
    return drawing;
}

using planning_test::Output;

TEST_F(DocumentTexts, APictureOfFaultyTextsIsWellFormedAndShowsThem) {
    const fs::path svg = folder_ / "path.svg";
    const fs::path pdf = folder_ / "path.pdf";
    WriteProfilePicture(svg.string(), FaultyDrawing());
    WriteProfilePicture(pdf.string(), FaultyDrawing());

    const Parsed parsed = Parse(svg);
    ASSERT_TRUE(parsed.doc) << parsed.error;
    EXPECT_EQ(
        std::string(reinterpret_cast<const char*>(xmlDocGetRootElement(parsed.doc.get())->name)),
        "svg");

    // The PDF's text, as a reader copies it out, holds the faults as shown.
    const std::string text = Output("pdftotext -enc UTF-8 " + pdf.string() + " - 2>&1");
    for (const std::string& shown : {"Miles\\x01"s, "\\x1B[31mred\\x1B[0m"s, "a\\x00b"s,
                                     "x\\xEF\\xBF\\xBEy"s, "\\xFF\\xFE end\\xC3"s, "bell\\x07"s}) {
        EXPECT_NE(text.find(shown), std::string::npos) << shown << " in\n" << text;
    }
    const std::string info = Output("pdfinfo " + pdf.string() + " 2>&1");
    EXPECT_NE(info.find("Path profile: Miles\\x01 x\\xEF\\xBF\\xBEy\\xEF\\xBF\\xBF"),
              std::string::npos)
        << info << "(Debian: poppler-utils)";
}

}  // namespace
}  // namespace linkcalc::planning
