// The song stream in a browser: the file is read whole from the page's file system and handed to
// the browser, which decodes it in the background (decodeAudioData). Built only for the browser,
// in the place of song_stream.cpp.
//
// Opening answers as on the desktop for a missing or unreadable file and for one that does not
// start like an MP3 (an ID3 tag or a frame's sync word); a file that starts like one but that the
// browser cannot decode plays silently (web_audio.js). The frames themselves are never handed to
// the program: the browser plays them.
#include "platform/song_stream.h"

#include "base/regular_file.h"
#include "platform/sound.h"
#include "platform/web/web_sound.h"

#include <cerrno>
#include <string>

struct SongStream {
    int song = 0;  // the page's id of the decoded song
};

namespace {

// The largest song file taken in: ten times the show's song.
constexpr int64_t maxSongBytes = int64_t(64) << 20;

bool startsLikeMp3(const std::string& bytes) {
    if (bytes.size() < 4) return false;
    if (bytes.compare(0, 3, "ID3") == 0) return true;
    unsigned char first = static_cast<unsigned char>(bytes[0]), second = static_cast<unsigned char>(bytes[1]);
    return first == 0xff && (second & 0xe0) == 0xe0;
}

}  // namespace

int openSongStream(const char* path, SongStream** stream) {
    std::string bytes;
    if (readRegularFile(path, maxSongBytes, &bytes) != 0) {
        return errno == ENOENT ? FMOD_ERR_FILE_NOTFOUND : FMOD_ERR_FILE_BAD;
    }
    if (!startsLikeMp3(bytes)) return FMOD_ERR_FORMAT;
    SongStream* opened = new SongStream;
    opened->song = webSoundDecode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    *stream = opened;
    return FMOD_OK;
}

size_t readSongFrames(SongStream*, int16_t*, size_t) { return 0; }

int seekSongStream(SongStream*, int64_t) { return 0; }

void closeSongStream(SongStream* stream) {
    if (!stream) return;
    webSoundForget(stream->song);
    delete stream;
}

long songStreamInputOffset(const SongStream*) { return 0; }

int readSongFileFormat(const char*, long* rate, int* channels) {
    *rate = songOutputRate;
    *channels = songOutputChannels;
    return FMOD_OK;
}

int songOfStream(const SongStream* stream) { return stream ? stream->song : 0; }
