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
        return raster;
    }

    // The height at the point; nothing when the point lies outside the raster.
    std::optional<double> HeightAt(GeoPoint point) const {
        double x = point.lon;
        double y = point.lat;
        if (toRaster_ && !toRaster_->Transform(1, &x, &y)) return std::nullopt;
        double column = 0;
        double row = 0;
        GDALApplyGeoTransform(const_cast<double*>(toPixel_.data()), x, y, &column, &row);
        const int width = band_->GetXSize();
        const int height = band_->GetYSize();
        if (!(column >= 0 && column <= width && row >= 0 && row <= height)) return std::nullopt;

        // Between the outermost centres and the raster's edge the edge cells hold.
        const double u = std::clamp(column - 0.5, 0.0, static_cast<double>(width - 1));
        const double v = std::clamp(row - 0.5, 0.0, static_cast<double>(height - 1));
        const int left = std::min(static_cast<int>(u), std::max(width - 2, 0));
        const int top = std::min(static_cast<int>(v), std::max(height - 2, 0));
        const int across = std::min(2, width);
        const int down = std::min(2, height);
        std::array<double, 4> cells{};
        if (band_->RasterIO(GF_Read, left, top, across, down, cells.data(), across, down,
                            GDT_Float64, 0, 0) != CE_None) {
            throw Fault{Kind::CannotOpen, "cannot read the DEM " + name_ + ": " + GdalReason()};
        }
        const double fu = across == 2 ? u - left : 0;
        const double fv = down == 2 ? v - top : 0;
        const std::array<double, 4> weights{(1 - fu) * (1 - fv), fu * (1 - fv), (1 - fu) * fv,
                                            fu * fv};
        double sum = 0;
        double weight = 0;
        for (int j = 0; j < down; ++j) {
            for (int i = 0; i < across; ++i) {
                const auto k = static_cast<std::size_t>(j * 2 + i);
                const double cell = cells[static_cast<std::size_t>(j * across + i)];
                if ((noData_ && cell == *noData_) || std::isnan(cell)) continue;
                sum += weights[k] * cell;
                weight += weights[k];
            }
        }
        // A hole in the model: the cells around it that hold a height share its weight.
        if (weight <= 0) {
            throw Fault{Kind::NoData, "the DEM " + name_ + " has no height at " + PointText(point)};
        }
        return sum / weight;
    }

  private:
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

// The SRTM name of the one-degree tile that holds the point: its south-west corner.
std::string TileName(GeoPoint point) {
    const int lat = static_cast<int>(std::floor(std::min(point.lat, 89.999999)));
    const int lon = static_cast<int>(std::floor(point.lon >= 180 ? point.lon - 360 : point.lon));
    std::array<char, 16> name{};
    const auto put = [&](char* at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i) {
            at[i] = static_cast<char>('0' + value % 10);
            value /= 10;
        }
    };
    name[0] = lat < 0 ? 'S' : 'N';
    put(&name[1], std::abs(lat), 2);
    name[3] = lon < 0 ? 'W' : 'E';
    put(&name[4], std::abs(lon), 3);
    return std::string(name.data(), 7) + ".hgt";
}

std::string Lowered(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::vector<double> FromTiles(const std::string& folder, const std::vector<GeoPoint>& points) {
    std::map<std::string, Raster> tiles;
    std::vector<double> heights;
    heights.reserve(points.size());
    for (const GeoPoint& point : points) {
        const std::string name = TileName(point);
        auto tile = tiles.find(name);
        if (tile == tiles.end()) {
            std::string path = folder + "/" + name;
            if (!Exists(path)) path = folder + "/" + Lowered(name);
            if (!Exists(path)) {
                throw Fault{Kind::CannotOpen, "the DEM folder " + folder + " has no tile " + name +
                                                  " (for " + PointText(point) + ")"};
            }
            tile = tiles.emplace(name, Raster::Open(path, name)).first;
        }
        const std::optional<double> height = tile->second.HeightAt(point);
        if (!height) {
            throw Fault{Kind::NoData, "the tile " + name + " does not hold " + PointText(point)};
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
