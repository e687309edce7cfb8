// Watching the show while it is previewed: the choreography source, the track files, the images
// and the shaders, each by its modification time and size. A change is taken in without
// stopping: the source is compiled again (as demo-tracks build compiles it) and its keys put in
// force, a track file is read again, an image decoded again, the shader program rebuilt. What
// cannot be used changes nothing (the last good tracks, texture or program stay) and is kept as
// a problem until a later change mends it.
#pragma once

#include "render/shader_program.h"
#include "runtime/asset_catalogue.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct SyncDevice;
struct TextureStore;

struct FileStamp {
    std::string path;
    bool present = false;
    int64_t modified = 0;  // nanoseconds
    int64_t size = 0;
};

struct ShowWatch {
    FileStamp source;                                 // no path: no source is watched
    std::vector<FileStamp> trackFiles;                // in the order of the device's tracks
    std::vector<FileStamp> images;                    // in catalogue order
    std::vector<FileStamp> shaders;                   // vertex, fragment
    std::vector<std::string> sourceErrors;            // "FILE:LINE: message" of the last compile
    std::string shaderProblem;                        // the failed build's logs
    std::map<std::string, std::string> fileProblems;  // by file: why its new content was refused
};

// Takes the stamps of everything watched as it is now.
ShowWatch watchShow(const std::string& sourcePath, const SyncDevice* device, AssetCatalogue* catalogue);

// Stamps the file again; true when it differs from before (appeared, went, or changed).
bool restampFile(FileStamp* stamp);

// What one look at the watched files did.
struct WatchOutcome {
    bool anyChange = false;  // some watched file changed, whether or not it could be taken in
    bool tracksReloaded = false;
    bool picturesReloaded = false;  // an image or the shader program
};

// Looks for changes and takes them in. Problems found go to standard error once and stay in the
// watch until mended.
WatchOutcome takeInChanges(ShowWatch* watch, SyncDevice* device, TextureStore* store, ShaderProgram* shader);

// Compiles the source as the build does (runtime/show_source.h) and puts the keys of each track
// it names into the device's track of that name (tracks it does not name keep theirs, and a
// warning naming them goes to standard error). On any error nothing changes and the errors, as
// "FILE:LINE: message", come back in `errors`.
bool compileSourceIntoTracks(const std::string& path, SyncDevice* device, std::vector<std::string>* errors);

// Every problem the watch holds now, one line each.
std::vector<std::string> watchProblems(const ShowWatch& watch);
