// The System / Sound / Channel calls of the sound layer, and the tables behind their handles.
//
// A handle is a token, never a real address: each table maps tokens to the layer's own records,
// so every call first looks its handle up and answers FMOD_ERR_INVALID_HANDLE for one it does not
// hold (null, released, or never made). Tokens are never reused.
#include "platform/sound.h"

#include "platform/song_stream.h"
#include "platform/sound_output.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <new>

namespace {

struct SystemRecord {
    bool initialised = false;
    SoundOutput* output = nullptr;
};

struct SoundRecord {
    uintptr_t system = 0;
    SongStream* stream = nullptr;
    uintptr_t channel = 0;  // the channel playing it, 0 when none
};

struct ChannelRecord {
    uintptr_t system = 0;
    uintptr_t sound = 0;
    ChannelPlayback* playback = nullptr;
};

struct SoundTables {
    std::mutex mutex;
    uintptr_t nextToken = 0x1000;
    std::map<uintptr_t, SystemRecord> systems;
    std::map<uintptr_t, SoundRecord> sounds;
    std::map<uintptr_t, ChannelRecord> channels;
};

SoundTables& tables() {
    static SoundTables* instance = new SoundTables;  // lives for the process: no exit-order issues
    return *instance;
}

uintptr_t newToken(SoundTables& t) {
    t.nextToken += 0x10;
    return t.nextToken;
}

template <typename Record>
Record* find(std::map<uintptr_t, Record>& table, const void* handle) {
    auto it = table.find(reinterpret_cast<uintptr_t>(handle));
    return it == table.end() ? nullptr : &it->second;
}

void stopChannel(SoundTables& t, uintptr_t channelToken) {
    auto it = t.channels.find(channelToken);
    if (it == t.channels.end()) return;
    stopPlayback(it->second.playback);
    auto sound = t.sounds.find(it->second.sound);
    if (sound != t.sounds.end()) sound->second.channel = 0;
    t.channels.erase(it);
}

void releaseSoundRecord(SoundTables& t, uintptr_t soundToken) {
    auto it = t.sounds.find(soundToken);
    if (it == t.sounds.end()) return;
    stopChannel(t, it->second.channel);
    closeSongStream(it->second.stream);
    t.sounds.erase(it);
}

// Stops every channel and releases every sound of the system, then its output.
void closeSystemRecord(SoundTables& t, uintptr_t systemToken, SystemRecord* system) {
    for (auto it = t.sounds.begin(); it != t.sounds.end();) {
        uintptr_t token = it->first;
        bool mine = it->second.system == systemToken;
        ++it;
        if (mine) releaseSoundRecord(t, token);
    }
    closeSoundOutput(system->output);
    system->output = nullptr;
    system->initialised = false;
}

}  // namespace

FMOD_RESULT FMOD_System_Create(FMOD::System** system) {
    if (!system) return FMOD_ERR_INVALID_PARAM;
    SoundTables& t = tables();
    std::lock_guard<std::mutex> lock(t.mutex);
    uintptr_t token = newToken(t);
    t.systems[token] = SystemRecord();
    *system = reinterpret_cast<FMOD::System*>(token);
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_GetVersion(FMOD::System* system, unsigned int* version) {
    SoundTables& t = tables();
    std::lock_guard<std::mutex> lock(t.mutex);
    if (!find(t.systems, system)) return FMOD_ERR_INVALID_HANDLE;
    if (!version) return FMOD_ERR_INVALID_PARAM;
    *version = FMOD_VERSION;
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_Init(FMOD::System* system, int maxChannels, FMOD_INITFLAGS, void*) {
    SoundTables& t = tables();
    std::lock_guard<std::mutex> lock(t.mutex);
    SystemRecord* record = find(t.systems, system);
    if (!record) return FMOD_ERR_INVALID_HANDLE;
    if (record->initialised) return FMOD_ERR_INITIALIZED;
    if (maxChannels < 1 || maxChannels > 4093) return FMOD_ERR_INVALID_PARAM;
    record->output = openSoundOutput();
    if (!record->output) return FMOD_ERR_OUTPUT_INIT;
    record->initialised = true;
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_CreateStream(FMOD::System* system, const char* name, FMOD_MODE, FMOD_CREATESOUNDEXINFO* exinfo,
                                     FMOD::Sound** sound) {
    SoundTables& t = tables();
    std::lock_guard<std::mutex> lock(t.mutex);
    SystemRecord* record = find(t.systems, system);
    if (!record) return FMOD_ERR_INVALID_HANDLE;
    if (!record->initialised) return FMOD_ERR_UNINITIALIZED;
    if (!name || !sound || exinfo) return FMOD_ERR_INVALID_PARAM;
    *sound = nullptr;
    SongStream* stream = nullptr;
    FMOD_RESULT result = openSongStream(name, &stream);
    if (result != FMOD_OK) return result;
    uintptr_t token = newToken(t);
    SoundRecord soundRecord;
    soundRecord.system = reinterpret_cast<uintptr_t>(system);
    soundRecord.stream = stream;
    t.sounds[token] = soundRecord;
    *sound = reinterpret_cast<FMOD::Sound*>(token);
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_PlaySound(FMOD::System* system, FMOD_CHANNELINDEX channelId, FMOD::Sound* sound, bool paused,
                                  FMOD::Channel** channel) {
    SoundTables& t = tables();
    std::lock_guard<std::mutex> lock(t.mutex);
    SystemRecord* record = find(t.systems, system);
    if (!record) return FMOD_ERR_INVALID_HANDLE;
    if (!record->initialised) return FMOD_ERR_UNINITIALIZED;
    SoundRecord* soundRecord = find(t.sounds, sound);
    if (!soundRecord || soundRecord->system != reinterpret_cast<uintptr_t>(system)) {
        return FMOD_ERR_INVALID_HANDLE;
    }
    if (channelId < FMOD_CHANNEL_FREE) return FMOD_ERR_INVALID_PARAM;
    if (channel) *channel = nullptr;
    if (soundRecord->channel != 0) {
        // A stream plays on one channel at a time: playing it again starts it over.
        stopChannel(t, soundRecord->channel);
        if (seekSongStream(soundRecord->stream, 0) != 0) return FMOD_ERR_FILE_COULDNOTSEEK;
    }
    ChannelPlayback* playback = startPlayback(record->output, soundRecord->stream, paused);
    if (!playback) return FMOD_ERR_CHANNEL_ALLOC;
    uintptr_t token = newToken(t);
    t.channels[token] =
        ChannelRecord{reinterpret_cast<uintptr_t>(system), reinterpret_cast<uintptr_t>(sound), playback};
    soundRecord->channel = token;
    if (channel) *channel = reinterpret_cast<FMOD::Channel*>(token);
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_Update(FMOD::System* system) {
    SoundTables& t = tables();
    std::lock_guard<std::mutex> lock(t.mutex);
    SystemRecord* record = find(t.systems, system);
    if (!record) return FMOD_ERR_INVALID_HANDLE;
    // Decoding and feeding run on each channel's own thread; there is nothing to do here.
    return record->initialised ? FMOD_OK : FMOD_ERR_UNINITIALIZED;
}

FMOD_RESULT FMOD_System_Close(FMOD::System* system) {
    SoundTables& t = tables();
    std::lock_guard<std::mutex> lock(t.mutex);
    SystemRecord* record = find(t.systems, system);
    if (!record) return FMOD_ERR_INVALID_HANDLE;
    closeSystemRecord(t, reinterpret_cast<uintptr_t>(system), record);
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_Release(FMOD::System* system) {
    SoundTables& t = tables();
    std::lock_guard<std::mutex> lock(t.mutex);
    SystemRecord* record = find(t.systems, system);
    if (!record) return FMOD_ERR_INVALID_HANDLE;
    closeSystemRecord(t, reinterpret_cast<uintptr_t>(system), record);
    t.systems.erase(reinterpret_cast<uintptr_t>(system));
    return FMOD_OK;
}

FMOD_RESULT FMOD_Sound_Release(FMOD::Sound* sound) {
    SoundTables& t = tables();
    std::lock_guard<std::mutex> lock(t.mutex);
    if (!find(t.sounds, sound)) return FMOD_ERR_INVALID_HANDLE;
    releaseSoundRecord(t, reinterpret_cast<uintptr_t>(sound));
    return FMOD_OK;
}

FMOD_RESULT FMOD_Channel_GetPosition(FMOD::Channel* channel, unsigned int* position, FMOD_TIMEUNIT unit) {
    SoundTables& t = tables();
    std::lock_guard<std::mutex> lock(t.mutex);
    ChannelRecord* record = find(t.channels, channel);
    if (!record) return FMOD_ERR_INVALID_HANDLE;
    if (!position) return FMOD_ERR_INVALID_PARAM;
    uint64_t frames = uint64_t(playbackFrames(record->playback));
    switch (unit) {
    case FMOD_TIMEUNIT_PCMBYTES: *position = unsigned(frames * songBytesPerFrame); return FMOD_OK;
    case FMOD_TIMEUNIT_PCM: *position = unsigned(frames); return FMOD_OK;
    case FMOD_TIMEUNIT_MS: *position = unsigned(frames * 1000 / songOutputRate); return FMOD_OK;
    default: return FMOD_ERR_INVALID_PARAM;
    }
}

namespace {

// A position in frames, or false for a unit the layer does not know. Milliseconds round up, to
// the first frame that getPosition reports as that millisecond.
bool framesOf(unsigned int position, FMOD_TIMEUNIT unit, int64_t* frames) {
    switch (unit) {
    case FMOD_TIMEUNIT_PCMBYTES: *frames = position / songBytesPerFrame; return true;
    case FMOD_TIMEUNIT_PCM: *frames = position; return true;
    case FMOD_TIMEUNIT_MS: *frames = (int64_t(position) * songOutputRate + 999) / 1000; return true;
    default: return false;
    }
}

}  // namespace

FMOD_RESULT FMOD_Channel_SetPosition(FMOD::Channel* channel, unsigned int position, FMOD_TIMEUNIT unit) {
    SoundTables& t = tables();
    std::lock_guard<std::mutex> lock(t.mutex);
    ChannelRecord* record = find(t.channels, channel);
    if (!record) return FMOD_ERR_INVALID_HANDLE;
    int64_t frames = 0;
    if (!framesOf(position, unit, &frames)) return FMOD_ERR_INVALID_PARAM;
    return seekPlayback(record->playback, frames) ? FMOD_OK : FMOD_ERR_FILE_COULDNOTSEEK;
}

FMOD_RESULT FMOD_Channel_SetPaused(FMOD::Channel* channel, bool paused) {
    SoundTables& t = tables();
    std::lock_guard<std::mutex> lock(t.mutex);
    ChannelRecord* record = find(t.channels, channel);
    if (!record) return FMOD_ERR_INVALID_HANDLE;
    if (paused) {
        pausePlayback(record->playback);
        return FMOD_OK;
    }
    return resumePlayback(record->playback) ? FMOD_OK : FMOD_ERR_FILE_COULDNOTSEEK;
}

FMOD_RESULT FMOD_Channel_GetPaused(FMOD::Channel* channel, bool* paused) {
    SoundTables& t = tables();
    std::lock_guard<std::mutex> lock(t.mutex);
    ChannelRecord* record = find(t.channels, channel);
    if (!record) return FMOD_ERR_INVALID_HANDLE;
    if (!paused) return FMOD_ERR_INVALID_PARAM;
    *paused = playbackPaused(record->playback);
    return FMOD_OK;
}

SoundOutputKind soundOutputKind(FMOD::System* system) {
    SoundTables& t = tables();
    std::lock_guard<std::mutex> lock(t.mutex);
    SystemRecord* record = find(t.systems, system);
    if (!record || !record->output) return soundOutputNone;
    return soundOutputIsSilent(record->output) ? soundOutputSilent : soundOutputDevice;
}

// The member form forwards to the plain form with the handle itself.
namespace FMOD {

FMOD_RESULT System::getVersion(unsigned int* version) { return FMOD_System_GetVersion(this, version); }
FMOD_RESULT System::init(int maxChannels, FMOD_INITFLAGS flags, void* extraDriverData) {
    return FMOD_System_Init(this, maxChannels, flags, extraDriverData);
}
FMOD_RESULT System::createStream(const char* name, FMOD_MODE mode, FMOD_CREATESOUNDEXINFO* exinfo, Sound** sound) {
    return FMOD_System_CreateStream(this, name, mode, exinfo, sound);
}
FMOD_RESULT System::playSound(FMOD_CHANNELINDEX channelId, Sound* sound, bool paused, Channel** channel) {
    return FMOD_System_PlaySound(this, channelId, sound, paused, channel);
}
FMOD_RESULT System::update() { return FMOD_System_Update(this); }
FMOD_RESULT System::close() { return FMOD_System_Close(this); }
FMOD_RESULT System::release() { return FMOD_System_Release(this); }
FMOD_RESULT Sound::release() { return FMOD_Sound_Release(this); }
FMOD_RESULT Channel::getPosition(unsigned int* position, FMOD_TIMEUNIT unit) {
    return FMOD_Channel_GetPosition(this, position, unit);
}
FMOD_RESULT Channel::setPosition(unsigned int position, FMOD_TIMEUNIT unit) {
    return FMOD_Channel_SetPosition(this, position, unit);
}
FMOD_RESULT Channel::setPaused(bool paused) { return FMOD_Channel_SetPaused(this, paused); }
FMOD_RESULT Channel::getPaused(bool* paused) { return FMOD_Channel_GetPaused(this, paused); }

}  // namespace FMOD
