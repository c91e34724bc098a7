#pragma once
// Replaces files so that a reader never sees half of one: the content goes
// to a hidden temporary file in the same folder, which is then renamed over
// the target. Failures throw owl::Error naming the file.

#include <functional>
#include <string>

namespace plot {

// The temporary name used for path: ".NAME.tmp" beside it.
std::string temporaryPathFor(const std::string& path);

void writeFileAtomically(const std::string& path, const std::string& content);
// For writers that produce the file themselves (cairo): write(temporary)
// must create the file at the name it is given.
void replaceFileAtomically(const std::string& path,
                           const std::function<void(const std::string&)>& write);

}  // namespace plot
