// Audio output of the sound layer: an OpenAL device when one can be opened, otherwise a silent
// output that keeps real time. A ChannelPlayback plays one song stream on the output, decoding
// ahead on a thread of its own, reports the frame being heard, and can be moved to any frame and
// paused. The calls on one playback must not run concurrently (the layer's lock serialises them).
#pragma once

#include "platform/playback_clock.h"

#include <cstdint>

struct SongStream;
struct SoundOutput;
struct ChannelPlayback;

// Opens the default output device, or the silent output when there is none. Null only when
// memory runs out.
SoundOutput* openSoundOutput();
bool soundOutputIsSilent(const SoundOutput* output);
void closeSoundOutput(SoundOutput* output);

// Starts playing the stream from its current frame, or holds it paused at frame 0; the stream
// stays owned by the caller and must outlive the playback. Null when the output cannot play (no
// memory, no source).
ChannelPlayback* startPlayback(SoundOutput* output, SongStream* stream, bool paused);

// The frame being heard now: 0 at the start, moving smoothly at real time, never backwards
// between seeks, and still moving once the song has ended. While paused, the held frame.
double playbackFrames(ChannelPlayback* playback);

// Moves playback to the frame: the next sample heard is that frame of the song (nothing, past its
// end), and the position is exactly that frame until the device reports it heard (the silent
// output and a song past its end report nothing: there the position is that frame at the next
// read and runs on from it). While paused, moves the held frame. False when the stream could not
// be sought (then nothing more is heard).
bool seekPlayback(ChannelPlayback* playback, int64_t frame);

// Pausing stops the sound and holds the position at the first frame the device was not given
// (what it was given still comes out, so the position moves on to that frame at once); resuming
// plays on from that frame, with nothing lost or repeated. Pausing a paused playback, or resuming
// a playing one, does nothing. Resuming is false when the stream could not be sought.
void pausePlayback(ChannelPlayback* playback);
bool resumePlayback(ChannelPlayback* playback);
bool playbackPaused(const ChannelPlayback* playback);

void stopPlayback(ChannelPlayback* playback);
