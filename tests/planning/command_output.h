// What a shell command prints on its standard output, for checks by the tools that read
// pictures and documents (rsvg-convert, pdfinfo, pdftotext).
#pragma once

#include <array>
#include <cstdio>
#include <string>

namespace linkcalc::planning_test {

inline std::string Output(const std::string& command) {
    std::string text;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return text;
    std::array<char, 4096> buffer{};
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        text.append(buffer.data(), got);
    ::pclose(pipe);
    return text;
}

}  // namespace linkcalc::planning_test
