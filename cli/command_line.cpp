#include "cli/command_line.h"

#include "cli/input_options.h"

namespace linkcalc::cli {
namespace {

char DelimiterNamed(const std::string& value) {
    if (value == "," || value == ";" || value == "\t") return value[0];
    if (value == "tab") return '\t';
    throw UsageError("--delimiter takes \",\", \";\" or \"tab\", not \"" + value + "\"");
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) throw UsageError("unexpected argument \"" + arg + "\"");
        const std::size_t equals = arg.find('=');
        const std::string name =
            arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        if (name == "help" || name == "version" || name == "json" || name == "quiet") {
            if (equals != std::string::npos) throw UsageError("--" + name + " takes no value");
            (name == "help"      ? line.help
             : name == "version" ? line.version
             : name == "json"    ? line.json
                                 : line.quiet) = true;
            continue;
        }
        const auto option = InputOptionNamed(name);
        if (!option && name != "csv" && name != "delimiter") {
            throw UsageError("unknown option \"" + arg + "\"");
        }

        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            throw UsageError("--" + name + " needs a value");
        }

        if (name == "delimiter") {
            line.delimiter = DelimiterNamed(value);
            continue;
        }
        if (!option) {
            if (value.empty()) throw UsageError("--csv needs a file name, or - for standard input");
            line.csvPath = value;
            continue;
        }
        auto text = FieldTextOf(option->field, value);
        if (!text) throw UsageError(RefusalOf(*option, value));
        line.inputs.emplace_back(option->field, std::move(*text));
    }
    if (line.csvPath && !line.inputs.empty()) {
        throw UsageError("--csv takes its inputs from the file: give no input option with it");
    }
    if (line.csvPath && line.json) throw UsageError("--csv writes CSV: --json cannot go with it");
    if (line.delimiter && !line.csvPath) throw UsageError("--delimiter goes with --csv");
    return line;
}

}  // namespace linkcalc::cli
