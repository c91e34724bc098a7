// Writes a large synthetic monitor file for the table benchmark:
//   table_synth FILE VARIABLES STEPS
// with coefficient loops (1 to 4 per step), residual-like values over many
// decades, some missing values and a variable that starts late.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: table_synth FILE VARIABLES STEPS\n");
        return 2;
    }
    const long variables = std::atol(argv[2]), steps = std::atol(argv[3]);
    std::FILE* file = std::fopen(argv[1], "w");
    if (!file || variables < 1 || steps < 1) {
        std::fprintf(stderr, "table_synth: cannot write %s\n", argv[1]);
        return 1;
    }
    std::fprintf(file, "monitor-file 1 coefficient-loops\n");
    for (long v = 0; v < variables; ++v)
        std::fprintf(file, "var \"VAR %ld\" category=RESIDUAL subcategory=%s\n", v,
                     v % 2 ? "MAX" : "RMS");
    std::mt19937 random(42);
    std::uniform_real_distribution<float> mantissa(1.0f, 10.0f);
    std::uniform_int_distribution<int> decade(-9, 5);
    for (long step = 1; step <= steps; ++step) {
        const int loops = 1 + static_cast<int>(step % 4);
        for (int loop = 1; loop <= loops; ++loop) {
            std::fprintf(file, "%ld %d", step, loop);
            for (long v = 0; v < variables; ++v) {
                if (random() % 50 == 0)
                    std::fputs(" -", file);
                else
                    std::fprintf(file, " %.8e", mantissa(random) * std::pow(10.0f, decade(random)));
            }
            std::fputc('\n', file);
        }
    }
    return std::fclose(file) == 0 ? 0 : 1;
}
