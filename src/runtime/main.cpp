// The demo's entry point: plays the song once, following it with the music clock.
#include "runtime/music.h"

#include <chrono>
#include <thread>

int main() {
    FMOD::System* system = nullptr;
    if (!soundCallSucceeded(FMOD_System_Create(&system))) return -1;
    unsigned int version = 0;
    if (!soundCallSucceeded(system->getVersion(&version))) return -1;
    if (!soundVersionAccepted(version)) return -1;
    if (!soundCallSucceeded(system->init(1, FMOD_INIT_NORMAL, nullptr))) return -1;
    FMOD::Sound* song = nullptr;
    FMOD_MODE mode = FMOD_2D | FMOD_SOFTWARE | FMOD_CREATESTREAM | FMOD_ACCURATETIME;
    if (!soundCallSucceeded(system->createStream(songSettings.fileName, mode, nullptr, &song))) return -1;
    FMOD::Channel* channel = nullptr;
    if (!soundCallSucceeded(system->playSound(FMOD_CHANNEL_FREE, song, false, &channel))) return -1;
    double row = 0.0;
    while (row < 6651.0) {
        system->update();
        row = readMusicClock(channel);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!soundCallSucceeded(song->release())) return -1;
    if (!soundCallSucceeded(system->close())) return -1;
    if (!soundCallSucceeded(system->release())) return -1;
    return 0;
}
