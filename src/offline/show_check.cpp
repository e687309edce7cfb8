// The show folder's checks: images against the texture store's cap and their placement, track
// files through the demo's own reader, the song through the sound layer's decoder, and the
// shaders compiled in an offscreen GL context.
#include "offline/show_check.h"

#include "base/regular_file.h"
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

#include <stb/stb_image.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <unistd.h>

namespace {

// ---- Images --------------------------------------------------------------------------------

struct ImageSize {
    int width;
    int height;
};

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
};

// Where a character's bubble (and its lyric) rests, from the scenes' placements.
constexpr int bubbleLeft(const CharacterPlacement& place) { return int(place.cornerX + double(place.bubbleX)); }
constexpr int bubbleTop(const CharacterPlacement& place) { return int(place.cornerY + double(place.bubbleY)); }

constexpr const char* fullScreen = "a full-screen picture";

// The placement rule of each part. Positions are the scenes' drawing corners in the design space
// (scenes/placements.h), before their few pixels of sway.
const PlacementRule placementRules[] = {
    {ShowImagePart::evilFaces, SizeRule::EndsInsideDesign, int(evilCharacter.cornerX), int(evilCharacter.cornerY),
     "the evil avatar"},
    {ShowImagePart::goodFaces, SizeRule::EndsInsideDesign, int(goodCharacter.cornerX), int(goodCharacter.cornerY),
     "the good avatar"},
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
    {ShowImagePart::features, SizeRule::FitsWithin, designSpaceWidth, designSpaceHeight, fullScreen},
    {ShowImagePart::polaroids, SizeRule::FitsWithin, designSpaceWidth, designSpaceHeight, fullScreen},
    {ShowImagePart::credits, SizeRule::FitsWithin, designSpaceWidth, designSpaceHeight, fullScreen},
};

const PlacementRule* placementRuleFor(ShowImagePart part) {
    for (const PlacementRule& rule : placementRules) {
        if (rule.part == part) return &rule;
    }
    return nullptr;
}

std::string sizeText(ImageSize size) { return std::to_string(size.width) + "x" + std::to_string(size.height); }

const std::string designSpaceText = sizeText({designSpaceWidth, designSpaceHeight});

bool isPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// The complaint about a size under its rule, or "" when the size suits it.
std::string placementProblem(const PlacementRule& rule, ImageSize size,
                             const std::map<std::string, ImageSize>& measured) {
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

uint32_t bigEndian32(const unsigned char* bytes) {
    return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | uint32_t(bytes[3]);
}

// The size a PNG's header states, read from its first 24 bytes (signature, IHDR length and
// type, width, height); false when the file does not start as a PNG. stb_image refuses very
// large PNGs without saying why, so the header is read here to name the size.
bool pngHeaderSize(const std::string& path, uint32_t* width, uint32_t* height) {
    static const unsigned char start[16] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                            0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    unsigned char header[24];
    FILE* file = openRegularStream(path.c_str(), "rb");
    if (!file) return false;
    size_t got = std::fread(header, 1, sizeof header, file);
    std::fclose(file);
    if (got != sizeof header || std::memcmp(header, start, sizeof start) != 0) return false;
    *width = bigEndian32(header + 16);
    *height = bigEndian32(header + 20);
    return true;
}

std::string overCapProblem(uint64_t width, uint64_t height) {
    return std::to_string(width) + "x" + std::to_string(height) +
           " is refused: a side over the texture store's cap of " + std::to_string(maxTextureSide);
}

// What is wrong with the file at the path as a file, before its contents: "missing", "a FIFO,
// not a regular file" and the like; "" for a regular file.
std::string fileProblem(const std::string& path) {
    FileKind kind = fileKindAt(path.c_str());
    if (kind == FileKind::Missing) return "missing";
    const char* irregular = irregularFileText(kind);
    return irregular ? irregular : "";
}

// Decodes one image as the texture store does, counting it against the store's budget for all
// images (*budgetUsed, in RGBA bytes); the problem, or "" with its size filled in.
std::string imageProblem(const std::string& path, ImageSize* size, int64_t* budgetUsed) {
    std::string problem = fileProblem(path);
    if (!problem.empty()) return problem;
    uint32_t pngWidth = 0, pngHeight = 0;
    if (pngHeaderSize(path, &pngWidth, &pngHeight) &&
        (pngWidth > uint32_t(maxTextureSide) || pngHeight > uint32_t(maxTextureSide))) {
        return overCapProblem(pngWidth, pngHeight);
    }
    DecodedImage image;
    if (!decodeTextureImage(path.c_str(), maxTextureSide, &image, textureBudgetBytes - *budgetUsed)) {
        if (image.refusal == ImageRefusal::OverBudget) {
            return std::string("refused: ") + imageRefusalText(image.refusal) + " (the images before it take " +
                   std::to_string(*budgetUsed >> 20) + " of " + std::to_string(textureBudgetBytes >> 20) + " MiB)";
        }
        if (image.refusal == ImageRefusal::Undecodable) {
            return std::string("cannot be decoded (") + stbi_failure_reason() + ")";
        }
        return imageRefusalText(image.refusal);
    }
    size->width = image.width;
    size->height = image.height;
    *budgetUsed += int64_t(image.width) * int64_t(image.height) * 4;
    freeDecodedImage(&image);
    return "";
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
    ProblemList problems;
    std::map<std::string, ImageSize> measured;
    int64_t budgetUsed = 0;
    for (const ShowImage& image : showImages()) {
        ImageSize size{0, 0};
        std::string problem = imageProblem(image.fileName, &size, &budgetUsed);
        if (problem.empty()) {
            const PlacementRule* rule = placementRuleFor(image.part);
            if (rule) problem = placementProblem(*rule, size, measured);
            measured[image.fileName] = size;
        }
        if (!problem.empty()) problems.push_back(prefixed(image.fileName, problem));
    }
    return problems;
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
