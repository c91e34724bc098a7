#include "plot/IndexPage.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace plot {

namespace {
const char* const kStyle =
    "body{font-family:'DejaVu Sans',Verdana,sans-serif;margin:1.5em;background:#f4f4f4;"
    "color:#222}\n"
    "section{background:#fff;margin:0 0 1.5em;padding:.5em 1em 1em;"
    "box-shadow:0 1px 3px #0002}\n"
    "img{width:100%;max-width:1200px;height:auto;display:block}\n"
    ".problem{color:#b00020;font-weight:bold}\n"
    ".status{color:#555}\n";

std::string problemList(const std::vector<IndexEntry>& entries) {
    std::string list;
    for (const IndexEntry& entry : entries)
        if (!entry.problem.empty())
            list +=
                "<li>" + escapedHtml(entry.title) + ": " + escapedHtml(entry.problem) + "</li>\n";
    return list.empty() ? "" : "<ul class=\"problem\">\n" + list + "</ul>\n";
}
}  // namespace

std::string escapedHtml(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string indexPage(const std::string& runName, const std::vector<IndexEntry>& entries,
                      double reloadSeconds, const std::string& status, const std::string& emptyNote,
                      const std::string& axisNote) {
    const std::string title = escapedHtml("Monitor plots: " + runName);
    std::string page = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
    if (reloadSeconds > 0)
        page += "<meta http-equiv=\"refresh\" content=\"" +
                std::to_string(std::max(1L, std::lround(reloadSeconds))) + "\">\n";
    page += "<title>" + title + "</title>\n<style>\n" + kStyle + "</style>\n</head>\n<body>\n";
    page += "<h1>" + title + "</h1>\n<p class=\"status\">" + escapedHtml(status) + "</p>\n";
    if (!axisNote.empty()) page += "<p class=\"axis\">" + escapedHtml(axisNote) + "</p>\n";
    if (entries.empty()) page += "<p>" + escapedHtml(emptyNote) + "</p>\n";
    page += problemList(entries);
    for (const IndexEntry& entry : entries) {
        page += "<section>\n<h2>" + escapedHtml(entry.title) + "</h2>\n";
        if (!entry.problem.empty())
            page += "<p class=\"problem\">" + escapedHtml(entry.problem) + "</p>\n";
        page += "<img src=\"" + escapedHtml(entry.svgFile) + "\" alt=\"" +
                escapedHtml(entry.title) + "\">\n</section>\n";
    }
    return page + "</body>\n</html>\n";
}

std::string drawnStatus(const std::string& progress) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char when[40];
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S %z", &local);
    return std::string("Drawn ") + when + ", " + progress + ".";
}

}  // namespace plot
