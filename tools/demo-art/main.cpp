// demo-art: draws the show's 145 images from the sources in show/ (lyrics, art texts) into
// OUT/data/..., at the paths and sizes the demo expects. The same sources give byte-identical
// files on every run. This file parses arguments and runs the image groups.
//
//   demo-art --show SHOWDIR --out OUT [--only GROUP[,GROUP...]]
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "art_groups.h"
#include "base/tool_exit.h"

namespace {

struct ImageGroup {
    const char* name;
    int (*draw)(const ArtJob& job);
};

const ImageGroup imageGroups[] = {
    {"avatars", drawAvatarImages},   {"lyrics", drawLyricImages},    {"pictograms", drawPictogramImages},
    {"features", drawFeatureImages}, {"refrain", drawRefrainImages}, {"polaroids", drawPolaroidImages},
    {"credits", drawCreditImages},   {"tunnel", drawTunnelImages},   {"logo", drawLogoImage},
};

const char* const usage =
    "Usage: demo-art --show SHOWDIR --out OUT [--only GROUP[,GROUP...]]\n"
    "\n"
    "Draws the show's images into OUT/data/ from SHOWDIR/lyrics.txt and SHOWDIR/art-texts.txt,\n"
    "and, drawing them all, lists the size of each in OUT/generated-images.txt.\n"
    "Groups: avatars, lyrics, pictograms, features, refrain, polaroids, credits, tunnel, logo\n"
    "(all of them without --only).\n"
    "\n"
    "Exit status: 0 done, 1 a bad source file or a file that cannot be written, 2 bad arguments.\n";

bool isGroupName(const std::string& name) {
    for (const ImageGroup& group : imageGroups) {
        if (name == group.name) return true;
    }
    return false;
}

// Splits "a,b,c"; returns false (after a message) when a name is not a group.
bool parseGroupList(const std::string& list, std::vector<std::string>* groups) {
    size_t start = 0;
    while (start <= list.size()) {
        size_t comma = list.find(',', start);
        std::string name = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!isGroupName(name)) {
            fprintf(stderr, "demo-art: unknown group \"%s\"\n%s", name.c_str(), usage);
            return false;
        }
        groups->push_back(name);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return true;
}

bool wanted(const std::vector<std::string>& groups, const char* name) {
    if (groups.empty()) return true;
    for (const std::string& group : groups) {
        if (group == name) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    ArtJob job;
    std::vector<std::string> groups;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--help") {
            printf("%s", usage);
            return exitDone;
        }
        if (i + 1 >= argc || (argument != "--show" && argument != "--out" && argument != "--only")) {
            fprintf(stderr, "demo-art: unexpected argument \"%s\"\n%s", argv[i], usage);
            return exitUsage;
        }
        std::string value = argv[++i];
        if (argument == "--show") job.showDir = value;
        if (argument == "--out") job.outRoot = value;
        if (argument == "--only" && !parseGroupList(value, &groups)) return exitUsage;
    }
    if (job.showDir.empty() || job.outRoot.empty()) {
        fprintf(stderr, "demo-art: --show and --out are required\n%s", usage);
        return exitUsage;
    }
    if (loadArtFonts(&job.fonts) != 0) return exitFailed;
    int status = exitDone;
    for (const ImageGroup& group : imageGroups) {
        if (!wanted(groups, group.name)) continue;
        if (group.draw(job) != 0) {
            status = exitFailed;
            break;
        }
    }
    freeArtFonts(&job.fonts);
    if (status == exitDone && groups.empty() && writeImageSizes(job) != 0) status = exitFailed;
    return status;
}
