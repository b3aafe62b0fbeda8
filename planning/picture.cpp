#include "planning/picture.h"

#include "planning/module_loader.h"
#include "planning/output_file.h"

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
    if (drawing.clearance.points.size() < 2 || !(drawing.pathLength_m > 0)) {
        throw PictureError("cannot draw " + path + ": no profile");
    }
    const PictureWriter& pictures = LoadModule<PictureWriter>("picture");
    try {
        OutputFile file(path, path);
        const std::string fault = pictures.Write(file.Descriptor(), *format, drawing);
        if (!fault.empty()) file.Fail(fault);
        file.Commit();
    } catch (const OutputError& error) {
        throw PictureError(error.what());
    }
}

}  // namespace linkcalc::planning
