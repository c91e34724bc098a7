// monsynth: writes a deterministic synthetic run (monitor files) for
// examples, tests and benchmarks. See tools/monsynth/README.md.

#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string>

#include "tools/monsynth/RunGenerator.h"

namespace {

const char* const kUsage =
    "Usage: monsynth (--out FILE | --dir FOLDER) [--steps N] [--loops MIN-MAX] [--steady]\n"
    "                [--variables N] [--seed S] [--segments N | --restart-at S1,S2,...]\n"
    "                [--overlap K] [--time-step DT] [--groups N]\n";

struct Settings {
    synth::RunOptions run;
    int variables = 0;
    int groups = 0;
    int segments = 1;
    std::string out, dir;
};

long number(const std::string& option, const std::string& text, long low, long high) {
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < low || value > high)
        throw std::runtime_error(option + " needs a whole number from " + std::to_string(low) +
                                 " to " + std::to_string(high) + ", not '" + text + "'");
    return value;
}

void parseLoops(const std::string& text, synth::RunOptions& run) {
    size_t dash = text.find('-');
    std::string low = dash == std::string::npos ? text : text.substr(0, dash);
    std::string high = dash == std::string::npos ? text : text.substr(dash + 1);
    run.minLoops = static_cast<int>(number("--loops", low, 1, 100000));
    run.maxLoops = static_cast<int>(number("--loops", high, run.minLoops, 100000));
}

void parseRestarts(const std::string& text, synth::RunOptions& run) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        int previous = run.restarts.empty() ? 1 : run.restarts.back();
        run.restarts.push_back(static_cast<int>(
            number("--restart-at", text.substr(start, comma - start), previous + 1, 2147483647)));
        start = comma + 1;
    }
}

bool takeOption(Settings& s, const std::string& option, const std::string& value) {
    if (option == "--out")
        s.out = value;
    else if (option == "--dir")
        s.dir = value;
    else if (option == "--steps")
        s.run.steps = static_cast<int>(number(option, value, 1, 100000000));
    else if (option == "--loops")
        parseLoops(value, s.run);
    else if (option == "--variables")
        s.variables = static_cast<int>(number(option, value, 0, 1000000));
    else if (option == "--groups")
        s.groups = static_cast<int>(number(option, value, 1, 1000000));
    else if (option == "--seed")
        s.run.seed = static_cast<uint64_t>(number(option, value, 0, 2147483647));
    else if (option == "--segments")
        s.segments = static_cast<int>(number(option, value, 1, 1000));
    else if (option == "--restart-at")
        parseRestarts(value, s.run);
    else if (option == "--overlap")
        s.run.overlap = static_cast<int>(number(option, value, 0, 1000000));
    else if (option == "--time-step")
        s.run.timeStep = std::strtod(value.c_str(), nullptr);
    else
        return false;
    return true;
}

Settings parse(int argc, char** argv) {
    Settings s;
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--steady") {
            s.run.transient = false;
            continue;
        }
        if (i + 1 >= argc) throw std::runtime_error("missing value for " + option);
        if (!takeOption(s, option, argv[++i])) throw std::runtime_error("unknown option " + option);
    }
    if (s.out.empty() == s.dir.empty()) throw std::runtime_error("give one of --out and --dir");
    if (s.run.restarts.empty())
        for (int k = 1; k < s.segments; ++k)
            s.run.restarts.push_back(1 + k * s.run.steps / s.segments);
    for (int restart : s.run.restarts)
        if (restart > s.run.steps) throw std::runtime_error("restarts must lie within --steps");
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        Settings s = parse(argc, argv);
        synth::RunGenerator generator(
            s.run, synth::buildCatalog({s.run.transient, s.variables, s.groups}));
        if (!s.out.empty())
            generator.writeFile(s.out);
        else
            generator.writeDirectory(s.dir);
    } catch (const std::exception& error) {
        std::cerr << "monsynth: " << error.what() << "\n" << kUsage;
        return 2;
    }
    return 0;
}
