#pragma once
// The formats each kind of source accepts. Every format recognises its own
// files or folders from their content (never from an option) and reads them
// into the run builder, or opens them as a lazily read RunData. A source is
// read by the first format of its list that recognises it; the last format
// of each list is the fallback that reports what was expected. Each format
// says how its names are spelled as bytes (see NameEncoding). A format that
// can follow a growing source reads only what was appended since (follow);
// the others are read again whole when their files change.
//
// Adding a format: one reader file beside this one and one line in the list
// of its source kind in SourceFormats.cpp.

#include <string>
#include <string_view>
#include <vector>

#include "libs/mondata/model/RunData.h"
#include "libs/mondata/model/RunDataBuilder.h"
#include "libs/mondata/sources/FollowedSource.h"
#include "libs/mondata/sources/ReadOptions.h"
#include "libs/mondata/sources/SourceFileCheck.h"

namespace mon {

// A file given with -mon.
struct FileFormat {
    const char* name;
    NameEncoding names;
    bool (*recognises)(const std::string& path, std::string_view head);
    void (*read)(const std::string& path, RunDataBuilder& builder, const ReadOptions& options);
    FollowSource follow = nullptr;
};

// A folder given with -dir.
struct FolderFormat {
    const char* name;
    NameEncoding names;
    // What a folder of this kind holds, as a message says it was not found.
    const char* lookedFor;
    bool (*recognises)(const std::string& folder);
    void (*read)(const std::string& folder, RunDataBuilder& builder, const ReadOptions& options);
    FollowSource follow = nullptr;
};

// A file given with -res: opened, its values read when first asked for.
struct ResultsFormat {
    const char* name;
    NameEncoding names;
    bool (*recognises)(const std::string& path, std::string_view head);
    RunData (*open)(const std::string& path);
};

const std::vector<FileFormat>& monitorFileFormats();
const std::vector<FolderFormat>& runFolderFormats();
const std::vector<ResultsFormat>& resultsFileFormats();

// The message for a folder that holds no run of any kind: "No run found in
// 'DIR': no postProcessing/, ...".
std::string noRunFoundMessage(const std::string& folder);

// The names of a list's formats for messages: "a, b or c".
template <typename Format>
std::string expectedFormats(const std::vector<Format>& formats) {
    std::string text;
    for (size_t i = 0; i < formats.size(); ++i) {
        if (i > 0) text += i + 1 == formats.size() ? " or " : ", ";
        text += formats[i].name;
    }
    return text;
}

}  // namespace mon
