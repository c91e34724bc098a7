#pragma once
// The picture files of a plot: SVG text, PNG images and a PDF document with
// a page per plot, each written atomically (AtomicFile). Failures throw
// owl::Error naming the file.

#include <cairo.h>

#include <string>

#include "plot/Figure.h"
#include "plot/PlotLayout.h"

namespace plot {

std::string svgDocument(const Figure& figure, const DrawingOptions& options = {});
void writeSvg(const std::string& path, const Figure& figure);
void writePng(const std::string& path, const Figure& figure);

// A PDF written page by page to a temporary file and put in place by finish.
class PdfBook {
  public:
    explicit PdfBook(const std::string& path);
    ~PdfBook();
    PdfBook(const PdfBook&) = delete;
    PdfBook& operator=(const PdfBook&) = delete;

    void addPage(const Figure& figure);
    void finish();

  private:
    std::string path_;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* context_ = nullptr;
};

}  // namespace plot
