// The picture module: the path profile drawn once with cairo, its text set with pango.
#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>
#include <pango/pangocairo.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "planning/module_loader.h"
#include "planning/number_text.h"
#include "planning/picture.h"
#include "planning/xml_text.h"

namespace linkcalc::planning {
namespace {

// The page, in points (SVG and PDF) or pixels (PNG).
constexpr double kWidth = 1200;
constexpr double kHeight = 680;
constexpr double kPlotLeft = 78;
constexpr double kPlotTop = 56;
constexpr double kPlotRight = 846;
constexpr double kPlotBottom = kHeight - 64;
constexpr double kLegendLeft = 872;
constexpr double kLegendRight = kWidth - 18;

struct Colour {
    double r, g, b, a = 1;
};
constexpr Colour kInk{0.13, 0.15, 0.18};
constexpr Colour kMuted{0.36, 0.40, 0.45};
constexpr Colour kGrid{0.86, 0.89, 0.92};
constexpr Colour kSky{0.965, 0.978, 0.992};
constexpr Colour kTerrain{0.80, 0.70, 0.53};
constexpr Colour kTerrainEdge{0.48, 0.37, 0.23};
constexpr Colour kBulge{0.66, 0.55, 0.39};
constexpr Colour kObstruction{0.30, 0.60, 0.27, 0.85};
constexpr Colour kZone{0.62, 0.79, 0.93, 0.40};
constexpr Colour kZoneEdge{0.17, 0.47, 0.73};
constexpr Colour kSight{0.75, 0.13, 0.12};
constexpr Colour kBlocked{0.90, 0.10, 0.10};
constexpr Colour kMast{0.22, 0.24, 0.27};
constexpr Colour kWorst{0.55, 0.10, 0.55};

void SetColour(cairo_t* cr, Colour c) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

// Where cairo's stream writers hand their bytes over, kept with the first system fault.
struct FileStream {
    int fd = -1;
    int error = 0;
};

cairo_status_t WriteToFile(void* closure, const unsigned char* data, unsigned int length) {
    auto* stream = static_cast<FileStream*>(closure);
    if (stream->error != 0) return CAIRO_STATUS_WRITE_ERROR;
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::write(stream->fd, data + done, length - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            stream->error = errno;
            return CAIRO_STATUS_WRITE_ERROR;
        }
        done += static_cast<std::size_t>(n);
    }
    return CAIRO_STATUS_SUCCESS;
}

// A tick step of 1, 2 or 5 times a power of ten that cuts the span into about `parts` parts.
double TickStep(double span, double parts) {
    const double raw = span / parts;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (raw <= factor * power) return factor * power;
    }
    return 10 * power;
}

int DecimalsOf(double step) {
    return step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
}

enum class Align { Left, Centre, Right };
struct TextStyle {
    double size = 12;
    bool bold = false;
    Colour colour = kInk;
};

class Painter {
  public:
    Painter(cairo_t* cr, const ProfileDrawing& drawing) : cr_(cr), d_(drawing) {
        layout_ = pango_cairo_create_layout(cr_);
        PangoContext* context = pango_layout_get_context(layout_);
        pango_cairo_context_set_resolution(context, 72);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        pango_cairo_context_set_font_options(context, options);
        cairo_font_options_destroy(options);
        pango_layout_context_changed(layout_);
        Scale();
    }
    ~Painter() { g_object_unref(layout_); }
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    void Paint() {
        SetColour(cr_, {1, 1, 1});
        cairo_paint(cr_);
        Title();
        PlotBackground();
        Zone();
        Terrain();
        Bulge();
        Obstructions();
        ZoneEdges();
        Blocked();
        Sight();
        Masts();
        Worst();
        Axes();
        Legend();
    }

  private:
    // Heights span what is drawn: the ground, what stands on it, the zone and the masts.
    void Scale() {
        const auto& points = d_.clearance.points;
        double low = std::min(d_.end1.ground_m, d_.end2.ground_m);
        double high =
            std::max(d_.end1.ground_m + d_.end1.mast_m, d_.end2.ground_m + d_.end2.mast_m);
        for (const ClearancePoint& p : points) {
            low = std::min(low, p.elevation_m);
            high = std::max({high, p.top_m, p.sight_m + p.fresnel_m});
        }
        const double lowU = low / d_.metresPerHeightUnit;
        const double highU = high / d_.metresPerHeightUnit;
        const double span = std::max(highU - lowU, 10.0);
        yStep_ = TickStep(span * 1.15, 7);
        yLow_ = std::floor((lowU - span * 0.06) / yStep_) * yStep_;
        yHigh_ = std::ceil((highU + span * 0.10) / yStep_) * yStep_;
        const double lengthU = d_.pathLength_m / d_.metresPerDistanceUnit;
        xStep_ = TickStep(lengthU, 8);
    }

    double X(double distance_m) const {
        return kPlotLeft + (kPlotRight - kPlotLeft) * distance_m / d_.pathLength_m;
    }
    double Y(double height_m) const {
        const double u = height_m / d_.metresPerHeightUnit;
        return kPlotBottom - (kPlotBottom - kPlotTop) * (u - yLow_) / (yHigh_ - yLow_);
    }

    // How many times heights are drawn larger than distances.
    double Exaggeration() const {
        const double perMetreUp =
            (kPlotBottom - kPlotTop) / ((yHigh_ - yLow_) * d_.metresPerHeightUnit);
        const double perMetreAlong = (kPlotRight - kPlotLeft) / d_.pathLength_m;
        return perMetreUp / perMetreAlong;
    }

    // Sets the layout's text and returns its size.
    std::pair<double, double> Layout(const std::string& text, const TextStyle& style) {
        PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans");
        pango_font_description_set_absolute_size(font, style.size * PANGO_SCALE);
        pango_font_description_set_weight(font,
                                          style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
        pango_layout_set_font_description(layout_, font);
        pango_font_description_free(font);
        // Pango draws UTF-8 alone; the texts come from the inputs and may hold any bytes.
        const std::string shown = XmlText(text);
        pango_layout_set_text(layout_, shown.data(), static_cast<int>(shown.size()));
        int width = 0;
        int height = 0;
        pango_layout_get_pixel_size(layout_, &width, &height);
        return {width, height};
    }

    // Text with its top at y; returns its width.
    double Text(const std::string& text, double x, double y, Align align,
                const TextStyle& style = {}) {
        const auto [width, height] = Layout(text, style);
        const double left = align == Align::Left     ? x
                            : align == Align::Centre ? x - width / 2
                                                     : x - width;
        SetColour(cr_, style.colour);
        cairo_move_to(cr_, left, y);
        pango_cairo_show_layout(cr_, layout_);
        return width;
    }

    // Text on a pale box, so that it reads over whatever lies under it.
    // A filled dot in a white ring, so it stands out on any colour beneath.
    void Dot(double x, double y, double radius, Colour fill, double ring) {
        cairo_arc(cr_, x, y, radius, 0, 2 * M_PI);
        SetColour(cr_, fill);
        cairo_fill_preserve(cr_);
        cairo_set_line_width(cr_, ring);
        SetColour(cr_, {1, 1, 1});
        cairo_stroke(cr_);
    }

    void Label(const std::string& text, double x, double y, Align align, const TextStyle& style) {
        const auto [width, height] = Layout(text, style);
        double left = align == Align::Left ? x : align == Align::Centre ? x - width / 2 : x - width;
        left = std::clamp(left, kPlotLeft + 4, kPlotRight - 4 - width);
        const double top = std::clamp(y, kPlotTop + 2, kPlotBottom - 2 - height);
        cairo_rectangle(cr_, left - 4, top - 2, width + 8, height + 4);
        SetColour(cr_, {1, 1, 1, 0.86});
        cairo_fill(cr_);
        Text(text, left, top, Align::Left, style);
    }

    void Title() {
        Text(d_.title, kPlotLeft, 16, Align::Left, {17, true});
        const std::string scale = "Vertical scale: heights drawn " + FixedText(Exaggeration(), 0) +
                                  " times larger than distances";
        Text(scale, kPlotRight, 22, Align::Right, {11, false, kMuted});
    }

    void PlotBackground() {
        cairo_rectangle(cr_, kPlotLeft, kPlotTop, kPlotRight - kPlotLeft, kPlotBottom - kPlotTop);
        SetColour(cr_, kSky);
        cairo_fill(cr_);
        cairo_set_line_width(cr_, 0.8);
        SetColour(cr_, kGrid);
        for (double v = yLow_; v <= yHigh_ + yStep_ / 2; v += yStep_) {
            const double y = Y(v * d_.metresPerHeightUnit);
            cairo_move_to(cr_, kPlotLeft, y);
            cairo_line_to(cr_, kPlotRight, y);
        }
        const double length = d_.pathLength_m / d_.metresPerDistanceUnit;
        for (double v = 0; v <= length * (1 + 1e-9); v += xStep_) {
            const double x = X(v * d_.metresPerDistanceUnit);
            cairo_move_to(cr_, x, kPlotTop);
            cairo_line_to(cr_, x, kPlotBottom);
        }
        cairo_stroke(cr_);
        cairo_rectangle(cr_, kPlotLeft, kPlotTop, kPlotRight - kPlotLeft, kPlotBottom - kPlotTop);
        cairo_clip(cr_);
    }

    template <class Height>
    void PathThrough(const Height& height, bool reverse = false) {
        const auto& points = d_.clearance.points;
        for (std::size_t k = 0; k < points.size(); ++k) {
            const ClearancePoint& p = points[reverse ? points.size() - 1 - k : k];
            cairo_line_to(cr_, X(p.distance_m), Y(height(p)));
        }
    }

    void Zone() {
        cairo_new_path(cr_);
        PathThrough([](const ClearancePoint& p) { return p.sight_m + p.fresnel_m; });
        PathThrough([](const ClearancePoint& p) { return p.sight_m - p.fresnel_m; }, true);
        cairo_close_path(cr_);
        SetColour(cr_, kZone);
        cairo_fill(cr_);
    }

    void Terrain() {
        const auto& points = d_.clearance.points;
        cairo_new_path(cr_);
        cairo_move_to(cr_, X(points.front().distance_m), kPlotBottom + 2);
        PathThrough([](const ClearancePoint& p) { return p.elevation_m + p.bulge_m; });
        cairo_line_to(cr_, X(points.back().distance_m), kPlotBottom + 2);
        cairo_close_path(cr_);
        SetColour(cr_, kTerrain);
        cairo_fill(cr_);
    }

    // The bulge stands on the lower of sea level and the foot of the picture.
    void Bulge() {
        const double datum = std::max(0.0, yLow_ * d_.metresPerHeightUnit);
        cairo_new_path(cr_);
        PathThrough([datum](const ClearancePoint& p) { return datum + p.bulge_m; });
        cairo_line_to(cr_, X(d_.pathLength_m), Y(datum));
        cairo_line_to(cr_, X(0), Y(datum));
        cairo_close_path(cr_);
        SetColour(cr_, {kBulge.r, kBulge.g, kBulge.b, 0.55});
        cairo_fill(cr_);

        cairo_new_path(cr_);
        PathThrough([datum](const ClearancePoint& p) { return datum + p.bulge_m; });
        const std::array<double, 2> dash{5, 3};
        cairo_set_dash(cr_, dash.data(), 2, 0);
        cairo_set_line_width(cr_, 1.2);
        SetColour(cr_, kTerrainEdge);
        cairo_stroke(cr_);
        cairo_set_dash(cr_, nullptr, 0, 0);

        // A quarter along, clear of the worst point that is often at mid-path.
        const ClearancePoint& quarter = d_.clearance.points[d_.clearance.points.size() / 4];
        const double top = Y(datum + quarter.bulge_m);
        Label(d_.bulgeLabel, X(quarter.distance_m), std::min(top - 22, kPlotBottom - 40),
              Align::Centre, {10.5, false, kTerrainEdge});

        // The ground line over the bulge.
        cairo_new_path(cr_);
        PathThrough([](const ClearancePoint& p) { return p.elevation_m + p.bulge_m; });
        cairo_set_line_width(cr_, 1.6);
        SetColour(cr_, kTerrainEdge);
        cairo_stroke(cr_);
    }

    void Obstructions() {
        const auto& points = d_.clearance.points;
        for (std::size_t i = 0; i + 1 < points.size(); ++i) {
            const ClearancePoint& a = points[i];
            const ClearancePoint& b = points[i + 1];
            if (a.obstruction_m <= 0 && b.obstruction_m <= 0) continue;
            cairo_move_to(cr_, X(a.distance_m), Y(a.elevation_m + a.bulge_m));
            cairo_line_to(cr_, X(a.distance_m), Y(a.top_m));
            cairo_line_to(cr_, X(b.distance_m), Y(b.top_m));
            cairo_line_to(cr_, X(b.distance_m), Y(b.elevation_m + b.bulge_m));
            cairo_close_path(cr_);
        }
        SetColour(cr_, kObstruction);
        cairo_fill(cr_);
    }

    void ZoneEdges() {
        cairo_set_line_width(cr_, 1.3);
        SetColour(cr_, kZoneEdge);
        cairo_new_path(cr_);
        PathThrough([](const ClearancePoint& p) { return p.sight_m + p.fresnel_m; });
        cairo_new_sub_path(cr_);
        PathThrough([](const ClearancePoint& p) { return p.sight_m - p.fresnel_m; });
        cairo_stroke(cr_);

        const std::array<double, 2> dash{7, 4};
        cairo_set_dash(cr_, dash.data(), 2, 0);
        cairo_set_line_width(cr_, 1.2);
        cairo_new_path(cr_);
        PathThrough([](const ClearancePoint& p) { return p.sight_m - 0.6 * p.fresnel_m; });
        cairo_new_sub_path(cr_);
        PathThrough([](const ClearancePoint& p) { return p.sight_m + 0.6 * p.fresnel_m; });
        cairo_stroke(cr_);
        cairo_set_dash(cr_, nullptr, 0, 0);
    }

    // Where the ground or what stands on it reaches into 60 % of the zone.
    void Blocked() {
        const auto& points = d_.clearance.points;
        const auto blocked = [](const ClearancePoint& p) {
            return p.fresnel_m > 0 && p.clearance_m < 0.6 * p.fresnel_m;
        };
        cairo_new_path(cr_);
        for (std::size_t i = 0; i + 1 < points.size(); ++i) {
            if (!blocked(points[i]) && !blocked(points[i + 1])) continue;
            cairo_move_to(cr_, X(points[i].distance_m), Y(points[i].top_m));
            cairo_line_to(cr_, X(points[i + 1].distance_m), Y(points[i + 1].top_m));
        }
        cairo_set_line_width(cr_, 4);
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
        SetColour(cr_, kBlocked);
        cairo_stroke(cr_);
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
    }

    void Sight() {
        cairo_new_path(cr_);
        cairo_move_to(cr_, X(0), Y(d_.end1.ground_m + d_.end1.mast_m));
        cairo_line_to(cr_, X(d_.pathLength_m), Y(d_.end2.ground_m + d_.end2.mast_m));
        cairo_set_line_width(cr_, 2.2);
        SetColour(cr_, kSight);
        cairo_stroke(cr_);
    }

    void Mast(const PathEnd& end, double distance_m, const std::string& label, bool first) {
        const double x = X(distance_m) + (first ? 4 : -4);
        const double top = Y(end.ground_m + end.mast_m);
        cairo_move_to(cr_, x, Y(end.ground_m));
        cairo_line_to(cr_, x, top);
        cairo_set_line_width(cr_, 4);
        SetColour(cr_, kMast);
        cairo_stroke(cr_);
        Dot(x, top, 5.5, kSight, 1.5);
        Label(label, x + (first ? 12 : -12), top - 30, first ? Align::Left : Align::Right,
              {12, true, kMast});
    }

    void Masts() {
        Mast(d_.end1, 0, d_.site1Label, true);
        Mast(d_.end2, d_.pathLength_m, d_.site2Label, false);
    }

    void Worst() {
        const ClearancePoint& p = d_.clearance.points[d_.clearance.worst];
        const double x = X(p.distance_m);
        const std::array<double, 2> dash{3, 3};
        cairo_set_dash(cr_, dash.data(), 2, 0);
        cairo_move_to(cr_, x, Y(p.top_m));
        cairo_line_to(cr_, x, Y(p.sight_m));
        cairo_set_line_width(cr_, 1.6);
        SetColour(cr_, kWorst);
        cairo_stroke(cr_);
        cairo_set_dash(cr_, nullptr, 0, 0);
        for (const double y : {Y(p.top_m), Y(p.sight_m)}) Dot(x, y, 4.5, kWorst, 1.2);
        // Beside the middle of the air between the top and the line of sight when the label
        // fits there, else above both; on the side with more room.
        const double upper = std::min(Y(p.top_m), Y(p.sight_m));
        const double lower = std::max(Y(p.top_m), Y(p.sight_m));
        const TextStyle style{12, true, kWorst};
        const double height = Layout(d_.worstLabel, style).second;
        const double y = p.clearance_m > 0 && lower - upper > height + 16
                             ? (upper + lower - height) / 2
                             : upper - 34;
        const bool right = x < (kPlotLeft + kPlotRight) / 2;
        Label(d_.worstLabel, x + (right ? 12 : -12), y, right ? Align::Left : Align::Right, style);
    }

    void Axes() {
        cairo_reset_clip(cr_);
        cairo_rectangle(cr_, kPlotLeft, kPlotTop, kPlotRight - kPlotLeft, kPlotBottom - kPlotTop);
        cairo_set_line_width(cr_, 1);
        SetColour(cr_, kMuted);
        cairo_stroke(cr_);

        const TextStyle tick{11, false, kMuted};
        const int yDecimals = DecimalsOf(yStep_);
        for (double v = yLow_; v <= yHigh_ + yStep_ / 2; v += yStep_) {
            const double y = Y(v * d_.metresPerHeightUnit);
            cairo_move_to(cr_, kPlotLeft - 5, y);
            cairo_line_to(cr_, kPlotLeft, y);
            cairo_stroke(cr_);
            Text(FixedText(v, yDecimals), kPlotLeft - 8, y - 7, Align::Right, tick);
        }
        const double length = d_.pathLength_m / d_.metresPerDistanceUnit;
        const int xDecimals = DecimalsOf(xStep_);
        for (double v = 0; v <= length * (1 + 1e-9); v += xStep_) {
            const double x = X(v * d_.metresPerDistanceUnit);
            cairo_move_to(cr_, x, kPlotBottom);
            cairo_line_to(cr_, x, kPlotBottom + 5);
            cairo_stroke(cr_);
            Text(FixedText(v, xDecimals), x, kPlotBottom + 8, Align::Centre, tick);
        }
        Text("Distance from site 1 (" + d_.distanceUnit + ")", (kPlotLeft + kPlotRight) / 2,
             kPlotBottom + 30, Align::Centre, {12, false, kInk});

        cairo_save(cr_);
        cairo_translate(cr_, 18, (kPlotTop + kPlotBottom) / 2);
        cairo_rotate(cr_, -M_PI / 2);
        Text("Height above sea level (" + d_.heightUnit + ")", 0, 0, Align::Centre,
             {12, false, kInk});
        cairo_restore(cr_);
    }

    enum class Swatch { Area, Line, Dashed, Thick, Dot };

    void Key(double y, Swatch swatch, Colour colour, const std::string& text) {
        const double x = kLegendLeft + 14;
        switch (swatch) {
            case Swatch::Area:
                cairo_rectangle(cr_, x, y + 2, 26, 11);
                SetColour(cr_, colour);
                cairo_fill(cr_);
                break;
            case Swatch::Line:
            case Swatch::Dashed:
            case Swatch::Thick: {
                const std::array<double, 2> dash{5, 3};
                if (swatch == Swatch::Dashed) cairo_set_dash(cr_, dash.data(), 2, 0);
                cairo_move_to(cr_, x, y + 8);
                cairo_line_to(cr_, x + 26, y + 8);
                cairo_set_line_width(cr_, swatch == Swatch::Thick ? 4 : 2);
                SetColour(cr_, colour);
                cairo_stroke(cr_);
                cairo_set_dash(cr_, nullptr, 0, 0);
                break;
            }
            case Swatch::Dot:
                cairo_arc(cr_, x + 13, y + 8, 4.5, 0, 2 * M_PI);
                SetColour(cr_, colour);
                cairo_fill(cr_);
                break;
        }
        Text(text, x + 36, y, Align::Left, {11.5, false, kInk});
    }

    void Legend() {
        cairo_rectangle(cr_, kLegendLeft, kPlotTop, kLegendRight - kLegendLeft,
                        kPlotBottom - kPlotTop);
        SetColour(cr_, {0.985, 0.988, 0.992});
        cairo_fill_preserve(cr_);
        cairo_set_line_width(cr_, 1);
        SetColour(cr_, kGrid);
        cairo_stroke(cr_);

        double y = kPlotTop + 10;
        for (const LegendLine& line : d_.legend) {
            if (line.value.empty()) {
                if (y > kPlotTop + 20) y += 6;
                Text(line.label, kLegendLeft + 14, y, Align::Left, {13, true, kInk});
                y += 21;
                continue;
            }
            Text(line.label, kLegendLeft + 14, y, Align::Left, {11.5, false, kMuted});
            Text(line.value, kLegendRight - 14, y, Align::Right, {11.5, true, kInk});
            y += 18;
        }
        y += 6;
        Text("Key", kLegendLeft + 14, y, Align::Left, {13, true, kInk});
        y += 21;
        Key(y, Swatch::Area, kTerrain, "Terrain");
        Key(y += 18, Swatch::Area, kObstruction, "Trees and buildings");
        Key(y += 18, Swatch::Area, {kBulge.r, kBulge.g, kBulge.b, 0.55}, "Earth bulge");
        Key(y += 18, Swatch::Line, kSight, "Line of sight");
        Key(y += 18, Swatch::Area, {0.62, 0.79, 0.93, 0.8}, "First Fresnel zone");
        Key(y += 18, Swatch::Dashed, kZoneEdge, "60 % of the zone");
        Key(y += 18, Swatch::Thick, kBlocked, "Into 60 % of the zone");
        Key(y += 18, Swatch::Dot, kWorst, "Worst point");
    }

    cairo_t* cr_;
    const ProfileDrawing& d_;
    PangoLayout* layout_ = nullptr;
    double yLow_ = 0, yHigh_ = 1, yStep_ = 1, xStep_ = 1;
};

struct SurfaceCloser {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextCloser {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceCloser>;

std::string Reason(const FileStream& stream, cairo_status_t status) {
    return stream.error != 0 ? std::strerror(stream.error) : cairo_status_to_string(status);
}

// Draws into the open file; the fault, or empty.
std::string Draw(FileStream& stream, PictureFormat format, const ProfileDrawing& drawing) {
    Surface surface;
    switch (format) {
        case PictureFormat::Svg:
            surface.reset(
                cairo_svg_surface_create_for_stream(WriteToFile, &stream, kWidth, kHeight));
            break;
        case PictureFormat::Pdf:
            surface.reset(
                cairo_pdf_surface_create_for_stream(WriteToFile, &stream, kWidth, kHeight));
            break;
        case PictureFormat::Png:
            surface.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(kWidth),
                                                     static_cast<int>(kHeight)));
            break;
    }
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        return Reason(stream, cairo_surface_status(surface.get()));
    }
    if (format == PictureFormat::Pdf) {
        cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE,
                                       XmlText(drawing.title).c_str());
        cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "linkcalc-cli");
    }
    {
        const std::unique_ptr<cairo_t, ContextCloser> cr(cairo_create(surface.get()));
        Painter(cr.get(), drawing).Paint();
        if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
            return Reason(stream, cairo_status(cr.get()));
        }
    }
    if (format == PictureFormat::Png) {
        const cairo_status_t status =
            cairo_surface_write_to_png_stream(surface.get(), WriteToFile, &stream);
        if (status != CAIRO_STATUS_SUCCESS) return Reason(stream, status);
    }
    cairo_surface_finish(surface.get());
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        return Reason(stream, cairo_surface_status(surface.get()));
    }
    return {};
}

struct CairoPictures final : PictureWriter {
    std::string Write(int fd, PictureFormat format, const ProfileDrawing& drawing) const override {
        FileStream stream;
        stream.fd = fd;
        return Draw(stream, format, drawing);
    }
};

const CairoPictures pictures;

}  // namespace
}  // namespace linkcalc::planning

LINKCALC_MODULE_IMPLEMENTS(linkcalc::planning::PictureWriter, linkcalc::planning::pictures)
