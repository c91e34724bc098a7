#include "plot/PictureFiles.h"

#include <cairo-pdf.h>

#include <cstdio>
#include <memory>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"
#include "plot/AtomicFile.h"
#include "plot/CairoCanvas.h"
#include "plot/SvgCanvas.h"

namespace plot {

namespace {
const DrawingOptions kPictureSize;

void check(cairo_status_t status, const std::string& path) {
    if (status != CAIRO_STATUS_SUCCESS)
        throw owl::internal::error(
            "PictureFiles", "write",
            "Cannot write '" + owl::printable(path) + "': " + cairo_status_to_string(status) + ".",
            owl::errorFatal);
}

int pixels(double size) {
    return static_cast<int>(size);
}
}  // namespace

std::string svgDocument(const Figure& figure, const DrawingOptions& options) {
    SvgCanvas canvas(pixels(options.width), pixels(options.height));
    drawFigure(canvas, figure, options);
    return canvas.document();
}

void writeSvg(const std::string& path, const Figure& figure) {
    writeFileAtomically(path, svgDocument(figure));
}

void writePng(const std::string& path, const Figure& figure) {
    std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixels(kPictureSize.width),
                                   pixels(kPictureSize.height)),
        cairo_surface_destroy);
    cairo_t* context = cairo_create(surface.get());
    CairoCanvas canvas(context);
    drawFigure(canvas, figure, kPictureSize);
    cairo_destroy(context);
    replaceFileAtomically(path, [&surface](const std::string& temporary) {
        check(cairo_surface_write_to_png(surface.get(), temporary.c_str()), temporary);
    });
}

PdfBook::PdfBook(const std::string& path) : path_(path) {
    surface_ = cairo_pdf_surface_create(temporaryPathFor(path).c_str(), kPictureSize.width,
                                        kPictureSize.height);
    const cairo_status_t status = cairo_surface_status(surface_);
    if (status != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface_);
        check(status, temporaryPathFor(path));
    }
    context_ = cairo_create(surface_);
}

PdfBook::~PdfBook() {
    if (context_) cairo_destroy(context_);
    if (surface_) {
        cairo_surface_destroy(surface_);
        std::remove(temporaryPathFor(path_).c_str());
    }
}

void PdfBook::addPage(const Figure& figure) {
    CairoCanvas canvas(context_);
    drawFigure(canvas, figure, kPictureSize);
    cairo_show_page(context_);
}

void PdfBook::finish() {
    cairo_destroy(context_);
    context_ = nullptr;
    cairo_surface_finish(surface_);
    const cairo_status_t status = cairo_surface_status(surface_);
    cairo_surface_destroy(surface_);
    surface_ = nullptr;
    replaceFileAtomically(path_, [status](const std::string& name) { check(status, name); });
}

}  // namespace plot
