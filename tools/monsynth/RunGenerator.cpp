#include "tools/monsynth/RunGenerator.h"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <memory>
#include <stdexcept>

namespace synth {

namespace {
constexpr double kPi = 3.14159265358979323846;

uint64_t mix(uint64_t x) {  // splitmix64 finaliser
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

std::string quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

FilePtr openOutput(const std::string& path) {
    FilePtr file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file) throw std::runtime_error("cannot create '" + path + "'");
    std::setvbuf(file.get(), nullptr, _IOFBF, 1 << 20);
    return file;
}

void finish(FilePtr file, const std::string& path) {
    bool failed = std::ferror(file.get()) != 0;
    if (std::fclose(file.release()) != 0 || failed)
        throw std::runtime_error("cannot write '" + path + "'");
}
}  // namespace

RunGenerator::RunGenerator(RunOptions options, std::vector<Variable> variables)
    : options_(std::move(options)), variables_(std::move(variables)), declaredFirst_(0) {
    while (declaredFirst_ < variables_.size() && !variables_[declaredFirst_].addedAtRestart)
        ++declaredFirst_;
}

std::vector<RunGenerator::Segment> RunGenerator::segments() const {
    std::vector<Segment> out;
    int first = 1;
    for (int restart : options_.restarts) {
        out.push_back({first, std::min(options_.steps, restart + options_.overlap - 1)});
        first = restart;
    }
    out.push_back({first, options_.steps});
    return out;
}

void RunGenerator::writeHeader(std::FILE* out) const {
    std::fputs(options_.transient ? "monitor-file 1 coefficient-loops\n" : "monitor-file 1\n", out);
    std::fprintf(out, "# Synthetic %s run: %d steps, seed %llu.\n",
                 options_.transient ? "transient" : "steady", options_.steps,
                 static_cast<unsigned long long>(options_.seed));
}

void RunGenerator::writeDeclarations(std::FILE* out, bool restart, bool onlyNew) const {
    size_t end = restart ? variables_.size() : declaredFirst_;
    for (size_t i = onlyNew ? declaredFirst_ : 0; i < end; ++i) {
        std::string line = "var " + quote(variables_[i].name);
        for (const auto& [key, value] : variables_[i].attributes)
            line += " " + key + "=" + quote(value);
        line += '\n';
        std::fputs(line.c_str(), out);
    }
}

int RunGenerator::loopsAt(int step) const {
    if (!options_.transient) return 1;
    int spread = options_.maxLoops - options_.minLoops + 1;
    return options_.minLoops + static_cast<int>(mix(options_.seed ^ mix(step)) % spread);
}

double RunGenerator::noise(size_t variable, int step, int loop, int attempt) const {
    uint64_t h = mix(options_.seed);
    h = mix(h ^ variable);
    h = mix(h ^ static_cast<uint64_t>(step));
    h = mix(h ^ (static_cast<uint64_t>(loop) << 20) ^ (static_cast<uint64_t>(attempt) << 40));
    return static_cast<double>(h >> 11) * 0x1.0p-53;
}

double RunGenerator::stepSizeAt(int step) const {
    // The solver doubles its time step half way through the run.
    return step <= options_.steps / 2 ? options_.timeStep : 2 * options_.timeStep;
}

double RunGenerator::timeAt(int step) const {
    int half = options_.steps / 2;
    if (step <= half) return step * options_.timeStep;
    return half * options_.timeStep + (step - half) * 2 * options_.timeStep;
}

bool RunGenerator::inGap(int step) const {
    int first = options_.steps * 2 / 5 + 1;
    return step >= first && step < first + std::max(1, options_.steps / 10);
}

double RunGenerator::value(size_t variable, int step, int loop, int attempt) const {
    const Variable& v = variables_[variable];
    const double n = noise(variable, step, loop, attempt);
    const double progress = static_cast<double>(step) / options_.steps;
    const double t = options_.transient ? timeAt(step) * 1000.0 : step;
    switch (v.shape) {
        case Shape::Residual:
            return v.level * std::exp(-(options_.transient ? 3.0 : 9.0) * progress) *
                   std::pow(0.3, loop - 1) * (0.7 + 0.6 * n);
        case Shape::Imbalance:
            return v.level * std::exp(-5.0 * progress) * (2 * n - 1);
        case Shape::Probe:
            return v.level + v.rate * std::sin(0.3 * t + v.phase) +
                   v.rate * 0.05 * (2 * n - 1) / loop;
        case Shape::Force:
            return v.level * (1 + 0.2 * std::sin(0.5 * t + v.phase) + v.rate * (2 * n - 1) / loop);
        case Shape::Time:
            return timeAt(step);
        case Shape::TimeStepSize:
            return stepSizeAt(step);
        case Shape::PassageTime:
            return timeAt(step) + v.phase * 0.01;
        case Shape::PassageForce:
            return v.level *
                       (1 + 0.3 * std::sin(2 * kPi * v.rate * (timeAt(step) + v.phase * 0.01))) +
                   0.01 * (2 * n - 1) / loop;
    }
    return 0;
}

void RunGenerator::appendRecord(int step, int loop, int attempt, size_t columns) {
    char buffer[32];
    line_.clear();
    line_ += std::to_string(step);
    if (options_.transient) (line_ += ' ') += std::to_string(loop);
    for (size_t i = 0; i < columns; ++i) {
        line_ += ' ';
        if (variables_[i].hasGap && inGap(step)) {
            line_ += '-';
            continue;
        }
        float value = static_cast<float>(this->value(i, step, loop, attempt));
        auto result =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
        line_.append(buffer, result.ptr);
    }
    line_ += '\n';
}

void RunGenerator::writeRecords(std::FILE* out, const Segment& segment, int attempt) {
    size_t columns = attempt == 0 ? declaredFirst_ : variables_.size();
    for (int step = segment.first; step <= segment.last; ++step)
        for (int loop = 1, loops = loopsAt(step); loop <= loops; ++loop) {
            appendRecord(step, loop, attempt, columns);
            std::fwrite(line_.data(), 1, line_.size(), out);
        }
}

void RunGenerator::writeFile(const std::string& path) {
    FilePtr out = openOutput(path);
    writeHeader(out.get());
    std::vector<Segment> parts = segments();
    for (size_t k = 0; k < parts.size(); ++k) {
        if (k > 0) {
            std::fprintf(out.get(), "# The solver restarted from step %d.\n", parts[k].first);
            if (k == 1) writeDeclarations(out.get(), true, true);
        }
        if (k == 0) writeDeclarations(out.get(), false, false);
        writeRecords(out.get(), parts[k], static_cast<int>(k));
    }
    finish(std::move(out), path);
}

void RunGenerator::writeDirectory(const std::string& folder) {
    if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST)
        throw std::runtime_error("cannot create folder '" + folder + "'");
    std::vector<Segment> parts = segments();
    for (size_t k = 0; k < parts.size(); ++k) {
        char name[48];
        std::snprintf(name, sizeof name, "/segment-%03zu.mon", k + 1);
        const std::string path = folder + name;
        FilePtr out = openOutput(path);
        writeHeader(out.get());
        if (k > 0)
            std::fprintf(out.get(), "# The solver restarted from step %d.\n", parts[k].first);
        writeDeclarations(out.get(), k > 0, false);
        writeRecords(out.get(), parts[k], static_cast<int>(k));
        finish(std::move(out), path);
    }
}

}  // namespace synth
