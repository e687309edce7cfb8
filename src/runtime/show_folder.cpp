// The show folder's files.
#include "runtime/show_folder.h"

#include "base/show_facts.h"
#include "runtime/asset_catalogue.h"
#include "runtime/track_set.h"
#include "sync/sync.h"

#include <unistd.h>

std::vector<std::string> showFileNames() {
    std::vector<std::string> names = {songFileName};
    for (const char* name : trackNames) {
        const char* file = trackFileName("sync", name);
        if (file) names.push_back(file);
    }
    names.push_back(vertexShaderFileName);
    names.push_back(fragmentShaderFileName);
    AssetCatalogue catalogue;
    for (const CatalogueEntry& entry : catalogueEntries(&catalogue)) names.push_back(entry.fileName);
    return names;
}

std::vector<std::string> missingShowFiles() {
    std::vector<std::string> missing;
    for (const std::string& name : showFileNames()) {
        if (access(name.c_str(), R_OK) != 0) missing.push_back(name);
    }
    return missing;
}

bool isShowFolder() {
    for (const std::string& name : showFileNames()) {
        if (access(name.c_str(), F_OK) == 0) return true;
    }
    return false;
}
