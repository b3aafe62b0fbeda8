// The map of links whose inputs hold what XML forbids: libxml2 reads it strictly, and each
// fault is there as \xHH.
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"

namespace linkcalc::cli_test {
namespace {

void Silent(void*, const char*, ...) {}

void Collect(xmlNode* node, std::vector<std::string>& texts) {
    for (; node != nullptr; node = node->next) {
        if (node->type == XML_ELEMENT_NODE &&
            std::string(reinterpret_cast<const char*>(node->name)) == "description") {
            xmlChar* content = xmlNodeGetContent(node);
            texts.emplace_back(content != nullptr ? reinterpret_cast<const char*>(content) : "");
            xmlFree(content);
        }
        Collect(node->children, texts);
    }
}

// The descriptions of the map's lines, read strictly; a failure when it is not well-formed.
std::vector<std::string> Descriptions(const std::string& path) {
    xmlSetGenericErrorFunc(nullptr, Silent);
    const std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
        xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR), xmlFreeDoc);
    if (!doc) {
        const xmlError* error = xmlGetLastError();
        ADD_FAILURE() << path << " is not well-formed: "
                      << (error != nullptr && error->message != nullptr ? error->message : "?");
        return {};
    }
    std::vector<std::string> texts;
    Collect(xmlDocGetRootElement(doc.get()), texts);
    return texts;
}

class MapTexts : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/linkcalc-map-texts-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
        map_ = folder_ + "/links.kml";
    }
    void TearDown() override {
        std::remove(map_.c_str());
        ::rmdir(folder_.c_str());
    }

    std::string folder_;
    std::string map_;
};

TEST_F(MapTexts, AUnitOfControlsAndStrayBytesIsShownInTheMap) {
    const CliRun run = RunCli(
        {"--gain1=23", "--gain2=23", "--band=5800", "--speed=6", "--site1=0,0", "--site2=0,0.1",
         "--unit=Miles\x01\x1B\xFF\xEF\xBF\xBE\xED\xA0\x80", "--kml=" + map_});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::vector<std::string> descriptions = Descriptions(map_);
    ASSERT_EQ(descriptions.size(), 1u);
    EXPECT_NE(descriptions[0].find(", unit=Miles\\x01\\x1B\\xFF\\xEF\\xBF\\xBE\\xED\\xA0\\x80, "),
              std::string::npos)
        << descriptions[0];
}

TEST_F(MapTexts, BatchCellsOfControlsAndNoncharactersAreShownInTheMap) {
    const std::string sites = "\"0,0\",\"0,0.1\",23,23,5800,6,";
    const CliRun run = RunCli({"--csv", "-", "--kml", map_},
                              "site1,site2,gain1,gain2,band,speed,unit\n" +  //
                                  sites + "\"Mi\x1B[31m\"\n" +               // ESC
                                  sites + "Miles\xEF\xBF\xBE\n" +            // U+FFFE
                                  sites + "\x01\x02\x7F\t\n" +               // controls
                                  sites + "Km\xFF\n" +                       // not UTF-8: invalid
                                  sites + "Km\xEF\xBF\xBF\n");               // U+FFFF
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::vector<std::string> descriptions = Descriptions(map_);
    ASSERT_EQ(descriptions.size(), 4u);
    const char* units[] = {"unit=Mi\\x1B[31m\n", "unit=Miles\\xEF\\xBF\\xBE\n",
                           "unit=\\x01\\x02\x7F\t\n", "unit=Km\\xEF\\xBF\\xBF\n"};
    for (std::size_t i = 0; i < descriptions.size(); ++i) {
        EXPECT_NE(descriptions[i].find(units[i]), std::string::npos) << descriptions[i];
    }
}

}  // namespace
}  // namespace linkcalc::cli_test
