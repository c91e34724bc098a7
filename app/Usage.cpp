#include "app/Usage.h"

const char* const kVersionText = "monexport " MONEXPORT_VERSION "\n";

const char* const kUsageText =
    R"(Usage: monexport (-res FILE | -dir FOLDER | -mon FILE) [-out FILE] [mode] [table options]
       monexport -study PATTERN [-study PATTERN ...] [-matrix FILE.csv] [-out FILE]
                 [-lastvaluesonly | -stats] [table options]

Data source (the first one given in this order is read, the others ignored):
  -res FILE        an HDF5 results file of a finished run, or a CGNS file's
                   convergence histories
  -dir FOLDER      a run directory (*.mon segments), an OpenFOAM case
                   (postProcessing/, log.* solver logs) or an SU2 run folder
                   (its history files, restarts and zones)
  -mon FILE        one monitor file, SU2 history file, OpenFOAM
                   function-object data file or OpenFOAM solver log

Study (one table row per run: RUN, parameters, values, STEPS, ERROR):
  -study PATTERN   every path the glob matches is a run, read as the kind it
                   is ('*', '?', '[..]', '**' for any depth; quote it), or
                   @FILE, one path per line; may be repeated
  -matrix FILE.csv parameters per run: first column a path or run name
                   (default: path components name=value or name_value)

Output:
  -out FILE        write to FILE (replaced) instead of standard output

Mode (the last one given wins; default: time-history table):
  -showvars        every variable name, one per line, record keys first
  -lastvaluesonly  a header and one line of each selected variable's last value
  -varinfo         an XML document describing every variable
  -plotinfo        an XML document describing the run's default monitor plots
                   (template: ORB_DATA_DIR, else share/monexport/, else data/)
  -stats           one row per selected variable: mean with its standard
                   error over the settled window, spread, drift, orders
                   dropped, Cauchy value (docs/stats.md)

Table options:
  -varlist "A;B"   the variables to write, in this order, separated by ';'
  -varrule RULE    also the variables RULE matches, e.g.
                   'CATEGORY = RESIDUAL and SUBCATEGORY = RMS'
  -nocoeffloops    one line per time step (its last coefficient loop)
  -noheader        leave out the header line
  -firsttimestep N start at time step N (0 or below: from the first)
  -lasttimestep N  stop at time step N (0 or below: to the last)
  -firsttime T     start at the first step whose TIME is T or later (with
                   -stats: the window starts there)
  -lasttime T      stop at the last step whose TIME is T or earlier

Solver-log patterns (OpenFOAM logs, -mon and -dir):
  -pattern TEXT    the numbers at {NAME} of every line holding TEXT become the
                   variable NAME ({NAME|CATEGORY|GROUP} sets both); repeatable
  -patterns FILE   one pattern a line ('#' lines and blank lines left out)

Statistics options (-stats):
  -window auto|N   the settled part found by MSER-5 (default) or the last N steps
  -cauchy K        steps of the CAUCHY column (default 100)
  -converged 'RULE : TEST [and TEST] ; ...'
                   adds VERDICT and REASON; tests: below X, drop N,
                   cauchy K EPS, stable W TOL[%], stderr X[%]
  -reference FILE  compares each MEAN with FILE's (a -stats table, or VARIABLE
                   and MEAN or VALUE columns); adds REFERENCE, DIFFERENCE,
                   VERDICT and REASON
  -tolerance 'atol=A rtol=R k=K'
                   passes when |MEAN - REF| <= A + R |REF| + K STDERR
                   (default atol=0 rtol=1e-6 k=3)

Other:
  -h, -help, --help  print this text
  --version          print the version

A misspelt -study, -matrix, -stats, statistics, pattern or help option, and
with -converged, -reference or -study any unknown '-' argument, are errors.
On failure: "Exporter error:" and the reason on standard error, status 255.
With -converged or -reference: status 1 when a variable fails, else 0.
Manual: man monexport (docs/monexport.1); formats: docs/formats.md.
)";
