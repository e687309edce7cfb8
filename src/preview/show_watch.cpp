// Watching the show's files and taking in their changes.
#include "preview/show_watch.h"

#include "base/show_facts.h"
#include "render/shader_program.h"
#include "render/texture_store.h"
#include "runtime/show_source.h"
#include "sync/sync.h"
#include "sync/track_text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {

FileStamp stampOf(const std::string& path) {
    FileStamp stamp;
    stamp.path = path;
    restampFile(&stamp);
    return stamp;
}

void report(ShowWatch* watch, const std::string& file, const std::string& problem) {
    std::string& kept = watch->fileProblems[file];
    if (kept != problem) std::fprintf(stderr, "demo-preview: %s: %s\n", file.c_str(), problem.c_str());
    kept = problem;
}

bool reloadSource(ShowWatch* watch, SyncDevice* device) {
    std::vector<std::string> errors;
    bool compiled = compileSourceIntoTracks(watch->source.path, device, &errors);
    if (errors != watch->sourceErrors) {
        for (const std::string& error : errors) std::fprintf(stderr, "%s\n", error.c_str());
    }
    watch->sourceErrors = errors;
    return compiled;
}

// Reads a changed track file into a scratch track first: only a file read whole replaces the keys.
bool reloadTrackFile(ShowWatch* watch, SyncDevice* device, int index) {
    SyncTrack* track = device->tracks[index];
    SyncTrack scratch = {track->name, nullptr, 0};
    const std::string& file = watch->trackFiles[size_t(index)].path;
    if (loadTrack(device, &scratch) != 0) {
        std::free(scratch.keys);
        report(watch, file, "damaged or unreadable; the last good keys stay");
        return false;
    }
    std::free(track->keys);
    track->keys = scratch.keys;
    track->keyCount = scratch.keyCount;
    watch->fileProblems.erase(file);
    return true;
}

bool reloadImage(ShowWatch* watch, TextureStore* store, const std::string& file) {
    for (size_t slot = 0; slot < store->textures.size(); ++slot) {
        if (store->textures[slot].fileName != file) continue;
        if (!reloadTexture(store, int(slot))) {
            report(watch, file, std::string(imageRefusalText(store->lastRefusal)) + "; the last good image stays");
            return false;
        }
        watch->fileProblems.erase(file);
        return true;
    }
    return false;  // never loaded: the demo would not have it either until it starts again
}

bool rebuildShader(ShowWatch* watch, ShaderProgram* shader) {
    ShaderProgram rebuilt = ShaderProgram::build(vertexShaderFileName, fragmentShaderFileName);
    useNoShaderProgram();
    if (!rebuilt.linked) {
        if (rebuilt.log != watch->shaderProblem) std::fprintf(stderr, "%s", rebuilt.log.c_str());
        watch->shaderProblem = rebuilt.log.empty() ? "the shader program did not link" : rebuilt.log;
        deleteShaderProgram(&rebuilt);
        return false;
    }
    deleteShaderProgram(shader);
    *shader = rebuilt;
    watch->shaderProblem.clear();
    return true;
}

}  // namespace

bool restampFile(FileStamp* stamp) {
    struct stat info;
    FileStamp now = *stamp;
    now.present = stat(stamp->path.c_str(), &info) == 0;
    now.modified = now.present ? int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec : 0;
    now.size = now.present ? int64_t(info.st_size) : 0;
    bool changed = now.present != stamp->present || now.modified != stamp->modified || now.size != stamp->size;
    *stamp = now;
    return changed;
}

ShowWatch watchShow(const std::string& sourcePath, const SyncDevice* device, AssetCatalogue* catalogue) {
    ShowWatch watch;
    if (!sourcePath.empty()) watch.source = stampOf(sourcePath);
    for (int i = 0; i < device->trackCount; ++i) {
        const char* file = trackFileName(device->baseName, device->tracks[i]->name);
        watch.trackFiles.push_back(stampOf(file ? file : ""));
    }
    for (const CatalogueEntry& entry : catalogueEntries(catalogue)) watch.images.push_back(stampOf(entry.fileName));
    watch.shaders = {stampOf(vertexShaderFileName), stampOf(fragmentShaderFileName)};
    return watch;
}

WatchOutcome takeInChanges(ShowWatch* watch, SyncDevice* device, TextureStore* store, ShaderProgram* shader) {
    WatchOutcome outcome;
    bool& any = outcome.anyChange;
    if (!watch->source.path.empty() && restampFile(&watch->source)) {
        any = true;
        outcome.tracksReloaded |= reloadSource(watch, device);
    }
    for (size_t i = 0; i < watch->trackFiles.size() && int(i) < device->trackCount; ++i) {
        if (!restampFile(&watch->trackFiles[i])) continue;
        any = true;
        outcome.tracksReloaded |= reloadTrackFile(watch, device, int(i));
    }
    for (FileStamp& image : watch->images) {
        if (!restampFile(&image)) continue;
        any = true;
        outcome.picturesReloaded |= reloadImage(watch, store, image.path);
    }
    bool vertexChanged = restampFile(&watch->shaders[0]);
    bool fragmentChanged = restampFile(&watch->shaders[1]);
    if (vertexChanged || fragmentChanged) {
        any = true;
        outcome.picturesReloaded |= rebuildShader(watch, shader);
    }
    return outcome;
}

bool compileSourceIntoTracks(const std::string& path, SyncDevice* device, std::vector<std::string>* errors) {
    errors->clear();
    std::string text;
    if (readTextFile(path.c_str(), &text) != 0) {
        errors->push_back(path + ": " + std::strerror(errno));
        return false;
    }
    TrackSource source = compileShowSource(text);
    for (const SourceError& error : source.errors) {
        errors->push_back(path + ":" + std::to_string(error.line) + ": " + error.message);
    }
    if (!errors->empty()) return false;
    for (const SourceError& warning : source.warnings) {
        std::fprintf(stderr, "%s: warning: %s (the preview keeps the keys of their files)\n", path.c_str(),
                     warning.message.c_str());
    }
    for (const SourceTrack& parsed : source.tracks) {
        int index = findTrackIndex(device, parsed.name.c_str());
        if (index < 0) continue;
        if (setTrackKeys(device->tracks[index], parsed.keys.data(), int32_t(parsed.keys.size())) != 0) {
            errors->push_back(path + ": out of memory for the keys of " + parsed.name);
            return false;
        }
    }
    return true;
}

std::vector<std::string> watchProblems(const ShowWatch& watch) {
    std::vector<std::string> problems = watch.sourceErrors;
    for (const auto& [file, problem] : watch.fileProblems) problems.push_back(file + ": " + problem);
    if (!watch.shaderProblem.empty()) {
        size_t start = 0;
        while (start < watch.shaderProblem.size()) {
            size_t end = watch.shaderProblem.find('\n', start);
            if (end == std::string::npos) end = watch.shaderProblem.size();
            if (end > start) problems.push_back(watch.shaderProblem.substr(start, end - start));
            start = end + 1;
        }
    }
    return problems;
}
