// MP3 decoding for the sound layer, built on libmpg123.
#include "platform/song_stream.h"

#include "base/regular_file.h"

#include "platform/sound.h"

#include <mpg123.h>

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

struct SongStream {
    mpg123_handle* decoder = nullptr;
    int fd = -1;
    bool ended = false;
    bool resampled = false;  // the file's own rate is not the output rate
};

namespace {

void initialiseDecoderLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

// A decoder that resamples and upmixes to the one output format, quietly, gapless (the
// library's default, set again so that the behaviour does not depend on it).
mpg123_handle* newDecoder() {
    mpg123_handle* decoder = mpg123_new(nullptr, nullptr);
    if (!decoder) return nullptr;
    mpg123_param(decoder, MPG123_FORCE_RATE, songOutputRate, 0.0);
    mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_FORCE_STEREO | MPG123_QUIET | MPG123_GAPLESS, 0.0);
    mpg123_format_none(decoder);
    if (mpg123_format(decoder, songOutputRate, MPG123_STEREO, MPG123_ENC_SIGNED_16) != MPG123_OK) {
        mpg123_delete(decoder);
        return nullptr;
    }
    return decoder;
}

// A FIFO or a device in the song's place is refused without blocking or reading from it.
int openFileDescriptor(const char* path, int* fd) {
    int64_t size = 0;
    *fd = openRegularFile(path, &size);
    if (*fd < 0) return errno == ENOENT || errno == ENOTDIR ? FMOD_ERR_FILE_NOTFOUND : FMOD_ERR_FILE_BAD;
    return FMOD_OK;
}

// Reads the first frame's header, which tells whether this is MP3 we can decode.
int readFormat(SongStream* stream) {
    long rate = 0;
    int channels = 0, encoding = 0;
    int status = mpg123_getformat(stream->decoder, &rate, &channels, &encoding);
    if (status == MPG123_OK) {
        bool expected = rate == songOutputRate && channels == songOutputChannels && encoding == MPG123_ENC_SIGNED_16;
        // The decoder also plays MPEG Layer I and II; the song is MP3, Layer III.
        mpg123_frameinfo frame = {};
        bool layer3 = mpg123_info(stream->decoder, &frame) == MPG123_OK && frame.layer == 3;
        stream->resampled = frame.rate != songOutputRate;
        return expected && layer3 ? FMOD_OK : FMOD_ERR_FORMAT;
    }
    if (status == MPG123_ERR && mpg123_errcode(stream->decoder) == MPG123_ERR_READER) {
        return FMOD_ERR_FILE_BAD;
    }
    return FMOD_ERR_FORMAT;
}

}  // namespace

int openSongStream(const char* path, SongStream** result) {
    *result = nullptr;
    initialiseDecoderLibrary();
    SongStream* stream = new (std::nothrow) SongStream;
    if (!stream) return FMOD_ERR_MEMORY;
    int status = openFileDescriptor(path, &stream->fd);
    if (status == FMOD_OK) {
        stream->decoder = newDecoder();
        if (!stream->decoder) status = FMOD_ERR_MEMORY;
    }
    if (status == FMOD_OK && mpg123_open_fd(stream->decoder, stream->fd) != MPG123_OK) {
        status = FMOD_ERR_FILE_BAD;
    }
    if (status == FMOD_OK) status = readFormat(stream);
    if (status != FMOD_OK) {
        closeSongStream(stream);
        return status;
    }
    *result = stream;
    return FMOD_OK;
}

size_t readSongFrames(SongStream* stream, int16_t* out, size_t frameCount) {
    size_t delivered = 0;
    unsigned char* bytes = reinterpret_cast<unsigned char*>(out);
    while (!stream->ended && delivered < frameCount) {
        size_t done = 0;
        size_t wanted = (frameCount - delivered) * songBytesPerFrame;
        int status = mpg123_read(stream->decoder, bytes + delivered * songBytesPerFrame, wanted, &done);
        delivered += done / songBytesPerFrame;
        if (status == MPG123_NEW_FORMAT || status == MPG123_OK) {
            if (done == 0 && status == MPG123_OK) stream->ended = true;
            continue;
        }
        // MPG123_DONE at the end; anything else is damage we cannot decode past.
        stream->ended = true;
    }
    return delivered;
}

namespace {

// Opens the file again on the same decoder, which starts the decoder afresh.
bool reopenDecoder(SongStream* stream) {
    mpg123_close(stream->decoder);
    return lseek(stream->fd, 0, SEEK_SET) == 0 && mpg123_open_fd(stream->decoder, stream->fd) == MPG123_OK;
}

}  // namespace

// mpg123 seeks to the exact sample, but its synthesis filter keeps the phase it had before the
// seek, and where that phase differs from straight-through decoding, mono songs come out one step
// of the last bit off in a few samples. Measured: from a fresh decoder, a seek into an even MPEG
// frame decodes exactly; for an odd one, decoding 32 frames from the start first shifts the phase
// by the one step needed. Stereo songs decode exactly either way.
int seekSongStream(SongStream* stream, int64_t frame) {
    if (!reopenDecoder(stream) || mpg123_seek(stream->decoder, off_t(frame), SEEK_SET) < 0) return -1;
    if (!stream->resampled && mpg123_tellframe(stream->decoder) % 2 != 0) {
        int16_t primer[32 * songOutputChannels];
        stream->ended = false;
        if (!reopenDecoder(stream)) return -1;
        readSongFrames(stream, primer, 32);
        if (mpg123_seek(stream->decoder, off_t(frame), SEEK_SET) < 0) return -1;
    }
    stream->ended = false;
    return 0;
}

void closeSongStream(SongStream* stream) {
    if (!stream) return;
    if (stream->decoder) {
        mpg123_close(stream->decoder);
        mpg123_delete(stream->decoder);
    }
    if (stream->fd >= 0) close(stream->fd);
    delete stream;
}

long songStreamInputOffset(const SongStream* stream) { return long(mpg123_tell_stream(stream->decoder)); }

int readSongFileFormat(const char* path, long* rate, int* channels) {
    *rate = 0;
    *channels = 0;
    initialiseDecoderLibrary();
    int fd = -1;
    int status = openFileDescriptor(path, &fd);
    if (status != FMOD_OK) return status;
    mpg123_handle* decoder = mpg123_new(nullptr, nullptr);
    if (!decoder) status = FMOD_ERR_MEMORY;
    if (status == FMOD_OK) {
        mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
        if (mpg123_open_fd(decoder, fd) != MPG123_OK) status = FMOD_ERR_FILE_BAD;
    }
    int encoding = 0;
    int found = status == FMOD_OK ? mpg123_getformat(decoder, rate, channels, &encoding) : MPG123_OK;
    if (found != MPG123_OK) {
        bool unreadable = found == MPG123_ERR && mpg123_errcode(decoder) == MPG123_ERR_READER;
        status = unreadable ? FMOD_ERR_FILE_BAD : FMOD_ERR_FORMAT;
    }
    if (decoder) {
        mpg123_close(decoder);
        mpg123_delete(decoder);
    }
    close(fd);
    return status;
}
