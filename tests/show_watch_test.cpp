// Taking in a show's changed files while it runs, for real in a scratch folder with an offscreen
// GL context: a source compiled into the tracks (or refused by line, changing nothing), a track
// file read again, an image decoded again, the shader rebuilt; anything broken keeps the last
// good version and stays a problem until mended.
#include "base/show_facts.h"
#include "preview/show_watch.h"
#include "runtime/track_set.h"
#include "support/gl_fixtures.h"
#include "support/sync_files.h"
#include "sync/sync.h"

#include <GL/glew.h>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>

namespace {

const char* const goodVertex = "void main() { gl_Position = ftransform(); }\n";
const char* const goodFragment = "void main() { gl_FragColor = vec4(1.0); }\n";

// Moves the file's modification time on, as a save a moment later does.
void touchLater(const std::string& path, int seconds) {
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    timespec times[2] = {info.st_atim, info.st_mtim};
    times[1].tv_sec += seconds;
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

void save(const std::string& path, const std::string& text, int later) {
    writeFileBytes(path, text);
    touchLater(path, later);
}

bool hasProblemStarting(const ShowWatch& watch, const std::string& start) {
    for (const std::string& problem : watchProblems(watch)) {
        if (problem.rfind(start, 0) == 0) return true;
    }
    return false;
}

}  // namespace

TEST(ShowWatch, TakesInSavedFilesAndKeepsTheLastGoodOfBrokenOnes) {
    ScratchDirectory scratch;
    OffscreenView view;
    ASSERT_TRUE(view.open(64, 36));
    mkdir("data", 0755);
    mkdir("data/shaders", 0755);
    writeFileBytes(vertexShaderFileName, goodVertex);
    writeFileBytes(fragmentShaderFileName, goodFragment);
    ASSERT_TRUE(writePng("data/zemlogo.png", 4, 2, 4, solidImage(4, 2, 4, Rgba{255, 0, 0, 255})));
    writeFileBytes("sync_features.track", trackFileBytes({{0, 3.0f, 0}}));
    writeFileBytes("show.tracks", "track fade:bg_white\n0 0.5\n");
    SyncDevice* device = createSyncDevice();
    TrackSet tracks = requestTrackSet(device);
    AssetCatalogue catalogue = loadAssetCatalogue(&view.store);
    ShaderProgram shader = ShaderProgram::build(vertexShaderFileName, fragmentShaderFileName);
    ASSERT_TRUE(shader.linked);
    ShowWatch watch = watchShow("show.tracks", device, &catalogue);
    auto look = [&] { return takeInChanges(&watch, device, &view.store, &shader); };
    EXPECT_FALSE(look().anyChange) << "nothing has changed yet";

    // A saved source puts its keys in force; tracks it does not name keep theirs.
    save("show.tracks", "track fade:bg_white\n0 0.25\ntrack tunnel:move\n0 7\n", 1);
    EXPECT_TRUE(look().tracksReloaded);
    EXPECT_EQ(evaluateTrack(tracks.fadeBgWhite, 10), 0.25f);
    EXPECT_EQ(evaluateTrack(tracks.tunnelMove, 10), 7.0f);
    EXPECT_EQ(evaluateTrack(tracks.features, 10), 3.0f);
    // A source with an error changes nothing and is named by line until mended.
    save("show.tracks", "track fade:bg_white\n0 0.75\nnot a key\n", 2);
    WatchOutcome broken = look();
    EXPECT_TRUE(broken.anyChange && !broken.tracksReloaded);
    EXPECT_EQ(evaluateTrack(tracks.fadeBgWhite, 10), 0.25f);
    EXPECT_TRUE(hasProblemStarting(watch, "show.tracks:3: ")) << watchProblems(watch).size();
    save("show.tracks", "track fade:bg_white\n0 0.75\n", 3);
    EXPECT_TRUE(look().tracksReloaded);
    EXPECT_EQ(evaluateTrack(tracks.fadeBgWhite, 10), 0.75f);
    EXPECT_TRUE(watchProblems(watch).empty());

    // A track file read whole replaces the keys; a damaged one keeps them.
    save("sync_features.track", trackFileBytes({{0, 5.0f, 0}}), 1);
    EXPECT_TRUE(look().tracksReloaded);
    EXPECT_EQ(evaluateTrack(tracks.features, 10), 5.0f);
    save("sync_features.track", trackFileBytes({{0, 6.0f, 0}}).substr(0, 9), 2);
    EXPECT_FALSE(look().tracksReloaded);
    EXPECT_EQ(evaluateTrack(tracks.features, 10), 5.0f);
    EXPECT_TRUE(hasProblemStarting(watch, "sync_features.track: "));

    // An image decoded again takes its slot's place; a broken one keeps the old texture.
    const Texture before = view.store.get(catalogue.logo);
    ASSERT_TRUE(writePng("data/zemlogo.png", 8, 6, 4, solidImage(8, 6, 4, Rgba{0, 255, 0, 255})));
    touchLater("data/zemlogo.png", 1);
    EXPECT_TRUE(look().picturesReloaded);
    EXPECT_EQ(view.store.get(catalogue.logo).width, 8.0f);
    EXPECT_NE(view.store.get(catalogue.logo).glName, before.glName);
    save("data/zemlogo.png", "not a png", 2);
    EXPECT_FALSE(look().picturesReloaded);
    EXPECT_EQ(view.store.get(catalogue.logo).width, 8.0f);
    EXPECT_TRUE(glIsTexture(view.store.get(catalogue.logo).glName));
    EXPECT_TRUE(hasProblemStarting(watch, "data/zemlogo.png: not a PNG file"));

    // A shader that does not build keeps the last good program and shows its log.
    const uint32_t good = shader.program;
    save(fragmentShaderFileName, "void main() { gl_FragColor = ; }\n", 1);
    EXPECT_FALSE(look().picturesReloaded);
    EXPECT_EQ(shader.program, good);
    EXPECT_TRUE(shader.linked);
    EXPECT_TRUE(hasProblemStarting(watch, "FragmentShader Info Log: "));
    save(fragmentShaderFileName, goodFragment, 2);
    EXPECT_TRUE(look().picturesReloaded);
    EXPECT_NE(shader.program, good);
    EXPECT_TRUE(shader.linked);
    destroySyncDevice(device);
}

// The preview compiles the source as the build does: a name the show lacks refuses the source,
// naming the nearest track, and changes nothing; a song the source does not fit is refused too.
TEST(ShowWatch, CompilesTheSourceAsTheBuildDoes) {
    ScratchDirectory scratch;
    SyncDevice* device = createSyncDevice();
    TrackSet tracks = requestTrackSet(device);
    std::vector<std::string> errors;
    writeFileBytes("show.tracks", "track refrain:sun\n0 2\n");
    EXPECT_TRUE(compileSourceIntoTracks("show.tracks", device, &errors));
    EXPECT_EQ(evaluateTrack(tracks.refrainSun, 10), 2.0f);
    writeFileBytes("show.tracks", "track refrain:son\n0 3\n");
    EXPECT_FALSE(compileSourceIntoTracks("show.tracks", device, &errors));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("show.tracks:1: the show has no track 'refrain:son'; did you mean 'refrain:sun'?", 0), 0u)
        << errors[0];
    EXPECT_EQ(evaluateTrack(tracks.refrainSun, 10), 2.0f);
    writeFileBytes("song.events", "tempo 126\nend 7000\n0 12 beat\n");
    writeFileBytes("show.tracks", "tempo 120\nevents song.events\ntrack refrain:sun\n0 4\n");
    EXPECT_FALSE(compileSourceIntoTracks("show.tracks", device, &errors));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("plays at 126 beats a minute, but this source counts 120"), std::string::npos);
    EXPECT_EQ(evaluateTrack(tracks.refrainSun, 10), 2.0f);
    destroySyncDevice(device);
}
