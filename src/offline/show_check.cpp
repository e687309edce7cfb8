// The show folder's checks: images against the texture store's cap and their placement, track
// files through the demo's own reader, the song through the sound layer's decoder, and the
// shaders compiled in an offscreen GL context.
#include "offline/show_check.h"

#include "base/regular_file.h"
#include "offline/image_problem.h"
#include "base/show_facts.h"
#include "base/show_images.h"
#include "platform/song_stream.h"
#include "platform/sound.h"
#include "render/demo_window.h"
#include "render/shader_program.h"
#include "render/texture_store.h"
#include "runtime/track_set.h"
#include "scenes/placements.h"
#include "sync/sync.h"
#include "sync/track_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <unistd.h>

namespace {

// ---- Images --------------------------------------------------------------------------------

// What an image's size must satisfy for where the show draws it.
enum class SizeRule {
    FitsWithin,         // at most a by b pixels
    EndsInsideDesign,   // drawn with its top-left corner at (a, b), it ends inside the design space
    NoLargerThanImage,  // no wider and no taller than the image `other` (a lyric in its bubble)
    CoversDesignWidth,  // at least as wide as the design space and taller (it scrolls vertically)
    Square,             // turned about its centre
    PowerOfTwoSides,    // repeated over the tunnel walls
};

struct PlacementRule {
    ShowImagePart part;  // the images it applies to
    SizeRule rule;
    int a, b;
    const char* role;                           // the image's part in the show, for the message
    ShowImagePart other = ShowImagePart::logo;  // NoLargerThanImage only: the part of the image bounding it
    // Its images are placed by their size (each holds its picture where the show wants it): an
    // image in place of one must have the size the generator drew there.
    bool placedBySize = false;
};

// Where a character's bubble (and its lyric) rests, from the scenes' placements.
constexpr int bubbleLeft(const CharacterPlacement& place) { return int(place.cornerX + double(place.bubbleX)); }
constexpr int bubbleTop(const CharacterPlacement& place) { return int(place.cornerY + double(place.bubbleY)); }

constexpr const char* fullScreen = "a full-screen picture";

// The placement rule of each part. Positions are the scenes' drawing corners in the design space
// (scenes/placements.h), before their few pixels of sway.
const PlacementRule placementRules[] = {
    {ShowImagePart::evilFaces, SizeRule::EndsInsideDesign, int(evilCharacter.cornerX), int(evilCharacter.cornerY),
     "the evil avatar", ShowImagePart::logo, true},
    {ShowImagePart::goodFaces, SizeRule::EndsInsideDesign, int(goodCharacter.cornerX), int(goodCharacter.cornerY),
     "the good avatar", ShowImagePart::logo, true},
    {ShowImagePart::goodBubble, SizeRule::EndsInsideDesign, bubbleLeft(goodCharacter), bubbleTop(goodCharacter),
     "the good bubble"},
    {ShowImagePart::evilBubble, SizeRule::EndsInsideDesign, bubbleLeft(evilCharacter), bubbleTop(evilCharacter),
     "the evil bubble"},
    {ShowImagePart::goodLyrics, SizeRule::NoLargerThanImage, 0, 0, "a good lyric", ShowImagePart::goodBubble},
    {ShowImagePart::evilLyrics, SizeRule::NoLargerThanImage, 0, 0, "an evil lyric", ShowImagePart::evilBubble},
    {ShowImagePart::refrainBackground, SizeRule::CoversDesignWidth, 0, 0, "the refrain background"},
    {ShowImagePart::refrainForeground, SizeRule::CoversDesignWidth, 0, 0, "the refrain foreground"},
    {ShowImagePart::refrainSun, SizeRule::Square, 0, 0, "the turning sun"},
    {ShowImagePart::tunnelTextures, SizeRule::PowerOfTwoSides, 0, 0, "a tunnel texture"},
    {ShowImagePart::logo, SizeRule::FitsWithin, logoMaxWidth, maxTextureSide, "the logo, centred with margins"},
    {ShowImagePart::pictograms, SizeRule::FitsWithin, 2 * designSpaceWidth, 2 * designSpaceHeight,
     "a pictogram (an icon, or a picture panned and zoomed across the screen)"},
    {ShowImagePart::features, SizeRule::FitsWithin, designSpaceWidth, designSpaceHeight, fullScreen,
     ShowImagePart::logo, true},
    {ShowImagePart::polaroids, SizeRule::FitsWithin, designSpaceWidth, designSpaceHeight,
     "a photograph, drawn from the screen's corner", ShowImagePart::logo, true},
    {ShowImagePart::credits, SizeRule::FitsWithin, designSpaceWidth, designSpaceHeight, fullScreen, ShowImagePart::logo,
     true},
};

const PlacementRule* placementRuleFor(ShowImagePart part) {
    for (const PlacementRule& rule : placementRules) {
        if (rule.part == part) return &rule;
    }
    return nullptr;
}

std::string sizeText(ImageFileSize size) { return std::to_string(size.width) + "x" + std::to_string(size.height); }

const std::string designSpaceText = sizeText({designSpaceWidth, designSpaceHeight});

bool isPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// The complaint about a size under its rule, or "" when the size suits it.
std::string placementProblem(const PlacementRule& rule, ImageFileSize size,
                             const std::map<std::string, ImageFileSize>& measured) {
    std::string prefix = sizeText(size) + " does not suit " + rule.role + ": ";
    switch (rule.rule) {
    case SizeRule::FitsWithin:
        if (size.width <= rule.a && size.height <= rule.b) return "";
        return prefix + "larger than " + sizeText({rule.a, rule.b});
    case SizeRule::EndsInsideDesign:
        if (rule.a + size.width <= designSpaceWidth && rule.b + size.height <= designSpaceHeight) return "";
        return prefix + "drawn at (" + std::to_string(rule.a) + "," + std::to_string(rule.b) + ") it ends outside " +
               designSpaceText;
    case SizeRule::NoLargerThanImage: {
        const std::string other = showImageFileName(rule.other, 0);
        auto bound = measured.find(other);
        if (bound == measured.end()) return "";  // the bubble's own problem is reported for it
        if (size.width <= bound->second.width && size.height <= bound->second.height) return "";
        return prefix + "larger than its bubble " + other + " (" + sizeText(bound->second) + ")";
    }
    case SizeRule::CoversDesignWidth:
        if (size.width >= designSpaceWidth && size.height > designSpaceHeight) return "";
        return prefix + "it must be at least " + std::to_string(designSpaceWidth) + " wide and taller than " +
               std::to_string(designSpaceHeight);
    case SizeRule::Square:
        if (size.width == size.height) return "";
        return prefix + "it must be square";
    case SizeRule::PowerOfTwoSides:
        if (isPowerOfTwo(size.width) && isPowerOfTwo(size.height)) return "";
        return prefix + "both sides must be powers of two";
    }
    return "";
}

// The sizes the art generator drew the images at, from its list in the show folder; empty when
// there is none (a show folder not made by the build).
std::map<std::string, ImageFileSize> generatedSizes() {
    std::map<std::string, ImageFileSize> sizes;
    std::string text;
    if (readRegularFile(generatedImageSizesFileName, 1 << 20, &text) != 0) return sizes;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        char name[256];
        int width = 0, height = 0;
        std::string line = text.substr(start, end - start);
        if (std::sscanf(line.c_str(), "%255s %d %d", name, &width, &height) == 3) sizes[name] = {width, height};
        start = end + 1;
    }
    return sizes;
}

// An image of a part placed by its size, at another size than the generator drew in its place:
// named with its size and the one expected. Without the generator's list (a show folder not made
// by the build) there is nothing to expect.
void addGroupSizeProblems(const std::vector<ShowImage>& images, const std::map<std::string, ImageFileSize>& measured,
                          const std::vector<bool>& measuredAt, std::vector<std::string>* problems) {
    const std::map<std::string, ImageFileSize> generated = generatedSizes();
    for (size_t i = 0; i < images.size(); ++i) {
        const PlacementRule* rule = placementRuleFor(images[i].part);
        auto drawn = generated.find(images[i].fileName);
        if (!rule || !rule->placedBySize || !measuredAt[i] || drawn == generated.end()) continue;
        ImageFileSize size = measured.at(images[i].fileName);
        ImageFileSize expected = drawn->second;
        if (size.width == expected.width && size.height == expected.height) continue;
        (*problems)[i] = sizeText(size) + ", but the generated image in its place is " + sizeText(expected) +
                         ": expected " + sizeText(expected) + " (" + rule->role + ", placed by its size)";
    }
}

// ---- Shaders -------------------------------------------------------------------------------

// Captured compiler output beyond this is dropped.
constexpr long maxCapturedLogBytes = 64 * 1024;

// Builds the show's program with standard output sent to a temporary file, and returns what the
// build printed there.
ShaderProgram buildCapturingLogs(std::string* logs) {
    std::fflush(stdout);
    FILE* capture = std::tmpfile();
    int savedOutput = capture ? dup(STDOUT_FILENO) : -1;
    bool redirected = savedOutput >= 0 && dup2(fileno(capture), STDOUT_FILENO) >= 0;
    ShaderProgram program = ShaderProgram::build(vertexShaderFileName, fragmentShaderFileName);
    std::fflush(stdout);
    if (redirected) dup2(savedOutput, STDOUT_FILENO);
    if (savedOutput >= 0) close(savedOutput);
    if (capture) {
        std::rewind(capture);
        char chunk[4096];
        size_t got;
        while (long(logs->size()) < maxCapturedLogBytes && (got = std::fread(chunk, 1, sizeof chunk, capture)) > 0) {
            logs->append(chunk, got);
        }
        std::fclose(capture);
    }
    return program;
}

// One problem per non-empty log line, named after the stage whose label it follows.
void addLogLines(const std::string& logs, ProblemList* problems) {
    const std::string programName = std::string(vertexShaderFileName) + " + " + fragmentShaderFileName;
    std::string source = programName;
    size_t start = 0;
    while (start < logs.size()) {
        size_t end = logs.find('\n', start);
        if (end == std::string::npos) end = logs.size();
        std::string line = logs.substr(start, end - start);
        start = end + 1;
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r' || line.back() == '\t')) line.pop_back();
        if (line.empty()) continue;
        if (line == "VertexShader Info Log:")
            source = vertexShaderFileName;
        else if (line == "FragmentShader Info Log:")
            source = fragmentShaderFileName;
        else if (line == "Prog Info Log:")
            source = programName;
        else
            problems->push_back(source + ": " + line);
    }
}

void checkBuiltProgram(const ShaderProgram& program, ProblemList* problems) {
    const std::string programName = std::string(vertexShaderFileName) + " + " + fragmentShaderFileName;
    if (!program.linked) {
        problems->push_back(programName + ": the shader program does not link");
        return;
    }
    for (const char* uniform : {"time", "alpha"}) {
        if (!shaderHasUniform(program, uniform)) {
            problems->push_back(programName + ": no active uniform '" + uniform + "'");
        }
    }
}

std::string songFormatProblem(int status) {
    if (status == FMOD_ERR_FILE_NOTFOUND) return "missing";
    if (status == FMOD_ERR_FORMAT) return "not decodable as MP3 (MPEG audio Layer III)";
    if (status == FMOD_ERR_FILE_BAD) return "cannot be read";
    return std::string("cannot be read (") + FMOD_ErrorString(FMOD_RESULT(status)) + ")";
}

// Frames the whole song decodes to, through the decoder the demo plays it with.
int64_t decodedSongFrames(SongStream* stream) {
    constexpr size_t chunkFrames = 8192;
    std::vector<int16_t> chunk(chunkFrames * songOutputChannels);
    int64_t frames = 0;
    size_t got;
    while ((got = readSongFrames(stream, chunk.data(), chunkFrames)) > 0) frames += int64_t(got);
    return frames;
}

std::string prefixed(const std::string& file, const std::string& problem) { return file + ": " + problem; }

}  // namespace

ProblemList checkCatalogueImages() {
    std::vector<ShowImage> images = showImages();
    std::vector<std::string> problems(images.size());
    std::vector<bool> measuredAt(images.size(), false);
    std::map<std::string, ImageFileSize> measured;
    int64_t budgetUsed = 0;
    for (size_t i = 0; i < images.size(); ++i) {
        ImageFileSize size{0, 0};
        problems[i] = imageFileProblem(images[i].fileName, &size, &budgetUsed);
        if (!problems[i].empty()) continue;
        const PlacementRule* rule = placementRuleFor(images[i].part);
        if (rule) problems[i] = placementProblem(*rule, size, measured);
        measured[images[i].fileName] = size;
        measuredAt[i] = problems[i].empty();
    }
    addGroupSizeProblems(images, measured, measuredAt, &problems);
    ProblemList found;
    for (size_t i = 0; i < images.size(); ++i) {
        if (!problems[i].empty()) found.push_back(prefixed(images[i].fileName, problems[i]));
    }
    return found;
}

ProblemList checkTrackFiles() {
    ProblemList problems;
    SyncDevice* device = createSyncDevice();
    if (!device) return {"track files: out of memory"};
    for (const char* name : trackNames) {
        const char* fileNameText = trackFileName("sync", name);
        std::string fileName = fileNameText ? fileNameText : name;
        TrackFileReport report;
        inspectTrackFile(device, name, &report);
        for (const std::string& problem : describeTrackFileProblems(report)) {
            problems.push_back(prefixed(fileName, problem));
        }
    }
    destroySyncDevice(device);
    return problems;
}

ProblemList checkSong() {
    long rate = 0;
    int channels = 0;
    std::string problem = fileProblem(songFileName);
    if (!problem.empty()) return {prefixed(songFileName, problem)};
    int status = readSongFileFormat(songFileName, &rate, &channels);
    if (status != FMOD_OK) return {prefixed(songFileName, songFormatProblem(status))};
    ProblemList problems;
    if (rate != songOutputRate || channels != songOutputChannels) {
        problems.push_back(prefixed(songFileName, std::to_string(rate) + " Hz, " + std::to_string(channels) +
                                                      " channels; the show is made for " +
                                                      std::to_string(songOutputRate) + " Hz stereo"));
    }
    SongStream* stream = nullptr;
    status = openSongStream(songFileName, &stream);
    if (status != FMOD_OK) {
        problems.push_back(prefixed(songFileName, songFormatProblem(status)));
        return problems;
    }
    int64_t frames = decodedSongFrames(stream);
    closeSongStream(stream);
    double seconds = double(frames) / double(songOutputRate);
    if (seconds * rowsPerSecond < rowLimit) {
        char text[160];
        std::snprintf(text, sizeof text, "decodes to %.3f s (%.1f rows), shorter than the show's %.0f rows (%.3f s)",
                      seconds, seconds * rowsPerSecond, rowLimit, rowLimit / rowsPerSecond);
        problems.push_back(prefixed(songFileName, text));
    }
    return problems;
}

ProblemList checkShaders() {
    ProblemList problems;
    for (const char* path : {vertexShaderFileName, fragmentShaderFileName}) {
        std::string problem = fileProblem(path);
        if (problem.empty() && access(path, R_OK) != 0) problem = "cannot be read";
        if (!problem.empty()) problems.push_back(prefixed(path, problem));
    }
    if (!problems.empty()) return problems;
    DemoWindow window;
    if (!window.openOffscreen(64, 36)) {
        return {"data/shaders: no GL context could be made, the shaders were not compiled"};
    }
    std::string logs;
    ShaderProgram program = buildCapturingLogs(&logs);
    addLogLines(logs, &problems);
    checkBuiltProgram(program, &problems);
    useNoShaderProgram();
    deleteShaderProgram(&program);
    window.close();
    return problems;
}

ProblemList checkShowFolder() {
    ProblemList problems;
    for (ProblemList (*check)() : {checkCatalogueImages, checkTrackFiles, checkSong, checkShaders}) {
        ProblemList found = check();
        problems.insert(problems.end(), found.begin(), found.end());
    }
    return problems;
}
