#include "cli/output_checks.h"

#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "planning/output_file.h"

namespace linkcalc::cli {
namespace {

struct NamedFile {
    const char* option;
    const std::optional<std::string>& path;
};

std::optional<planning::FileIdentity> IdentityOf(const std::string& path, bool input) {
    if (input && path == "-") return planning::IdentityOfDescriptor(STDIN_FILENO);
    return planning::IdentityOfPath(path);
}

std::string Shown(const NamedFile& file) {
    return *file.path == "-" ? std::string(file.option) + " (standard input)"
                             : std::string(file.option) + " \"" + *file.path + "\"";
}

}  // namespace

void CheckOutputsAreNotInputs(const CommandLine& line) {
    const std::vector<NamedFile> outputs{{"--kml", line.kmlPath}, {"--profile", line.profilePath}};
    const std::vector<NamedFile> inputs{
        {"--csv", line.csvPath}, {"--terrain", line.terrainPath}, {"--dem", line.demPath}};
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const NamedFile& output = outputs[i];
        if (!output.path) continue;
        const auto written = IdentityOf(*output.path, false);
        if (!written) continue;  // the write will say why it cannot reach it
        for (const NamedFile& input : inputs) {
            if (!input.path) continue;
            const auto read = IdentityOf(*input.path, true);
            if (read && read->SameFileAs(*written)) {
                throw UsageError(Shown(output) + " is the file of " + Shown(input) +
                                 ": an output cannot overwrite an input");
            }
        }
        for (std::size_t j = i + 1; j < outputs.size(); ++j) {
            if (!outputs[j].path) continue;
            const auto other = IdentityOf(*outputs[j].path, false);
            if (other && other->SameFileAs(*written)) {
                throw UsageError(Shown(outputs[j]) + " is the file of " + Shown(output) +
                                 ": two outputs cannot share a file");
            }
        }
    }
}

}  // namespace linkcalc::cli
