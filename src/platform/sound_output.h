// Audio output of the sound layer: an OpenAL device when one can be opened, otherwise a silent
// output that keeps real time. A ChannelPlayback plays one song stream on the output, decoding
// ahead on a thread of its own, and reports the frame being heard.
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

// Starts playing the stream from its current frame; the stream stays owned by the caller and
// must outlive the playback. Null when the output cannot play (no memory, no source).
ChannelPlayback* startPlayback(SoundOutput* output, SongStream* stream);

// The frame being heard now: 0 at the start, moving smoothly at real time, never backwards, and
// still moving once the song has ended.
double playbackFrames(ChannelPlayback* playback);

void stopPlayback(ChannelPlayback* playback);
