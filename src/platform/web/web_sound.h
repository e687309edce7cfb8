// The calls of the browser's sound output (web_audio.js), as the web versions of the song stream
// and the sound output call them. Ids are the page's own; 0 is none.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {
int webSoundOpen();
int webSoundRunning();
void webSoundClose();
int webSoundDecode(const uint8_t* bytes, size_t length);
void webSoundForget(int song);
int webSoundPlay(int song, int paused);
double webSoundFrames(int playback);
void webSoundSeek(int playback, double frame);
void webSoundPause(int playback);
void webSoundResume(int playback);
void webSoundStop(int playback);
}

// The page's id of a stream's song (song_stream_web.cpp), for the output that plays it.
struct SongStream;
int songOfStream(const SongStream* stream);
