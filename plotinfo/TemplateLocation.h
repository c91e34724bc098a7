#pragma once
// Where monexport -plotinfo and monplot find the workspace template
// workspace-basic.mst without any setup: the folder named by ORB_DATA_DIR
// when it is set and not empty, else share/monexport/ of the installation
// the executable belongs to, else the data/ folder of the source tree it was
// built from.

#include <string>

// orbDataDir is the environment's value (empty when unset); executable is
// the path of the running program. Throws owl::Error when no candidate holds
// the template: "Initial workspace file not found." and, on the next line,
// where it looked.
std::string findTemplateDirectory(const std::string& orbDataDir, const std::string& executable);

// The same with the source tree's data folder given.
std::string findTemplateDirectory(const std::string& orbDataDir, const std::string& executable,
                                  const std::string& sourceDataDir);

// The running program's path, from /proc/self/exe.
std::string runningExecutable();
