// The show's generated content (build/show): the 145 images the demo loads, each decodable and
// sized for the place where it is drawn; the song's format, length, gapless start and
// loudness; the generators' determinism and their messages on bad sources.
#include <gtest/gtest.h>
#include <mpg123.h>
#include <stb/stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/song_stream.h"
#include "runtime/asset_catalogue.h"
#include "support/audio_fixtures.h"
#include "support/run_program.h"

namespace {

const std::string showDir = std::string(DEMO_BIN_DIR) + "/../show";
const std::string showSources = std::string(DEMO_SOURCE_DIR) + "/show";
const std::string songPath = showDir + "/data/mirekand2013.mp3";
constexpr int designWidth = 1280;
constexpr int designHeight = 720;

struct Image {
    int width = 0;
    int height = 0;
    int channels = 0;  // as stored in the file
    std::vector<unsigned char> pixels;  // RGBA
};

bool loadImage(const std::string& path, Image* image) {
    int width = 0, height = 0, channels = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &width, &height, &channels, 4);
    if (!pixels) return false;
    image->width = width;
    image->height = height;
    image->channels = channels;
    image->pixels.assign(pixels, pixels + size_t(width) * size_t(height) * 4);
    stbi_image_free(pixels);
    return true;
}

unsigned char alphaAt(const Image& image, int x, int y) {
    return image.pixels[(size_t(y) * size_t(image.width) + size_t(x)) * 4 + 3];
}

double opaqueShare(const Image& image) {
    size_t opaque = 0;
    for (size_t i = 3; i < image.pixels.size(); i += 4) opaque += image.pixels[i] == 255;
    return double(opaque) / double(image.pixels.size() / 4);
}

// The catalogue's file names, in load order, as the demo itself lists them.
std::vector<std::string> catalogueFiles() {
    AssetCatalogue catalogue{};
    std::vector<std::string> names;
    for (const CatalogueEntry& entry : catalogueEntries(&catalogue)) names.push_back(entry.fileName);
    return names;
}

// The decoded images of the catalogue, loaded once for all the tests that look at them.
const std::map<std::string, Image>& showImages() {
    static const std::map<std::string, Image> images = [] {
        std::map<std::string, Image> loaded;
        for (const std::string& name : catalogueFiles()) {
            Image image;
            if (loadImage(showDir + "/" + name, &image)) loaded[name] = image;
        }
        return loaded;
    }();
    return images;
}

const Image& imageOf(const std::string& name) {
    static const Image missing;
    auto found = showImages().find(name);
    return found == showImages().end() ? missing : found->second;
}

std::vector<std::string> namesStartingWith(const std::string& prefix) {
    std::vector<std::string> names;
    for (const std::string& name : catalogueFiles()) {
        if (name.rfind(prefix, 0) == 0) names.push_back(name);
    }
    return names;
}

std::string lyricName(const char* side, int number) {
    char name[64];
    snprintf(name, sizeof name, "data/%s_lyrics/%02d.png", side, number);
    return name;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace

TEST(ShowImages, EveryCatalogueImageIsPresentAndDecodes) {
    std::vector<std::string> names = catalogueFiles();
    ASSERT_EQ(names.size(), size_t(catalogueImageCount));
    for (const std::string& name : names) {
        EXPECT_TRUE(std::filesystem::exists(showDir + "/" + name)) << name << " is missing";
        const Image& image = imageOf(name);
        EXPECT_GT(image.width, 0) << name << " does not decode";
    }
}

TEST(ShowImages, TransparentImagesCarryAlpha) {
    for (const std::string& name : catalogueFiles()) {
        if (name == "data/refrain/refrain-bg.png") continue;  // the opaque sky
        const Image& image = imageOf(name);
        EXPECT_EQ(image.channels, 4) << name << " should be an RGBA image";
    }
}

TEST(ShowImages, AvatarsFitTheirPlaces) {
    // The good face sways +-6 across and +-4 down around (910, 250); the evil one +-3, +-2
    // around (0, 280) and has its bubble to its right at x 300.
    for (const std::string& name : namesStartingWith("data/avatars/")) {
        const Image& image = imageOf(name);
        bool evil = name.find("evil_") != std::string::npos;
        int right = evil ? 3 + image.width : 916 + image.width;
        int bottom = evil ? 282 + image.height : 254 + image.height;
        EXPECT_LE(right, evil ? 303 : designWidth) << name;
        EXPECT_LE(bottom, designHeight) << name;
        EXPECT_GE(image.width, 150) << name << " is too small to show a face";
        EXPECT_EQ(alphaAt(image, 0, 0), 0) << name << " should be transparent around the figure";
        EXPECT_GT(opaqueShare(image), 0.25) << name;
    }
}

TEST(ShowImages, FacesDifferFromEachOther) {
    std::vector<std::string> faces = namesStartingWith("data/avatars/");
    for (size_t i = 0; i < faces.size(); ++i) {
        for (size_t j = i + 1; j < faces.size(); ++j) {
            EXPECT_NE(imageOf(faces[i]).pixels, imageOf(faces[j]).pixels) << faces[i] << " and " << faces[j];
        }
    }
}

TEST(ShowImages, BubblesEndInsideTheScreenAndHoldTheirLyrics) {
    struct Side {
        const char* name;
        int x;
        int y;
        int lines;
    };
    // Corners with the sway added: the good bubble at (30, 600) +-6/+-4, the evil at (300, 602)
    // +-3/+-2.
    for (const Side& side : {Side{"good", 36, 604, 32}, Side{"evil", 303, 604, 18}}) {
        const Image& bubble = imageOf(std::string("data/") + side.name + "_lyrics/bg-taleboble.png");
        EXPECT_LE(side.x + bubble.width, designWidth) << side.name;
        EXPECT_LE(side.y + bubble.height, designHeight) << side.name;
        for (int k = 1; k <= side.lines; ++k) {
            const Image& lyric = imageOf(lyricName(side.name, k));
            EXPECT_LE(lyric.width, bubble.width) << lyricName(side.name, k);
            EXPECT_LE(lyric.height, bubble.height) << lyricName(side.name, k);
            EXPECT_EQ(alphaAt(lyric, 0, 0), 0) << lyricName(side.name, k) << " should be clear around the text";
            EXPECT_GT(opaqueShare(lyric), 0.02) << lyricName(side.name, k) << " shows no text";
            if (k > 1) {
                EXPECT_NE(lyric.pixels, imageOf(lyricName(side.name, k - 1)).pixels) << lyricName(side.name, k);
            }
        }
    }
}

TEST(ShowImages, RefrainLayersCanSlideAndTheSunTurnsAboutItsMiddle) {
    for (const char* name : {"data/refrain/refrain-bg.png", "data/refrain/refrain-foregrund.png"}) {
        EXPECT_EQ(imageOf(name).width, designWidth) << name;
        EXPECT_GT(imageOf(name).height, designHeight) << name;
    }
    const Image& sun = imageOf("data/refrain/mirekand-o-sol.png");
    EXPECT_EQ(sun.width, sun.height);
    // Drawn at x = -460 and turned about its centre, which must fall in the left third.
    double centreX = -460.0 + sun.width * 0.5;
    EXPECT_GE(centreX, 0.0);
    EXPECT_LE(centreX, designWidth / 3.0);
    EXPECT_EQ(alphaAt(sun, 0, 0), 0) << "the sun's corners must be clear, since it turns";
    EXPECT_EQ(alphaAt(sun, sun.width / 2, sun.height / 2), 255) << "the sun's disc is at its centre";
}

TEST(ShowImages, PictogramsAndFeaturesAreCompact) {
    for (const std::string& name : namesStartingWith("data/pictograms/")) {
        EXPECT_GE(imageOf(name).width, 120) << name;
        EXPECT_LE(imageOf(name).width, 260) << name;
        EXPECT_GE(imageOf(name).height, 120) << name;
        EXPECT_LE(imageOf(name).height, 260) << name;
    }
    for (const std::string& name : namesStartingWith("data/features/")) {
        EXPECT_LE(imageOf(name).width, 700) << name;
        EXPECT_LE(imageOf(name).height, 200) << name;
        EXPECT_GT(opaqueShare(imageOf(name)), 0.3) << name;
    }
}

TEST(ShowImages, PolaroidsAndCreditsLieOnScreenAtTheirOwnPlaces) {
    std::vector<std::string> cards = namesStartingWith("data/refrain/polaroids/");
    std::vector<std::string> credits = namesStartingWith("data/credits/");
    cards.insert(cards.end(), credits.begin(), credits.end());
    ASSERT_EQ(cards.size(), 39u);
    std::vector<std::pair<int, int>> sizes;
    for (const std::string& name : cards) {
        const Image& image = imageOf(name);
        // Drawn at (0, 0) with a jitter of at most 6 and 4 design pixels.
        EXPECT_LE(image.width + 6, designWidth) << name;
        EXPECT_LE(image.height + 4, designHeight) << name;
        EXPECT_EQ(alphaAt(image, 0, 0), 0) << name;
        // Cropped: the last column and the last row hold part of the card.
        bool lastColumnUsed = false;
        bool lastRowUsed = false;
        for (int y = 0; y < image.height; ++y) lastColumnUsed = lastColumnUsed || alphaAt(image, image.width - 1, y) > 0;
        for (int x = 0; x < image.width; ++x) lastRowUsed = lastRowUsed || alphaAt(image, x, image.height - 1) > 0;
        EXPECT_TRUE(lastColumnUsed && lastRowUsed) << name << " has an uncropped margin";
        sizes.emplace_back(image.width, image.height);
    }
    for (size_t i = 1; i < sizes.size(); ++i) {
        EXPECT_NE(sizes[i], sizes[i - 1]) << cards[i] << " lies where the one before it does";
    }
}

TEST(ShowImages, TunnelTexturesArePowersOfTwoAndTile) {
    for (const std::string& name : namesStartingWith("data/tunnel/")) {
        const Image& image = imageOf(name);
        ASSERT_TRUE(image.width == 256 || image.width == 512) << name;
        ASSERT_EQ(image.width, image.height) << name;
        // Across the repeat seam (last column to first, last row to first) the picture changes
        // no more than it does between neighbouring columns and rows inside.
        auto difference = [&](int x0, int y0, int x1, int y1) {
            int d = 0;
            for (int c = 0; c < 4; ++c) {
                d += std::abs(int(image.pixels[(size_t(y0) * size_t(image.width) + size_t(x0)) * 4 + size_t(c)]) -
                              int(image.pixels[(size_t(y1) * size_t(image.width) + size_t(x1)) * 4 + size_t(c)]));
            }
            return d;
        };
        double inside = 0, seam = 0;
        int n = image.width;
        for (int i = 0; i < n; ++i) {
            seam += difference(n - 1, i, 0, i) + difference(i, n - 1, i, 0);
            for (int k = 0; k + 1 < n; ++k) inside += difference(k, i, k + 1, i) + difference(i, k, i, k + 1);
        }
        inside /= double(n - 1);
        EXPECT_LE(seam, 2.0 * inside + 4.0 * n) << name << " shows a seam when repeated";
    }
}

TEST(ShowImages, LogoFitsAtTheTop) {
    const Image& logo = imageOf("data/zemlogo.png");
    EXPECT_LE(logo.width, 900);
    EXPECT_LE(logo.height, 200);
    EXPECT_GT(opaqueShare(logo), 0.1);
}

TEST(ShowArt, TwoRunsGiveTheSameBytesAsTheBuild) {
    TempDir first;
    TempDir second;
    std::string command = shellQuote(builtProgram("demo-art")) + " --show " + shellQuote(showSources) +
                          " --only lyrics,tunnel,logo,pictograms --out ";
    ASSERT_EQ(runCommand(command + shellQuote(first.path), ".").status, 0);
    ASSERT_EQ(runCommand(command + shellQuote(second.path), ".").status, 0);
    int compared = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(first.path)) {
        if (!entry.is_regular_file()) continue;
        std::string relative = std::filesystem::relative(entry.path(), first.path).string();
        std::string bytes = readFile(entry.path().string());
        EXPECT_EQ(bytes, readFile(second.file(relative))) << relative << " differs between runs";
        EXPECT_EQ(bytes, readFile(showDir + "/" + relative)) << relative << " differs from the build's";
        ++compared;
    }
    EXPECT_EQ(compared, 2 + 50 + 3 + 1 + 20);
}

TEST(ShowArt, ALyricsFileWithALineTooManyIsRefusedByLine) {
    TempDir sources;
    TempDir out;
    std::string lyrics = readFile(showSources + "/lyrics.txt") + "good: one line too many\n";
    std::ofstream(sources.file("lyrics.txt")) << lyrics;
    std::filesystem::copy_file(showSources + "/art-texts.txt", sources.file("art-texts.txt"));
    int lastLine = int(std::count(lyrics.begin(), lyrics.end(), '\n'));
    ProgramResult result = runCommand(shellQuote(builtProgram("demo-art")) + " --only lyrics --show " +
                                          shellQuote(sources.path) + " --out " + shellQuote(out.path), ".");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("lyrics.txt:" + std::to_string(lastLine) + ":"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("32"), std::string::npos) << result.err;
}

TEST(ShowArt, MalformedOrMissingSourcesAreNamed) {
    TempDir sources;
    TempDir out;
    std::ofstream(sources.file("art-texts.txt")) << "# texts\nfeature: ONE | two\nthis line has no tag\n";
    std::string command = shellQuote(builtProgram("demo-art")) + " --show " + shellQuote(sources.path) +
                          " --out " + shellQuote(out.path) + " --only ";
    ProgramResult malformed = runCommand(command + "features", ".");
    EXPECT_EQ(malformed.status, 1);
    EXPECT_NE(malformed.err.find("art-texts.txt:3:"), std::string::npos) << malformed.err;
    ProgramResult missing = runCommand(command + "lyrics", ".");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("lyrics.txt"), std::string::npos) << missing.err;
}

namespace {

struct Mp3Facts {
    long rate = 0;
    int channels = 0;
    long frames = 0;  // with gapless decoding
};

Mp3Facts mp3Facts(const std::string& path) {
    Mp3Facts facts;
    mpg123_init();
    mpg123_handle* decoder = mpg123_new(nullptr, nullptr);
    if (!decoder) return facts;
    mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    int encoding = 0;
    if (mpg123_open(decoder, path.c_str()) == MPG123_OK &&
        mpg123_getformat(decoder, &facts.rate, &facts.channels, &encoding) == MPG123_OK && mpg123_scan(decoder) == MPG123_OK) {
        facts.frames = long(mpg123_length(decoder));
        mpg123_close(decoder);
    }
    mpg123_delete(decoder);
    return facts;
}

// The first `frames` frames of the song as the demo decodes them, left and right averaged.
std::vector<double> decodedStart(const std::string& path, size_t frames) {
    SongStream* stream = nullptr;
    std::vector<double> mono;
    if (openSongStream(path.c_str(), &stream) != 0) return mono;
    std::vector<int16_t> buffer(frames * 2);
    size_t got = 0;
    while (got < frames) {
        size_t n = readSongFrames(stream, buffer.data() + got * 2, frames - got);
        if (n == 0) break;
        got += n;
    }
    closeSongStream(stream);
    for (size_t i = 0; i < got; ++i) mono.push_back((buffer[2 * i] + buffer[2 * i + 1]) / 65536.0);
    return mono;
}

// The samples of a 16-bit stereo WAV as written by demo-song, averaged to mono.
std::vector<double> wavMono(const std::string& path) {
    std::string bytes = readFile(path);
    std::vector<double> mono;
    if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(36, 4, "data") != 0) return mono;
    const unsigned char* data = reinterpret_cast<const unsigned char*>(bytes.data()) + 44;
    size_t frames = (bytes.size() - 44) / 4;
    for (size_t i = 0; i < frames; ++i) {
        int16_t left = int16_t(data[4 * i] | (data[4 * i + 1] << 8));
        int16_t right = int16_t(data[4 * i + 2] | (data[4 * i + 3] << 8));
        mono.push_back((left + right) / 65536.0);
    }
    return mono;
}

// The shift of b against a (b[i + lag] ~ a[i]) with the best normalised correlation.
std::pair<int, double> bestLag(const std::vector<double>& a, const std::vector<double>& b, int maxLag, size_t length) {
    std::pair<int, double> best{0, -2.0};
    for (int lag = -maxLag; lag <= maxLag; ++lag) {
        double ab = 0, aa = 0, bb = 0;
        for (size_t i = size_t(maxLag); i < length; ++i) {
            double x = a[i];
            double y = b[size_t(long(i) + lag)];
            ab += x * y;
            aa += x * x;
            bb += y * y;
        }
        double correlation = aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
        if (correlation > best.second) best = {lag, correlation};
    }
    return best;
}

}  // namespace

TEST(ShowSong, IsStereoAt44100AndOutlastsTheShow) {
    Mp3Facts facts = mp3Facts(songPath);
    EXPECT_EQ(facts.rate, 44100);
    EXPECT_EQ(facts.channels, 2);
    // The demo ends at row 6651, 277.125 s.
    EXPECT_GE(facts.frames, long(std::ceil(277.125 * 44100)));
}

TEST(ShowSong, StartsOnItsFirstSampleWithoutEncoderDelay) {
    TempDir work;
    ProgramResult made = runCommand(shellQuote(builtProgram("demo-song")) + " --score " +
                                        shellQuote(showSources + "/score.txt") + " --seconds 3 --wav " +
                                        shellQuote(work.file("start.wav")), ".");
    ASSERT_EQ(made.status, 0) << made.err;
    std::vector<double> synthesized = wavMono(work.file("start.wav"));
    std::vector<double> decoded = decodedStart(songPath, 3 * 44100);
    ASSERT_GE(synthesized.size(), size_t(2 * 44100));
    ASSERT_GE(decoded.size(), size_t(2 * 44100));
    // The song opens with a kick on its very first frame: the decoded sound must be there at
    // once, not 1105 frames (an encoder's delay) later.
    double early = 0;
    for (size_t i = 0; i < 256; ++i) early = std::fmax(early, std::fabs(decoded[i]));
    EXPECT_GT(early, 0.05) << "the first decoded frames are silent";
    std::pair<int, double> match = bestLag(synthesized, decoded, 1500, size_t(2 * 44100));
    EXPECT_LE(std::abs(match.first), 1) << "the decoded song is shifted by " << match.first << " frames";
    EXPECT_GT(match.second, 0.9);
}

TEST(ShowSong, IsMasteredToMinus14LufsUnderMinus1Dbtp) {
    ProgramResult measured = runCommand("ffmpeg -nostats -hide_banner -i " + shellQuote(songPath) +
                                            " -af ebur128=peak=true -f null - 2>&1 | tail -n 12", ".");
    ASSERT_EQ(measured.status, 0) << "ffmpeg is needed to measure the song";
    std::string summary = measured.out;
    size_t integrated = summary.find("I:");
    size_t peak = summary.find("Peak:");
    ASSERT_NE(integrated, std::string::npos) << summary;
    ASSERT_NE(peak, std::string::npos) << summary;
    double loudness = std::atof(summary.c_str() + integrated + 2);
    double truePeak = std::atof(summary.c_str() + peak + 5);
    EXPECT_NEAR(loudness, -14.0, 1.0);
    EXPECT_LE(truePeak, -1.0);
}

TEST(ShowSong, TwoRunsGiveTheSameBytes) {
    TempDir work;
    std::string command = shellQuote(builtProgram("demo-song")) + " --score " + shellQuote(showSources + "/score.txt") +
                          " --seconds 6 --mp3 ";
    ASSERT_EQ(runCommand(command + shellQuote(work.file("a.mp3")), ".").status, 0);
    ASSERT_EQ(runCommand(command + shellQuote(work.file("b.mp3")), ".").status, 0);
    std::string a = readFile(work.file("a.mp3"));
    EXPECT_GT(a.size(), 10000u);
    EXPECT_EQ(a, readFile(work.file("b.mp3")));
}

TEST(ShowSong, SectionsFollowTheBarGridAndCoverTheShow) {
    ProgramResult listed = runCommand(shellQuote(builtProgram("demo-song")) + " --sections --score " +
                                          shellQuote(showSources + "/score.txt"), ".");
    ASSERT_EQ(listed.status, 0) << listed.err;
    std::istringstream lines(listed.out);
    std::string line;
    std::getline(lines, line);  // the heading
    int sections = 0;
    double lastRow = -1;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string name;
        double bar = 0, row = 0;
        fields >> name >> bar >> row;
        EXPECT_DOUBLE_EQ(row, bar * 48) << line;  // 120 beats a minute: 48 rows a bar
        EXPECT_GT(row, lastRow) << line;
        lastRow = row;
        if (name != "(end)") ++sections;
        if (sections == 1) {
            EXPECT_EQ(name, "intro");
        }
    }
    EXPECT_GE(sections, 7);  // intro, verses, three refrains, bridge, outro
    EXPECT_GT(lastRow, 6651.0) << "the song must run past the show's last row";
}

TEST(ShowSong, AScoreMistakeIsReportedWithItsLine) {
    TempDir work;
    std::string score = readFile(showSources + "/score.txt");
    size_t at = score.find("chords verse:");
    ASSERT_NE(at, std::string::npos);
    score.replace(at, 13, "chords verse: Am Hm");
    std::ofstream(work.file("score.txt")) << score;
    int line = int(std::count(score.begin(), score.begin() + long(at), '\n')) + 1;
    ProgramResult result = runCommand(shellQuote(builtProgram("demo-song")) + " --score " +
                                          shellQuote(work.file("score.txt")) + " --wav " + shellQuote(work.file("x.wav")), ".");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("score.txt:" + std::to_string(line) + ":"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("Hm"), std::string::npos) << result.err;
    ProgramResult missing = runCommand(shellQuote(builtProgram("demo-song")) + " --score " +
                                           shellQuote(work.file("none.txt")) + " --wav " + shellQuote(work.file("x.wav")), ".");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("none.txt"), std::string::npos) << missing.err;
}
