// monpack: packs a run's monitor data (a monitor file, a run directory or a
// results file) into a results file. The file is written under a temporary
// name beside the target and renamed into place only when it is complete, so
// the target is either the old file or the whole new one.

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <iostream>
#include <string>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"
#include "libs/mondata/formats/results/ResultsFile.h"
#include "libs/mondata/sources/RunSource.h"
#include "libs/mondata/sources/SourceFileCheck.h"
#include "libs/system/FileIdentity.h"
#include "libs/system/HeapPages.h"
#include "libs/utilities/NearestNames.h"
#include "tools/monpack/TemporaryFile.h"

namespace {

const char* const kUsage =
    "Usage: monpack (-mon FILE | -dir FOLDER | -res FILE) -out RESULTS [-deflate LEVEL]\n"
    "               [-chunk RECORDS]\n"
    "Packs a run's monitor data into the results file RESULTS (HDF5, see docs/formats.md).\n"
    "  -mon FILE        read a monitor file\n"
    "  -dir FOLDER      read a run directory (its *.mon files, in name order)\n"
    "  -res FILE        read a results file (to repack it)\n"
    "  -out RESULTS     the results file to write; replaced only once complete\n"
    "  -deflate LEVEL   compress values with deflate, 1 (fast) to 9 (small); 0 (default): off\n"
    "  -chunk RECORDS   values per stored chunk (default 16384)\n"
    "  -h, -help, --help  print this text\n"
    "  --version        print the version\n";

const char* const kValueOptions[] = {"-mon", "-dir", "-res", "-out", "-deflate", "-chunk"};
const char* const kHelpOptions[] = {"-h", "-help", "--help"};

bool takesValue(const std::string& argument) {
    return std::find(std::begin(kValueOptions), std::end(kValueOptions), argument) !=
           std::end(kValueOptions);
}

[[noreturn]] void fail(const std::string& message) {
    throw owl::internal::error("monpack", "main", message, owl::errorFatal);
}

struct PackSettings {
    std::string sourceOption;
    std::string source;
    std::string out;
    mon::ResultsWriteOptions write;
};

int wholeNumber(const std::string& option, const std::string& text, int low, int high) {
    size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < low || value > high)
        fail("Option " + option + " needs a whole number from " + std::to_string(low) + " to " +
             std::to_string(high) + ", not '" + text + "'.");
    return value;
}

[[noreturn]] void unknownOption(const std::string& argument) {
    std::vector<std::string> names(std::begin(kValueOptions), std::end(kValueOptions)), near;
    names.insert(names.end(), std::begin(kHelpOptions), std::end(kHelpOptions));
    names.emplace_back("--version");
    for (size_t i : owl::nearestOptions(argument, names)) near.push_back(names[i]);
    fail(owl::unknownOptionText(argument, near, " (see monpack -help)."));
}

// What the command line asks for besides packing: the usage or the version
// (either anywhere on the line, not as an option's value), else nothing.
const char* requestedText(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        for (const char* help : kHelpOptions)
            if (argument == help) return kUsage;
        if (argument == "--version") return "monpack " MONEXPORT_VERSION "\n";
        i += takesValue(argument);
    }
    return nullptr;
}

PackSettings scan(int argc, char** argv) {
    PackSettings s;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (!takesValue(option)) unknownOption(option);
        if (i + 1 >= argc) fail("Missing value for option " + option + ".");
        const std::string value = argv[++i];
        if (option == "-mon" || option == "-dir" || option == "-res") {
            if (!s.sourceOption.empty() && s.sourceOption != option)
                fail("Give only one data source (" + s.sourceOption + " and " + option + ").");
            s.sourceOption = option;
            s.source = value;
        } else if (option == "-out") {
            s.out = value;
        } else if (option == "-deflate") {
            s.write.deflateLevel = wholeNumber(option, value, 0, 9);
        } else {  // -chunk
            s.write.chunkRecords = static_cast<size_t>(wholeNumber(option, value, 1, 1 << 24));
        }
    }
    if (s.source.empty())
        fail("No data source has been specified: give -mon, -dir or -res (see monpack -help).");
    if (s.out.empty()) fail("No output file has been specified: give -out (see monpack -help).");
    return s;
}

mon::RunData load(const PackSettings& s) {
    if (s.sourceOption == "-res") return mon::readRun(mon::SourceKind::ResultsFile, s.source);
    if (s.sourceOption == "-dir") return mon::readRun(mon::SourceKind::RunDirectory, s.source);
    return mon::readRun(mon::SourceKind::MonitorFile, s.source);
}

// Renaming over an existing device node, FIFO or folder would replace it
// with a regular file (as root, even /dev/null): such a target is refused.
void refuseIrregularTarget(const std::string& out) {
    struct stat info {};
    if (::stat(out.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        fail("Refusing to write the results file '" + owl::printable(out) + "': it is " +
             mon::fileKindName(info.st_mode) + ", not a regular file.");
}

void refuseSourceAsTarget(const mon::RunData& run, const std::string& out) {
    const owl::FileIdentity target(out);
    for (const std::string& source : run.sourceFiles)
        if (target.isFileAt(source))
            fail("Refusing to write the results file '" + owl::printable(out) +
                 "': it is the data source '" + owl::printable(source) + "'.");
}

// Writes the file under a temporary name, reporting failures under the
// target's name.
void writeTemporary(const mon::RunData& run, const TemporaryFile& temporary,
                    const PackSettings& s) {
    try {
        mon::writeResultsFile(run, temporary.path(), s.write);
    } catch (const owl::Error& error) {
        std::string text = error.getErrorText();
        size_t at = text.find(temporary.path());
        if (at != std::string::npos) text.replace(at, temporary.path().size(), s.out);
        fail(text);
    }
}

void pack(const PackSettings& s) {
    refuseIrregularTarget(s.out);
    mon::RunData run = load(s);
    refuseSourceAsTarget(run, s.out);
    TemporaryFile temporary(s.out);
    writeTemporary(run, temporary, s);
    refuseIrregularTarget(s.out);  // the target may have changed while the run was packed
    if (int error = temporary.commit())
        fail("Cannot write '" + s.out + "': " + std::strerror(error) + ".");
}

}  // namespace

int main(int argc, char** argv) {
    owl::preferLargeHeapPages();
    if (const char* text = requestedText(argc, argv)) {
        std::cout << text << std::flush;
        return std::cout ? 0 : -1;
    }
    try {
        pack(scan(argc, argv));
    } catch (const owl::Error& error) {
        std::cerr << "Packer error:" << std::endl << error.getErrorText() << std::endl;
        return -1;
    }
    return 0;
}
