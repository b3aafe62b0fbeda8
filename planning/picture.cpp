#include "planning/picture.h"

#include "planning/module_loader.h"

namespace linkcalc::planning {

std::optional<PictureFormat> PictureFormatOf(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) {
        return std::nullopt;
    }
    std::string extension(path.substr(dot + 1));
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (extension == "svg") return PictureFormat::Svg;
    if (extension == "png") return PictureFormat::Png;
    if (extension == "pdf") return PictureFormat::Pdf;
    return std::nullopt;
}

void WriteProfilePicture(const std::string& path, const ProfileDrawing& drawing) {
    const std::optional<PictureFormat> format = PictureFormatOf(path);
    if (!format)
        throw std::invalid_argument(path + ": the picture's name ends in .svg, .png or .pdf");
    const std::string fault = LoadModule<PictureWriter>("picture").Write(path, *format, drawing);
    if (!fault.empty()) throw PictureError(fault);
}

}  // namespace linkcalc::planning
