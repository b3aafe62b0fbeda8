// The kml module: maps of links as KML 2.2, written by libxml2's xmlTextWriter.
#include <libxml/xmlIO.h>
#include <libxml/xmlwriter.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "planning/map_writer.h"
#include "planning/module_loader.h"
#include "planning/number_text.h"
#include "planning/xml_text.h"

namespace linkcalc::planning {
namespace {

const xmlChar* X(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

std::string CoordinatesOf(const std::vector<GeoPoint>& points) {
    std::string out;
    for (const GeoPoint& point : points) {
        if (!out.empty()) out += ' ';
        out += Shortest(point.lon);
        out += ',';
        out += Shortest(point.lat);
        out += ",0";
    }
    return out;
}

// The map's descriptor and the first error of a write to it.
struct Output {
    int fd = -1;
    int error = 0;
};

int WriteBytes(void* context, const char* bytes, int length) {
    auto* output = static_cast<Output*>(context);
    int done = 0;
    while (done < length) {
        const ssize_t n =
            ::write(output->fd, bytes + done, static_cast<std::size_t>(length - done));
        if (n < 0) {
            if (errno == EINTR) continue;
            output->error = errno;
            return -1;
        }
        done += static_cast<int>(n);
    }
    return length;
}

void Silent(void*, const char*, ...) {}

// libxml2 reports a failed write on standard error of its own; the map's error says it once.
// Its handlers are kept per thread, and a batch writes its map from another thread.
void Quiet() {
    xmlSetGenericErrorFunc(nullptr, Silent);
}

int KeepOpen(void*) {
    return 0;  // the descriptor is the program's, which puts the file in place
}

class KmlWriter final : public MapWriter {
  public:
    KmlWriter(int fd, const std::string& name, const std::string& title) : name_(name) {
        output_.fd = fd;
        try {
            Start(title);
        } catch (...) {
            Discard();
            throw;
        }
    }

    ~KmlWriter() override { Discard(); }

    KmlWriter(const KmlWriter&) = delete;
    KmlWriter& operator=(const KmlWriter&) = delete;

    void Add(const MapLine& line) override {
        Quiet();
        SitePlacemark(line.name + ": site 1", line.site1);
        SitePlacemark(line.name + ": site 2", line.site2);

        Check(xmlTextWriterStartElement(writer_, X("Placemark")));
        Element("name", line.name);
        Element("description", line.description);
        Check(xmlTextWriterStartElement(writer_, X("Style")));
        Check(xmlTextWriterStartElement(writer_, X("LineStyle")));
        Element("color", KmlColourOf(line.colour));
        Element("width", "3");
        Check(xmlTextWriterEndElement(writer_));
        Check(xmlTextWriterEndElement(writer_));
        Check(xmlTextWriterStartElement(writer_, X("LineString")));
        Element("tessellate", "1");
        Element("coordinates", CoordinatesOf(line.path));
        Check(xmlTextWriterEndElement(writer_));
        Check(xmlTextWriterEndElement(writer_));
    }

    void Finish() override {
        Quiet();
        Check(xmlTextWriterEndDocument(writer_));
        Check(xmlTextWriterFlush(writer_));
        xmlFreeTextWriter(writer_);
        writer_ = nullptr;
        if (output_.error != 0) Fail("cannot write", output_.error);
    }

  private:
    void Start(const std::string& title) {
        Quiet();
        xmlOutputBufferPtr buffer =
            xmlOutputBufferCreateIO(WriteBytes, KeepOpen, &output_, nullptr);
        if (buffer == nullptr) Fail("cannot start", ENOMEM);
        writer_ = xmlNewTextWriter(buffer);
        if (writer_ == nullptr) {
            xmlOutputBufferClose(buffer);
            Fail("cannot start", ENOMEM);
        }
        Check(xmlTextWriterSetIndent(writer_, 1));
        Check(xmlTextWriterSetIndentString(writer_, X("  ")));
        Check(xmlTextWriterStartDocument(writer_, "1.0", "UTF-8", nullptr));
        Check(xmlTextWriterStartElementNS(writer_, nullptr, X("kml"),
                                          X("http://www.opengis.net/kml/2.2")));
        Check(xmlTextWriterStartElement(writer_, X("Document")));
        Element("name", title);
    }

    void Discard() {
        if (writer_ != nullptr) xmlFreeTextWriter(writer_);
        writer_ = nullptr;
    }

    [[noreturn]] void Fail(const char* what, int error) const {
        throw MapError(std::string(what) + " " + name_ + ": " + std::strerror(error));
    }

    void Check(int result) const {
        if (result < 0) Fail("cannot write", output_.error != 0 ? output_.error : EIO);
    }

    // The texts come from the inputs and may hold any bytes.
    void Element(const char* name, const std::string& text) {
        Check(xmlTextWriterWriteElement(writer_, X(name), X(XmlText(text).c_str())));
    }

    void SitePlacemark(const std::string& name, GeoPoint point) {
        Check(xmlTextWriterStartElement(writer_, X("Placemark")));
        Element("name", name);
        Check(xmlTextWriterStartElement(writer_, X("Point")));
        Element("coordinates", CoordinatesOf({point}));
        Check(xmlTextWriterEndElement(writer_));
        Check(xmlTextWriterEndElement(writer_));
    }

    std::string name_;
    Output output_;
    xmlTextWriterPtr writer_ = nullptr;
};

class KmlMaps final : public LinkMaps {
  public:
    std::unique_ptr<MapWriter> Create(int fd, const std::string& name,
                                      const std::string& title) const override {
        return std::make_unique<KmlWriter>(fd, name, title);
    }
};

const KmlMaps maps;

}  // namespace
}  // namespace linkcalc::planning

LINKCALC_MODULE_IMPLEMENTS(linkcalc::planning::LinkMaps, linkcalc::planning::maps)
