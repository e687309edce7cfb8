// The sound layer: plays the song as a stream and reports the position being heard.
//
// The program is written against a sound library with a System / Sound / Channel object
// interface whose calls return result codes. This layer provides exactly that interface, built on
// libmpg123 (decoding, as the song plays) and OpenAL (output). Where no output device can be
// opened, playback goes to a silent output that still runs at real time, so the show stays in
// step without sound.
//
// Handles are opaque tokens: the layer never dereferences them, it looks them up in its own
// tables, so a call through a released handle is answered with FMOD_ERR_INVALID_HANDLE instead of
// touching freed memory. A null handle can only be passed to the plain function form of a call
// (FMOD_Channel_GetPosition and its companions); the member calls forward to those.
//
// A channel's position is the frame of the song being heard (44100 frames a second, 4 bytes a
// frame): it runs at real time, never backwards, and on past the end of the song. setPosition
// moves it, in any of the units getPosition takes (bytes round down to the frame, milliseconds up
// to the first frame of that millisecond): the first sample heard afterwards is that frame of the
// song, nothing past its end, and getPosition gives exactly that frame until it is heard; only a
// move backwards makes the position decrease. setPaused(true) stops the sound (what the device
// already has still comes out) and holds the position still at the frame where it stops;
// setPaused(false) plays on from that very frame. A channel can also start paused (playSound's
// paused argument). Moving a paused channel moves the held frame; it stays paused. Pausing a
// paused channel, or resuming a playing one, does nothing.
#pragma once

#include <cstdint>

typedef int FMOD_RESULT;

enum : FMOD_RESULT {
    FMOD_OK = 0,
    FMOD_ERR_ALREADYLOCKED,
    FMOD_ERR_BADCOMMAND,
    FMOD_ERR_CDDA_DRIVERS,
    FMOD_ERR_CDDA_INIT,
    FMOD_ERR_CDDA_INVALID_DEVICE,
    FMOD_ERR_CDDA_NOAUDIO,
    FMOD_ERR_CDDA_NODEVICES,
    FMOD_ERR_CDDA_NODISC,
    FMOD_ERR_CDDA_READ,
    FMOD_ERR_CHANNEL_ALLOC,
    FMOD_ERR_CHANNEL_STOLEN,
    FMOD_ERR_COM,
    FMOD_ERR_DMA,
    FMOD_ERR_DSP_CONNECTION,
    FMOD_ERR_DSP_FORMAT,
    FMOD_ERR_DSP_NOTFOUND,
    FMOD_ERR_DSP_RUNNING,
    FMOD_ERR_DSP_TOOMANYCONNECTIONS,
    FMOD_ERR_FILE_BAD,
    FMOD_ERR_FILE_COULDNOTSEEK,
    FMOD_ERR_FILE_DISKEJECTED,
    FMOD_ERR_FILE_EOF,
    FMOD_ERR_FILE_NOTFOUND,
    FMOD_ERR_FILE_UNWANTED,
    FMOD_ERR_FORMAT,
    FMOD_ERR_HTTP,
    FMOD_ERR_HTTP_ACCESS,
    FMOD_ERR_HTTP_PROXY_AUTH,
    FMOD_ERR_HTTP_SERVER_ERROR,
    FMOD_ERR_HTTP_TIMEOUT,
    FMOD_ERR_INITIALIZATION,
    FMOD_ERR_INITIALIZED,
    FMOD_ERR_INTERNAL,
    FMOD_ERR_INVALID_ADDRESS,
    FMOD_ERR_INVALID_FLOAT,
    FMOD_ERR_INVALID_HANDLE,
    FMOD_ERR_INVALID_PARAM,
    FMOD_ERR_INVALID_POSITION,
    FMOD_ERR_INVALID_SPEAKER,
    FMOD_ERR_INVALID_SYNCPOINT,
    FMOD_ERR_INVALID_VECTOR,
    FMOD_ERR_MAXAUDIBLE,
    FMOD_ERR_MEMORY,
    FMOD_ERR_MEMORY_CANTPOINT,
    FMOD_ERR_MEMORY_SRAM,
    FMOD_ERR_NEEDS2D,
    FMOD_ERR_NEEDS3D,
    FMOD_ERR_NEEDSHARDWARE,
    FMOD_ERR_NEEDSSOFTWARE,
    FMOD_ERR_NET_CONNECT,
    FMOD_ERR_NET_SOCKET_ERROR,
    FMOD_ERR_NET_URL,
    FMOD_ERR_NET_WOULD_BLOCK,
    FMOD_ERR_NOTREADY,
    FMOD_ERR_OUTPUT_ALLOCATED,
    FMOD_ERR_OUTPUT_CREATEBUFFER,
    FMOD_ERR_OUTPUT_DRIVERCALL,
    FMOD_ERR_OUTPUT_ENUMERATION,
    FMOD_ERR_OUTPUT_FORMAT,
    FMOD_ERR_OUTPUT_INIT,
    FMOD_ERR_OUTPUT_NOHARDWARE,
    FMOD_ERR_OUTPUT_NOSOFTWARE,
    FMOD_ERR_PAN,
    FMOD_ERR_PLUGIN,
    FMOD_ERR_PLUGIN_INSTANCES,
    FMOD_ERR_PLUGIN_MISSING,
    FMOD_ERR_PLUGIN_RESOURCE,
    FMOD_ERR_PRELOADED,
    FMOD_ERR_PROGRAMMERSOUND,
    FMOD_ERR_RECORD,
    FMOD_ERR_REVERB_INSTANCE,
    FMOD_ERR_SUBSOUND_ALLOCATED,
    FMOD_ERR_SUBSOUND_CANTMOVE,
    FMOD_ERR_SUBSOUND_MODE,
    FMOD_ERR_SUBSOUNDS,
    FMOD_ERR_TAGNOTFOUND,
    FMOD_ERR_TOOMANYCHANNELS,
    FMOD_ERR_UNIMPLEMENTED,
    FMOD_ERR_UNINITIALIZED,
    FMOD_ERR_UNSUPPORTED,
    FMOD_ERR_UPDATE,
    FMOD_ERR_VERSION,
    FMOD_ERR_EVENT_FAILED,
    FMOD_ERR_EVENT_INFOONLY,
    FMOD_ERR_EVENT_INTERNAL,
    FMOD_ERR_EVENT_MAXSTREAMS,
    FMOD_ERR_EVENT_MISMATCH,
    FMOD_ERR_EVENT_NAMECONFLICT,
    FMOD_ERR_EVENT_NOTFOUND,
    FMOD_ERR_EVENT_NEEDSSIMPLE,
    FMOD_ERR_EVENT_GUIDCONFLICT,
    FMOD_ERR_EVENT_ALREADY_LOADED,
    FMOD_ERR_MUSIC_UNINITIALIZED,
    FMOD_ERR_MUSIC_NOTFOUND,
    FMOD_ERR_MUSIC_NOCALLBACK,
};

typedef unsigned int FMOD_INITFLAGS;
typedef unsigned int FMOD_MODE;
typedef unsigned int FMOD_TIMEUNIT;
typedef int FMOD_CHANNELINDEX;

constexpr FMOD_INITFLAGS FMOD_INIT_NORMAL = 0x0;
constexpr FMOD_MODE FMOD_2D = 0x8;
constexpr FMOD_MODE FMOD_SOFTWARE = 0x40;
constexpr FMOD_MODE FMOD_CREATESTREAM = 0x80;
constexpr FMOD_MODE FMOD_ACCURATETIME = 0x4000;
constexpr FMOD_CHANNELINDEX FMOD_CHANNEL_FREE = -1;
constexpr FMOD_TIMEUNIT FMOD_TIMEUNIT_MS = 1;
constexpr FMOD_TIMEUNIT FMOD_TIMEUNIT_PCM = 2;
constexpr FMOD_TIMEUNIT FMOD_TIMEUNIT_PCMBYTES = 4;

// The version word this layer reports: 4.44.04.
constexpr unsigned int FMOD_VERSION = 0x00044404;

// Extended stream information; accepted for the interface's sake, must be null.
struct FMOD_CREATESOUNDEXINFO;

namespace FMOD {

class Sound;
class Channel;

class System {
public:
    FMOD_RESULT getVersion(unsigned int* version);
    FMOD_RESULT init(int maxChannels, FMOD_INITFLAGS flags, void* extraDriverData);
    FMOD_RESULT createStream(const char* nameOrData, FMOD_MODE mode, FMOD_CREATESOUNDEXINFO* exinfo, Sound** sound);
    FMOD_RESULT playSound(FMOD_CHANNELINDEX channelId, Sound* sound, bool paused, Channel** channel);
    FMOD_RESULT update();
    FMOD_RESULT close();
    FMOD_RESULT release();

    System() = delete;
};

class Sound {
public:
    FMOD_RESULT release();
    Sound() = delete;
};

class Channel {
public:
    FMOD_RESULT getPosition(unsigned int* position, FMOD_TIMEUNIT unit);
    FMOD_RESULT setPosition(unsigned int position, FMOD_TIMEUNIT unit);
    FMOD_RESULT setPaused(bool paused);
    FMOD_RESULT getPaused(bool* paused);
    Channel() = delete;
};

}  // namespace FMOD

// The plain function form. Every member call above forwards to one of these.
FMOD_RESULT FMOD_System_Create(FMOD::System** system);
FMOD_RESULT FMOD_System_GetVersion(FMOD::System* system, unsigned int* version);
FMOD_RESULT FMOD_System_Init(FMOD::System* system, int maxChannels, FMOD_INITFLAGS flags, void* extraDriverData);
FMOD_RESULT FMOD_System_CreateStream(FMOD::System* system, const char* name, FMOD_MODE mode,
                                     FMOD_CREATESOUNDEXINFO* exinfo, FMOD::Sound** sound);
FMOD_RESULT FMOD_System_PlaySound(FMOD::System* system, FMOD_CHANNELINDEX channelId, FMOD::Sound* sound, bool paused,
                                  FMOD::Channel** channel);
FMOD_RESULT FMOD_System_Update(FMOD::System* system);
FMOD_RESULT FMOD_System_Close(FMOD::System* system);
FMOD_RESULT FMOD_System_Release(FMOD::System* system);
FMOD_RESULT FMOD_Sound_Release(FMOD::Sound* sound);
FMOD_RESULT FMOD_Channel_GetPosition(FMOD::Channel* channel, unsigned int* position, FMOD_TIMEUNIT unit);
FMOD_RESULT FMOD_Channel_SetPosition(FMOD::Channel* channel, unsigned int position, FMOD_TIMEUNIT unit);
FMOD_RESULT FMOD_Channel_SetPaused(FMOD::Channel* channel, bool paused);
FMOD_RESULT FMOD_Channel_GetPaused(FMOD::Channel* channel, bool* paused);

// The description of a result code; "Unknown error." for anything outside 0-95.
const char* FMOD_ErrorString(FMOD_RESULT result);

// Which output a system plays to (for the tools, which say when they play silent, and for tests
// and benchmarks; the demo does not ask).
enum SoundOutputKind { soundOutputNone, soundOutputDevice, soundOutputSilent };
SoundOutputKind soundOutputKind(FMOD::System* system);
