#include "planning/map_file.h"

#include "planning/module_loader.h"
#include "planning/output_file.h"

namespace linkcalc::planning {
namespace {

class MapFile final : public MapWriter {
  public:
    MapFile(const LinkMaps& maps, const std::string& path, const std::string& title)
        : file_(Open(path)), document_(maps.Create(file_.Descriptor(), "the map " + path, title)) {}

    void Add(const MapLine& line) override { document_->Add(line); }

    void Finish() override {
        document_->Finish();
        try {
            file_.Commit();
        } catch (const OutputError& error) {
            throw MapError(error.what());
        }
    }

  private:
    static OutputFile Open(const std::string& path) {
        try {
            return OutputFile(path, "the map " + path);
        } catch (const OutputError& error) {
            throw MapError(error.what());
        }
    }

    OutputFile file_;
    std::unique_ptr<MapWriter> document_;  // dropped before the file is abandoned
};

}  // namespace

std::unique_ptr<MapWriter> CreateKmlMap(const std::string& path, const std::string& title) {
    const LinkMaps& maps = LoadModule<LinkMaps>("kml");
    return std::make_unique<MapFile>(maps, path, title);
}

}  // namespace linkcalc::planning
