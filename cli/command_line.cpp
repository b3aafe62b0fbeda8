#include "cli/command_line.h"

#include "cli/input_options.h"

namespace linkcalc::cli {

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) throw UsageError("unexpected argument \"" + arg + "\"");
        const std::size_t equals = arg.find('=');
        const std::string name =
            arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        if (name == "help" || name == "version" || name == "json") {
            if (equals != std::string::npos) throw UsageError("--" + name + " takes no value");
            (name == "help" ? line.help : name == "version" ? line.version : line.json) = true;
            continue;
        }
        const auto option = InputOptionNamed(name);
        if (!option && name != "csv") throw UsageError("unknown option \"" + arg + "\"");

        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            throw UsageError("--" + name + " needs a value");
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
    return line;
}

}  // namespace linkcalc::cli
