// demo-capture, run for real in a small show folder made by the test: deterministic frames, the
// same frame alone or in a sequence, pictures checked by pixels, and a video whose audio is the
// song from the first frame's sample.
#include "runtime/track_set.h"
#include "support/audio_fixtures.h"
#include "support/gl_fixtures.h"
#include "support/run_program.h"
#include "sync/sync.h"
#include "sync/track_file.h"

#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <algorithm>
#include <fstream>
#include <map>

namespace {

// A complete show folder: test cards, the shaders, a 3 s song with clicks, and the 20 tracks,
// each holding one value (a tunnel flight, a character, a pictogram, no fades) unless a test
// says otherwise.
struct CaptureFolder {
    TempDir dir;
    explicit CaptureFolder(const std::map<std::string, float>& overrides = {}) {
        EXPECT_EQ(runCommand(shellQuote(builtProgram("demo-cards")) + " .", dir.path).status, 0);
        std::string shaders = shellQuote(std::string(DEMO_SOURCE_DIR) + "/data/shaders");
        EXPECT_EQ(runCommand("cp -r " + shaders + " data/", dir.path).status, 0);
        EXPECT_TRUE(makeSong(dir.file("data/mirekand2013.mp3"), 44100, 2, 3.0, {0, 22050, 50000}));
        std::map<std::string, float> values = {{"tunnel:texture", 1},       {"tunnel:variation", 1},
                                               {"avatar:good", 3},          {"pictogram:pictogram", 2},
                                               {"pictogram:x", 640},        {"pictogram:y", 360},
                                               {"pictogram:scale", 1},      {"avatar:evil", -5},
                                               {"lyrics:evil", -5},         {"features", -5},
                                               {"refrain:background", 900}, {"refrain:sun", 900},
                                               {"refrain:foreground", 900}, {"refrain:polaroid_start", -5},
                                               {"refrain:polaroid_end", -5}};
        for (const auto& entry : overrides) values[entry.first] = entry.second;
        for (const char* name : trackNames) {
            std::vector<TrackKey> keys = {{0, values.count(name) ? values[name] : 0.0f, 1}};
            if (std::string(name) == "tunnel:move") keys = {{0, 0.0f, 1}, {240, 40.0f, 1}};
            EXPECT_EQ(writeTrackFile(dir.file(trackFileName("sync", name)).c_str(), keys.data(), int32_t(keys.size())),
                      0);
        }
    }
    ProgramResult capture(const std::string& arguments, const std::string& environment = "") const {
        return runCommand(environment + " " + shellQuote(builtProgram("demo-capture")) + " " + arguments, dir.path);
    }
};

std::string probe(const CaptureFolder& folder, const std::string& entries, const std::string& file) {
    return runCommand("ffprobe -v error -count_frames -show_entries " + entries + " -of default=nw=1 " + file,
                      folder.dir.path)
        .out;
}

}  // namespace

TEST(Capture, RendersTheSameFrameEveryTimeAloneOrInASequence) {
    CaptureFolder folder;
    // The tunnel's rings depend on the frame before, so a single frame is drawn after the frames
    // of the same frame rate before it.
    ASSERT_EQ(folder.capture("--row 30 --fps 24 --size 320x180 --out a.png").status, 0);
    ASSERT_EQ(folder.capture("--row 30 --fps 24 --size 320x180 --out b.png").status, 0);
    EXPECT_EQ(readBytes(folder.dir.file("a.png")), readBytes(folder.dir.file("b.png")));
    // At 24 frames a second frame n is row n, and the tunnel's phases are those of frames 0..29.
    ProgramResult sequence = folder.capture("--from 26 --to 32 --fps 24 --size 320x180 --out frames");
    ASSERT_EQ(sequence.status, 0) << sequence.err;
    Picture alone = loadPicture(folder.dir.file("a.png"));
    Picture inSequence = loadPicture(folder.dir.file("frames/frame_000030.png"));
    ASSERT_EQ(alone.width, 320);
    EXPECT_EQ(alone.rgb, inSequence.rgb);
    EXPECT_NE(alone.rgb, loadPicture(folder.dir.file("frames/frame_000029.png")).rgb) << "the show moves";
    EXPECT_EQ(readBytes(folder.dir.file("frames/frame_000032.png")).size(), 0u) << "--to is not included";
}

TEST(Capture, PicturesShowWhatTheTracksSay) {
    // The white background fills the 4:3 picture between black letterbox bars.
    CaptureFolder white({{"fade:bg_white", 1.0f}});
    ASSERT_EQ(white.capture("--row 10 --size 1024x768 --out letterbox.png").status, 0);
    Picture box = loadPicture(white.dir.file("letterbox.png"));
    ASSERT_EQ(box.height, 768);
    for (int x : {0, 512, 1023}) {
        EXPECT_EQ(box.red(x, 95), 0);
        EXPECT_EQ(box.red(x, 96), 255);
        EXPECT_EQ(box.red(x, 671), 255);
        EXPECT_EQ(box.red(x, 672), 0);
    }
}

TEST(Capture, MakesAVideoWithTheSongFromTheFirstFramesSample) {
    CaptureFolder folder;
    ASSERT_EQ(runCommand("mkdir tmp", folder.dir.path).status, 0);
    ProgramResult made = folder.capture("--from 12 --to 36 --fps 30 --size 320x180 --out show.mkv", "TMPDIR=tmp");
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out, "");
    EXPECT_EQ(runCommand("ls -A tmp", folder.dir.path).out, "") << "the song's temporary file is removed";
    // Rows 12 to 36 at 30 frames a second: one second, frames 15 to 44.
    EXPECT_NE(probe(folder, "stream=nb_read_frames,r_frame_rate", "-select_streams v show.mkv")
                  .find("r_frame_rate=30/1\nnb_read_frames=30"),
              std::string::npos);
    ASSERT_EQ(
        runCommand("ffmpeg -v error -i show.mkv -map 0:a -f s16le -ac 2 -ar 44100 audio.raw", folder.dir.path).status,
        0);
    std::vector<unsigned char> audio = readBytes(folder.dir.file("audio.raw"));
    std::vector<int16_t> song = decodeWholeSong(folder.dir.file("data/mirekand2013.mp3"));
    const size_t first = 22050 * 2;  // row 12 is half a second in
    ASSERT_GE(audio.size() / 2, size_t(44100 * 2 - 2048)) << "about as long as the video";
    size_t mismatches = 0;
    // The video's second of sound (the container may round the stream up with silence after it).
    for (size_t i = 0; i < audio.size() / 2 && i < 44100 * 2 && first + i < song.size(); ++i) {
        int16_t sample = int16_t(audio[2 * i] | audio[2 * i + 1] << 8);
        mismatches += sample != song[first + i];
    }
    EXPECT_EQ(mismatches, 0u) << "the audio is the song from row 12's sample on, sample for sample";
}

TEST(Capture, AnInterruptLeavesAPlayableVideoOfWhatWasRendered) {
    CaptureFolder folder;
    // Interrupted once frames are coming out of a capture of the whole show, as Ctrl-C at a
    // terminal would.
    ASSERT_EQ(runCommand("mkdir tmp", folder.dir.path).status, 0);
    ProgramResult stopped = folder.capture(
        "--size 320x180 --fps 30 --out part.mp4 & pid=$!; "
        "for i in $(seq 600); do [ -s .part.partial.mp4 ] && break; sleep 0.1; done; sleep 0.5; "
        "kill -INT $pid; wait $pid",
        "TMPDIR=tmp");
    EXPECT_EQ(stopped.status, 130) << stopped.err;
    EXPECT_EQ(runCommand("ls -A tmp", folder.dir.path).out, "") << "the song's temporary file is removed";
    EXPECT_NE(stopped.err.find("interrupted"), std::string::npos) << stopped.err;
    std::string frames = probe(folder, "stream=nb_read_frames", "-select_streams v part.mp4");
    ASSERT_EQ(frames.rfind("nb_read_frames=", 0), 0u) << frames;
    EXPECT_GT(std::stoi(frames.substr(15)), 0) << "a playable video with the frames rendered";
    EXPECT_EQ(runCommand("ls -A | grep partial", folder.dir.path).out, "") << "moved to its name";
}

// A full disk, made by a limit on the size of any file the capture writes (SIGXFSZ ignored, so a
// write past it fails as on a full disk): the video, a single frame and the frames of a sequence.
// The build's show gives pictures that take room, unlike test cards.
TEST(Capture, AFullDiskLeavesNoPartialFileAndSaysSo) {
    TempDir work;
    const std::string show = std::string(DEMO_BIN_DIR) + "/../show";
    auto capture = [&](const std::string& arguments, size_t room) {
        std::string limit = room ? "trap '' XFSZ; prlimit --fsize=" + std::to_string(room) + " " : "";
        return runCommand(limit + "env TMPDIR=" + shellQuote(work.path) + " " +
                              shellQuote(builtProgram("demo-capture")) + " " + arguments,
                          show);
    };
    const std::string video = "--from 2000 --to 2012 --fps 24 --size 1280x720 --out ";
    ProgramResult whole = capture(video + shellQuote(work.file("whole.mkv")), 0);
    ASSERT_EQ(whole.status, 0) << whole.err;
    size_t wholeBytes = readBytes(work.file("whole.mkv")).size();
    const size_t songBytes = 44 + 4 * 22050;  // the song's half second, written first
    ASSERT_GT(wholeBytes, songBytes + 16384) << "the video outgrows the song's file";
    writeBytes(work.file("show.mkv"), {'o', 'l', 'd'});
    // Room for all of the video but its last byte (its end, written last), and for part of it.
    for (size_t room : {wholeBytes - 1, (songBytes + wholeBytes) / 2}) {
        ProgramResult full = capture(video + shellQuote(work.file("show.mkv")), room);
        EXPECT_EQ(full.status, 1) << room << " bytes: " << full.err;
        EXPECT_NE(full.err.find("nothing was written to " + work.file("show.mkv")), std::string::npos) << full.err;
        EXPECT_EQ(readBytes(work.file("show.mkv")), std::vector<unsigned char>({'o', 'l', 'd'}))
            << "the file already there is left as it was";
        EXPECT_EQ(runCommand("ls -A | grep -v -x -e whole.mkv -e show.mkv", work.path).out, "")
            << "no partial file, no song file is left behind";
    }
    ProgramResult frame = capture("--row 2000 --size 320x180 --out " + shellQuote(work.file("one.png")), 1024);
    EXPECT_EQ(frame.status, 1) << frame.err;
    EXPECT_EQ(runCommand("ls -A | grep png", work.path).out, "") << "no partial picture";
    ProgramResult frames =
        capture("--from 2000 --to 2006 --fps 24 --size 320x180 --out " + shellQuote(work.file("frames")), 1024);
    EXPECT_EQ(frames.status, 1) << frames.err;
    EXPECT_NE(frames.err.find("frames holds only the frames written before the failure"), std::string::npos)
        << frames.err;
}

TEST(Capture, AContactSheetHoldsTheFramesOfItsRowsWithLabels) {
    CaptureFolder folder;
    writeBytes(folder.dir.file("show.tracks"), {'t', 'e', 'm', 'p', 'o', ' ', '1', '2', '0', '\n'});
    ProgramResult sheet = folder.capture(
        "--sheet --from 24 --to 96 --every 1s --columns 2 --size 64x36 --fps 24 "
        "--source show.tracks --out sheet.png");
    ASSERT_EQ(sheet.status, 0) << sheet.err;
    ASSERT_EQ(folder.capture("--row 48 --fps 24 --size 64x36 --out row48.png").status, 0);
    Picture whole = loadPicture(folder.dir.file("sheet.png"));
    Picture row48 = loadPicture(folder.dir.file("row48.png"));
    // Rows 24, 48 and 72 in two columns: two rows of thumbnails, each with its label strip.
    ASSERT_EQ(whole.width, 128);
    ASSERT_EQ(whole.height, 2 * (36 + 16));
    ASSERT_EQ(row48.rgb.size(), size_t(64 * 36 * 3));
    // The second thumbnail is the frame at row 48, pixel for pixel.
    for (size_t y = 0; y < 36; ++y) {
        auto thumbnailRow = whole.rgb.begin() + long((y * 128 + 64) * 3);
        EXPECT_TRUE(std::equal(thumbnailRow, thumbnailRow + 64 * 3, row48.rgb.begin() + long(y * 64 * 3)))
            << "row " << y;
    }
    int labelPixels = 0;
    for (int y = 36; y < 52; ++y) labelPixels += whole.red(70, y) > 200 || whole.red(80, y) > 200;
    EXPECT_GT(labelPixels, 0) << "a label is written under the thumbnail";
    EXPECT_EQ(folder.capture("--sheet --row 5").status, 2);
    EXPECT_EQ(folder.capture("--sheet --every 0").status, 2);
    ProgramResult tooLarge = folder.capture("--sheet --every 1 --size 2000x2000 --out big.png");
    EXPECT_EQ(tooLarge.status, 1) << "a sheet past the size bound is refused, not allocated";
}

// --row, --from and --to take BAR:BEAT as the choreography writes it, counted from 1 at the
// tempo of the --source file (which may come after them); bad positions are named.
TEST(Capture, TakesBarBeatTimesOnTheSourcesGrid) {
    CaptureFolder folder;
    std::ofstream(folder.dir.file("show.tracks")) << "tempo 90\nbeats-per-bar 3\ntrack features\n1:1 -5\n";
    // At 90 beats a minute a beat is 16 rows: bar 1, beat 2.5 is row 24; bar 2, beat 1 row 48.
    ASSERT_EQ(folder.capture("--row 24 --fps 24 --size 64x36 --out rows.png").status, 0);
    ProgramResult bar = folder.capture("--row 1:2.5 --fps 24 --size 64x36 --out bar.png --source show.tracks");
    ASSERT_EQ(bar.status, 0) << bar.err;
    EXPECT_EQ(readBytes(folder.dir.file("rows.png")), readBytes(folder.dir.file("bar.png")));
    ProgramResult range = folder.capture("--source show.tracks --from 1:3 --to 2:1 --fps 24 --size 16x16 --out f");
    ASSERT_EQ(range.status, 0) << range.err;
    EXPECT_EQ(runCommand("ls f | wc -l", folder.dir.path).out, "16\n") << "rows 32 to 47";
    const struct {
        const char* arguments;
        const char* message;
    } refused[] = {
        {"--row 0:1", "bad value for --row: '0:1': bars count from 1"},
        {"--row 1:4", "bad value for --row: '1:4': a bar has beats 1 to 3"},
        {"--to 200:1", "bad value for --to: '200:1' is row 9552.00, past the show's end at row 6651"},
        {"--from 2:x", "bad value for --from: '2:x' is not BAR:BEAT"},
        {"--row :", "bad value for --row: ':' is not BAR:BEAT"},
    };
    for (const auto& c : refused) {
        ProgramResult run = folder.capture(std::string(c.arguments) + " --source show.tracks --out x.png");
        EXPECT_EQ(run.status, 2) << c.arguments;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << ": " << run.err;
    }
    ProgramResult noSource = folder.capture("--row 2:1 --out x.png");
    EXPECT_EQ(noSource.status, 2);
    EXPECT_NE(noSource.err.find("name the choreography source with --source FILE"), std::string::npos) << noSource.err;
    ProgramResult absent = folder.capture("--row 2:1 --source absent.tracks --out x.png");
    EXPECT_EQ(absent.status, 2);
    EXPECT_NE(absent.err.find("cannot read absent.tracks"), std::string::npos) << absent.err;
}

TEST(Capture, TakesFrameRatesExactlyAndOutputNamesAsLocalFiles) {
    CaptureFolder folder;
    // 29.97 frames a second is 2997/100: rows 0 to 24 hold 30 frames (29 would give 29).
    ASSERT_EQ(folder.capture("--from 0 --to 24 --fps 29.97 --size 16x16 --out 100%").status, 0);
    EXPECT_EQ(runCommand("ls 100% | wc -l", folder.dir.path).out, "30\n") << "a % in a folder name is no pattern";
    ProgramResult dash = folder.capture("--row 5 --size 16x16 --out -frame.png");
    EXPECT_EQ(dash.status, 0) << dash.err;
    ProgramResult pipe = folder.capture("--row 5 --size 16x16 --out pipe:1.png");
    EXPECT_EQ(pipe.status, 0) << pipe.err;
    EXPECT_EQ(pipe.out, "") << "nothing goes to standard output";
    EXPECT_EQ(runCommand("ls -- -frame.png pipe:1.png", folder.dir.path).status, 0) << "both are plain files";
}

TEST(Capture, RefusesBadArgumentsAndIncompleteFolders) {
    CaptureFolder folder;
    for (const char* arguments :
         {"--size 0x0", "--size 4294967312x16", "--fps 0", "--fps 60abc", "--fps 60/", "--from 20 --to 10",
          "--nonsense 1", "--out", "--row -3", "--to 1e20", "--to inf", "--columns 2x"}) {
        ProgramResult result = folder.capture(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_NE(result.err.find("demo-capture: "), std::string::npos) << arguments;
    }
    EXPECT_EQ(folder.capture("--help").status, 0);
    EXPECT_EQ(folder.capture("--from 0 --to 24 --size 320x180 --out v.mp4", "TMPDIR=/nonexistent").status, 1)
        << "no video is claimed when its song cannot be written";
    ASSERT_EQ(std::remove(folder.dir.file("sync_features.track").c_str()), 0);
    ProgramResult incomplete = folder.capture("--row 5 --out x.png");
    EXPECT_EQ(incomplete.status, 1);
    EXPECT_EQ(incomplete.err, "demo-capture: the show folder is incomplete: sync_features.track is missing\n");
}

// An image that is missing and one that cannot be decoded are holes alike: the capture renders
// around them (here at a row where neither is shown), names each, and says so in its summary.
TEST(Capture, RendersAroundMissingAndUndecodableImagesAndNamesThemAlike) {
    CaptureFolder folder;
    ASSERT_EQ(std::remove(folder.dir.file("data/features/7.png").c_str()), 0);
    ASSERT_EQ(runCommand("truncate -s 100 data/avatars/basic.png", folder.dir.path).status, 0);
    ProgramResult result = folder.capture("--row 5 --size 64x36 --out x.png");
    EXPECT_EQ(result.status, 1) << "the show is incomplete: " << result.err;
    EXPECT_FALSE(loadPicture(folder.dir.file("x.png")).rgb.empty()) << "the frame is written all the same";
    EXPECT_NE(result.err.find("demo-capture: data/features/7.png: missing; the show draws a hole where it stands\n"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("demo-capture: data/avatars/basic.png: not a PNG, or truncated; the show draws a hole "
                              "where it stands\n"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("demo-capture: 1 frame of 64x36 in "), std::string::npos) << result.err;
    EXPECT_NE(result.err.find(" s, written to x.png; 2 warnings: 2 images cannot be loaded (1 missing, 1 not a PNG, "
                              "or truncated)"),
              std::string::npos)
        << result.err;

    CaptureFolder whole;
    ProgramResult clean = whole.capture("--row 5 --size 64x36 --out y.png");
    EXPECT_EQ(clean.status, 0) << clean.err;
    EXPECT_NE(clean.err.find("written to y.png; no warnings\n"), std::string::npos) << clean.err;
}

// Drawing only what can change a pixel (transparent parts of sprites left out, layers at opacity 0
// and layers under an opaque one skipped) gives the very picture that drawing every quad whole
// gives: frames across the whole show, at two sizes, byte for byte.
TEST(Capture, DrawingOnlyWhatChangesAPixelKeepsThePicture) {
    TempDir work;
    const std::string show = std::string(DEMO_BIN_DIR) + "/../show";
    for (const char* size : {"1280x720", "1920x1080"}) {
        std::string capture = shellQuote(builtProgram("demo-capture")) + " --size " + size + " --fps 1/12 --out ";
        ASSERT_EQ(runCommand(capture + shellQuote(work.file("drawn")), show).status, 0);
        ASSERT_EQ(runCommand(capture + shellQuote(work.file("whole")) + " --full-quads", show).status, 0);
        for (int frame = 0; frame < 24; ++frame) {
            char name[32];
            snprintf(name, sizeof name, "/frame_%06d.png", frame);
            Picture drawn = loadPicture(work.file("drawn") + name), whole = loadPicture(work.file("whole") + name);
            ASSERT_FALSE(drawn.rgb.empty()) << size << name;
            EXPECT_EQ(largestDifference(drawn, whole), 0) << size << name;
        }
    }
}
