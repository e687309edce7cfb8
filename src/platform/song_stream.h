// Decoding of the song file as it plays: MP3 through libmpg123, always delivered at the show's
// output rate as 16-bit stereo (base/show_facts.h) whatever the file's own rate and channel
// count, gapless, so that the first frame delivered is the first sample of the source, and
// seekable to any frame.
#pragma once

#include "base/show_facts.h"  // songOutputRate, songOutputChannels, songBytesPerFrame

#include <cstddef>
#include <cstdint>

struct SongStream;

// Opens the file and reads just enough of it to know its format. Returns FMOD_OK (0) and the
// stream, or the layer's code: FMOD_ERR_FILE_NOTFOUND, FMOD_ERR_FILE_BAD (unreadable),
// FMOD_ERR_FORMAT (not decodable), FMOD_ERR_MEMORY.
int openSongStream(const char* path, SongStream** stream);

// Decodes up to frameCount frames into out (2 samples each). Returns the frames delivered;
// 0 once the song has ended or can be decoded no further.
size_t readSongFrames(SongStream* stream, int16_t* out, size_t frameCount);

// Moves the stream so that the next frame delivered is the given frame of the song, exactly as
// decoding from the start delivers it (bit for bit at the output rate; a resampled song may differ
// by one step of the last bit in a few samples). A frame past the end leaves nothing more to
// deliver. Returns 0, or -1 when the file cannot be sought.
int seekSongStream(SongStream* stream, int64_t frame);

void closeSongStream(SongStream* stream);

// How far into the file the decoder has read, in bytes.
long songStreamInputOffset(const SongStream* stream);

// The file's own format, as its first frame states it, read by a decoder that does not convert:
// FMOD_OK (0) with the sample rate and channel count, or the layer's code as openSongStream
// gives it. Reads only the start of the file.
int readSongFileFormat(const char* path, long* rate, int* channels);
