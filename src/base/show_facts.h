// The show's fixed figures, each written once: the design space its pictures are laid out in,
// the row grid its tracks run on and the row it ends at, the rates its song is played at, and
// the files it reads besides its images and tracks. Every layer reads them from here, the
// generators of the show's art and song included, so the demo, its tools and its content cannot
// drift apart.
#pragma once

// The design space: positions and image sizes are given in it (origin top-left, y down) and
// scaled to the output.
constexpr int designSpaceWidth = 1280;
constexpr int designSpaceHeight = 720;

// Rows of the track grid per second of music.
constexpr double rowsPerSecond = 24.0;

// The show ends when the music reaches this row: 277.125 s at 24 rows a second.
constexpr double rowLimit = 6651.0;

// The song as the show plays it, whatever its file holds: 16-bit stereo at 44100 frames a
// second, 4 bytes a frame, 176400 bytes a second.
constexpr long songOutputRate = 44100;
constexpr int songOutputChannels = 2;
constexpr int songBytesPerSample = 2;
constexpr int songBytesPerFrame = songOutputChannels * songBytesPerSample;
constexpr long songBytesPerSecond = songOutputRate * songBytesPerFrame;

// The song, and the two shaders the shader program is built from.
constexpr const char* songFileName = "data/mirekand2013.mp3";
constexpr const char* vertexShaderFileName = "data/shaders/default.vs";
constexpr const char* fragmentShaderFileName = "data/shaders/noise.fs";
