// The dem module: heights from rasters that GDAL reads, bilinear between cell centres.
#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "planning/earth_bounds.h"
#include "planning/elevation.h"
#include "planning/module_loader.h"
#include "planning/number_text.h"

namespace linkcalc::planning {
namespace {

using Kind = ElevationError::Kind;

// A fault met while sampling; the module hands it over as text, not as an exception.
struct Fault {
    Kind kind;
    std::string message;
};

std::string PointText(GeoPoint point) {
    return TrimmedFixed(point.lat, 6) + "," + TrimmedFixed(point.lon, 6);
}

std::string GdalReason() {
    const char* message = CPLGetLastErrorMsg();
    return message != nullptr && *message != '\0' ? message : "not a raster GDAL reads";
}

void StartGdal() {
    static std::once_flag started;
    std::call_once(started, [] {
        GDALAllRegister();
        // Faults come back as one message of ours, never as GDAL's own lines on stderr.
        CPLSetErrorHandler(CPLQuietErrorHandler);
    });
}

// One raster, opened for one call: GDAL datasets are not shared between threads.
class Raster {
  public:
    static Raster Open(const std::string& path, const std::string& shownName) {
        CPLErrorReset();
        Raster raster;
        raster.name_ = shownName;
        raster.dataset_.reset(GDALDataset::Open(
            path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY | GDAL_OF_VERBOSE_ERROR));
        if (!raster.dataset_)
            throw Fault{Kind::CannotOpen, "cannot read the DEM " + shownName + ": " + GdalReason()};
        if (raster.dataset_->GetRasterCount() < 1) {
            throw Fault{Kind::CannotOpen, "the DEM " + shownName + " has no raster band"};
        }
        raster.band_ = raster.dataset_->GetRasterBand(1);
        std::array<double, 6> transform{};
        if (raster.dataset_->GetGeoTransform(transform.data()) != CE_None ||
            !GDALInvGeoTransform(transform.data(), raster.toPixel_.data())) {
            throw Fault{Kind::CannotOpen, "the DEM " + shownName + " has no usable georeference"};
        }
        int hasNoData = 0;
        const double noData = raster.band_->GetNoDataValue(&hasNoData);
        if (hasNoData != 0) raster.noData_ = noData;

        const OGRSpatialReference* own = raster.dataset_->GetSpatialRef();
        OGRSpatialReference wgs84;
        wgs84.SetWellKnownGeogCS("WGS84");
        wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        if (own != nullptr && !(own->IsGeographic() && own->IsSameGeogCS(&wgs84))) {
            OGRSpatialReference target(*own);
            target.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
            raster.toRaster_.reset(OGRCreateCoordinateTransformation(&wgs84, &target));
            if (!raster.toRaster_) {
                throw Fault{Kind::CannotOpen, "cannot turn WGS84 into the coordinates of the DEM " +
                                                  shownName + ": " + GdalReason()};
            }
        }
        raster.geographic_ = own == nullptr || own->IsGeographic();
        const double across = transform[1] * raster.band_->GetXSize();
        raster.wraps_ = raster.geographic_ && transform[2] == 0 && transform[4] == 0 &&
                        std::fabs(std::fabs(across) - 360) < 1e-6;
        return raster;
    }

    const std::string& Name() const { return name_; }

    // The height at the point; nothing when the point lies outside the raster.
    std::optional<double> HeightAt(GeoPoint point) const {
        const std::optional<Pixel> pixel = PixelOf(point);
        if (!pixel) return std::nullopt;
        const Span columns = wraps_ ? WrappedSpan(pixel->column, band_->GetXSize())
                                    : ClampedSpan(pixel->column, band_->GetXSize());
        const Span rows = ClampedSpan(pixel->row, band_->GetYSize());
        const std::array<double, 4> cells = Cells(columns, rows);
        const double fu = columns.fraction;
        const double fv = rows.fraction;
        const std::array<double, 4> weights{(1 - fu) * (1 - fv), fu * (1 - fv), (1 - fu) * fv,
                                            fu * fv};
        double sum = 0;
        double weight = 0;
        for (std::size_t k = 0; k < cells.size(); ++k) {
            const double cell = cells[k];
            if (!(weights[k] > 0) || (noData_ && cell == *noData_) || !std::isfinite(cell)) {
                continue;
            }
            if (cell < kLowestGround_m || cell > kHighestGround_m) {
                throw Fault{Kind::NoData, "the DEM " + name_ + " has a height of " +
                                              General(cell, 6) + " m at " + PointText(point) +
                                              ": the ground lies from " +
                                              General(kLowestGround_m, 6) + " to " +
                                              General(kHighestGround_m, 6) + " m"};
            }
            sum += weights[k] * cell;
            weight += weights[k];
        }
        // A hole in the model: the cells around it that hold a height share its weight.
        if (weight <= 0) {
            throw Fault{Kind::NoData, "the DEM " + name_ + " has no height at " + PointText(point)};
        }
        return sum / weight;
    }

  private:
    struct Pixel {
        double column;
        double row;
    };
    // The two cells whose centres a pixel coordinate lies between, and how far it is from the
    // first toward the second.
    struct Span {
        int first;
        int second;
        double fraction;
    };

    // Between the outermost centres and the raster's edge the edge cells hold.
    static Span ClampedSpan(double at, int size) {
        const double u = std::clamp(at - 0.5, 0.0, static_cast<double>(size - 1));
        const int first = std::min(static_cast<int>(u), std::max(size - 2, 0));
        const int second = std::min(first + 1, size - 1);
        return {first, second, second > first ? u - first : 0};
    }
    // Around a raster that spans the whole turn the last column's neighbour is the first.
    static Span WrappedSpan(double at, int size) {
        const double u = at - 0.5;
        const double below = std::floor(u);
        int first = static_cast<int>(std::fmod(below, size));
        if (first < 0) first += size;
        return {first, (first + 1) % size, u - below};
    }

    std::optional<Pixel> PixelOf(GeoPoint point) const {
        double x = point.lon;
        double y = point.lat;
        if (toRaster_ && !toRaster_->Transform(1, &x, &y)) return std::nullopt;
        const int width = band_->GetXSize();
        const int height = band_->GetYSize();
        // A longitude names the same meridian a turn either way: a raster from 0 to 360 or
        // one reaching past 180 holds the point in either form.
        if (geographic_) x = std::remainder(x, 360.0);
        for (const double turn : {0.0, 360.0, -360.0}) {
            if (turn != 0 && !geographic_) break;
            Pixel pixel{};
            GDALApplyGeoTransform(const_cast<double*>(toPixel_.data()), x + turn, y, &pixel.column,
                                  &pixel.row);
            if (pixel.column >= 0 && pixel.column <= width && pixel.row >= 0 &&
                pixel.row <= height) {
                return pixel;
            }
        }
        return std::nullopt;
    }

    // The four cells around a point, west to east, then north to south; the second of a span
    // that has one cell repeats the first.
    std::array<double, 4> Cells(Span columns, Span rows) const {
        std::array<double, 4> cells{};
        const int down = rows.second - rows.first + 1;
        const auto read = [&](int column, int across, double* into) {
            if (band_->RasterIO(GF_Read, column, rows.first, across, down, into, across, down,
                                GDT_Float64, sizeof(double), 2 * sizeof(double)) != CE_None) {
                throw Fault{Kind::CannotOpen, "cannot read the DEM " + name_ + ": " + GdalReason()};
            }
        };
        if (columns.second >= columns.first) {
            read(columns.first, columns.second - columns.first + 1, cells.data());
        } else {
            read(columns.first, 1, cells.data());
            read(columns.second, 1, cells.data() + 1);
        }
        if (columns.second == columns.first) {
            cells[1] = cells[0];
            cells[3] = cells[2];
        }
        if (down == 1) {
            cells[2] = cells[0];
            cells[3] = cells[1];
        }
        return cells;
    }

    struct Closer {
        void operator()(GDALDataset* dataset) const { GDALClose(dataset); }
    };
    struct TransformDeleter {
        void operator()(OGRCoordinateTransformation* transform) const {
            OGRCoordinateTransformation::DestroyCT(transform);
        }
    };

    std::string name_;
    std::unique_ptr<GDALDataset, Closer> dataset_;
    GDALRasterBand* band_ = nullptr;
    std::array<double, 6> toPixel_{};
    std::optional<double> noData_;
    std::unique_ptr<OGRCoordinateTransformation, TransformDeleter> toRaster_;
    bool geographic_ = true;  // its x is a longitude
    bool wraps_ = false;      // its columns go once around the earth
};

bool IsFolder(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        throw Fault{Kind::CannotOpen, "cannot open the DEM " + path + ": " + std::strerror(errno)};
    }
    return S_ISDIR(info.st_mode);
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// A one-degree tile by its south-west corner, west in [-180, 180).
struct Tile {
    int south = 0;
    int west = 0;
    auto operator<=>(const Tile&) const = default;
};

// Its SRTM name: N40W080.hgt.
std::string TileName(Tile tile) {
    std::array<char, 16> name{};
    const auto put = [&](char* at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i) {
            at[i] = static_cast<char>('0' + value % 10);
            value /= 10;
        }
    };
    name[0] = tile.south < 0 ? 'S' : 'N';
    put(&name[1], std::abs(tile.south), 2);
    name[3] = tile.west < 0 ? 'W' : 'E';
    put(&name[4], std::abs(tile.west), 3);
    return std::string(name.data(), 7) + ".hgt";
}

// The tiles whose nodes reach the point: first the one it lies in, then those whose north or
// east edge it lies on, since a tile's edge nodes are its neighbours' too. 180° is -180°, 90°
// the north edge of the tiles below it. None for a point off the earth.
struct TilesHolding {
    std::array<Tile, 4> tiles{};
    std::size_t count = 0;
};

TilesHolding TilesHoldingPoint(GeoPoint point) {
    TilesHolding holding;
    if (!(point.lat >= -90 && point.lat <= 90 && std::isfinite(point.lon))) return holding;
    double lon = std::remainder(point.lon, 360.0);  // [-180, 180]
    if (lon >= 180) lon -= 360;
    const int south = static_cast<int>(std::floor(point.lat));
    const int west = static_cast<int>(std::floor(lon));
    const auto add = [&](int s, int w) {
        if (s < -90 || s > 89) return;
        holding.tiles[holding.count++] = {s, w < -180 ? w + 360 : w};
    };
    const bool onSouthEdge = point.lat == south;
    const bool onWestEdge = lon == west;
    add(south, west);
    if (onSouthEdge) add(south - 1, west);
    if (onWestEdge) add(south, west - 1);
    if (onSouthEdge && onWestEdge) add(south - 1, west - 1);
    return holding;
}

std::string Lowered(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::vector<double> FromTiles(const std::string& folder, const std::vector<GeoPoint>& points) {
    // A tile not in the folder is remembered as such.
    std::map<Tile, std::optional<Raster>> tiles;
    const auto open = [&](Tile tile) -> const std::optional<Raster>& {
        auto found = tiles.find(tile);
        if (found == tiles.end()) {
            const std::string name = TileName(tile);
            std::string path = folder + "/" + name;
            if (!Exists(path)) path = folder + "/" + Lowered(name);
            std::optional<Raster> raster;
            if (Exists(path)) raster = Raster::Open(path, name);
            found = tiles.emplace(tile, std::move(raster)).first;
        }
        return found->second;
    };
    std::vector<double> heights;
    heights.reserve(points.size());
    for (const GeoPoint& point : points) {
        const TilesHolding holding = TilesHoldingPoint(point);
        if (holding.count == 0) {
            throw Fault{Kind::NoData,
                        "no tile holds " + PointText(point) + ": it is off the earth"};
        }
        std::optional<double> height;
        const Raster* opened = nullptr;
        for (std::size_t i = 0; i < holding.count && !height; ++i) {
            const std::optional<Raster>& tile = open(holding.tiles[i]);
            if (!tile) continue;
            opened = &*tile;
            height = tile->HeightAt(point);
        }
        if (!opened) {
            throw Fault{Kind::CannotOpen, "the DEM folder " + folder + " has no tile " +
                                              TileName(holding.tiles[0]) + " (for " +
                                              PointText(point) + ")"};
        }
        if (!height) {
            throw Fault{Kind::NoData,
                        "the tile " + opened->Name() + " does not hold " + PointText(point)};
        }
        heights.push_back(*height);
    }
    return heights;
}

std::vector<double> FromRaster(const std::string& path, const std::vector<GeoPoint>& points) {
    const Raster raster = Raster::Open(path, path);
    std::vector<double> heights;
    heights.reserve(points.size());
    std::size_t outside = 0;
    std::optional<GeoPoint> firstOutside;
    for (const GeoPoint& point : points) {
        const std::optional<double> height = raster.HeightAt(point);
        if (!height) {
            if (!firstOutside) firstOutside = point;
            ++outside;
        }
        heights.push_back(height.value_or(0));
    }
    if (outside > 0) {
        throw Fault{Kind::NoData, std::to_string(outside) + " of " + std::to_string(points.size()) +
                                      " points lie outside the DEM " + path + ", the first at " +
                                      PointText(*firstOutside)};
    }
    return heights;
}

struct GdalElevations final : ElevationModel {
    Elevations At(const std::string& dem, const std::vector<GeoPoint>& points) const override {
        Elevations result;
        try {
            StartGdal();
            result.metres = IsFolder(dem) ? FromTiles(dem, points) : FromRaster(dem, points);
        } catch (const Fault& fault) {
            result.metres.clear();
            result.fault = fault.message;
            result.kind = fault.kind;
        } catch (const std::exception& error) {
            result.metres.clear();
            result.fault = std::string("cannot read the DEM ") + dem + ": " + error.what();
            result.kind = Kind::CannotOpen;
        }
        return result;
    }
};

const GdalElevations elevations;

}  // namespace
}  // namespace linkcalc::planning

LINKCALC_MODULE_IMPLEMENTS(linkcalc::planning::ElevationModel, linkcalc::planning::elevations)
