// Texts of the sound layer's result codes, indexed by code.
#include "platform/sound.h"

namespace {

const char* const errorTexts[] = {
    "No errors.",                                                                      // 0
    "Tried to lock a resource that is already locked. ",                               // 1
    "A call was made that this object does not support. ",                             // 2
    "No CD audio drivers are available. ",                                             // 3
    "The CD audio drive could not be initialized. ",                                   // 4
    "The CD audio device is not valid. ",                                              // 5
    "The CD has no audio tracks. ",                                                    // 6
    "No CD drives were found. ",                                                       // 7
    "There is no disc in the CD drive. ",                                              // 8
    "A CD audio read failed. ",                                                        // 9
    "No free channel could be allocated. ",                                            // 10
    "The channel was stolen by another sound. ",                                       // 11
    "A system component call failed. ",                                                // 12
    "A DMA failure occurred. ",                                                        // 13
    "The DSP connection could not be made. ",                                          // 14
    "The DSP format is not supported. ",                                               // 15
    "The DSP unit was not found. ",                                                    // 16
    "The DSP unit is running and cannot be changed. ",                                 // 17
    "The DSP unit has too many connections. ",                                         // 18
    "Error loading file. ",                                                            // 19
    "The file could not be seeked. ",                                                  // 20
    "The medium was removed while the file was read. ",                                // 21
    "The end of the file was reached unexpectedly. ",                                  // 22
    "File not found. ",                                                                // 23
    "The file is not wanted. ",                                                        // 24
    "Unsupported file or audio format. ",                                              // 25
    "An HTTP error occurred. ",                                                        // 26
    "HTTP access was denied. ",                                                        // 27
    "The HTTP proxy needs authentication. ",                                           // 28
    "The HTTP server reported an error. ",                                             // 29
    "The HTTP request timed out. ",                                                    // 30
    "The output could not be initialized. ",                                           // 31
    "The system is already initialized. ",                                             // 32
    "An internal error occurred. ",                                                    // 33
    "The address is not valid. ",                                                      // 34
    "A floating point value is not valid. ",                                           // 35
    "An invalid object handle was used. ",                                             // 36
    "An invalid parameter was passed. ",                                               // 37
    "The position is not valid. ",                                                     // 38
    "The speaker is not valid. ",                                                      // 39
    "The sync point is not valid. ",                                                   // 40
    "The vector is not valid. ",                                                       // 41
    "Too many sounds are audible at once. ",                                           // 42
    "Not enough memory or resources. ",                                                // 43
    "This memory cannot be pointed to. ",                                              // 44
    "Not enough sound RAM. ",                                                          // 45
    "The call needs a 2D sound. ",                                                     // 46
    "The call needs a 3D sound. ",                                                     // 47
    "The call needs a hardware sound. ",                                               // 48
    "The call needs a software sound. ",                                               // 49
    "The network connection failed. ",                                                 // 50
    "A network socket error occurred. ",                                               // 51
    "The network address is not valid. ",                                              // 52
    "The network operation would block. ",                                             // 53
    "The operation is not ready yet. ",                                                // 54
    "The output device is already in use. ",                                           // 55
    "The output buffer could not be created. ",                                        // 56
    "A call to the output driver failed. ",                                            // 57
    "The output devices could not be enumerated. ",                                    // 58
    "The output device does not support this format. ",                                // 59
    "Error initializing output device. ",                                              // 60
    "No sound hardware was found. ",                                                   // 61
    "The output cannot play software sounds. ",                                        // 62
    "Panning is not possible for this sound. ",                                        // 63
    "A plugin error occurred. ",                                                       // 64
    "The plugin has too many instances. ",                                             // 65
    "A plugin is missing. ",                                                           // 66
    "A plugin resource is missing. ",                                                  // 67
    "The sound is preloaded and cannot be used this way. ",                            // 68
    "A programmer sound error occurred. ",                                             // 69
    "A recording error occurred. ",                                                    // 70
    "The reverb instance is not valid. ",                                              // 71
    "The subsound is already allocated. ",                                             // 72
    "The subsound cannot be moved. ",                                                  // 73
    "The subsound mode is not supported. ",                                            // 74
    "The sound has subsounds, which this call does not accept. ",                      // 75
    "The tag was not found. ",                                                         // 76
    "Too many channels were requested. ",                                              // 77
    "This call is not implemented. ",                                                  // 78
    "This command failed because System::init or System::setDriver was not called. ",  // 79
    "This call is not supported. ",                                                    // 80
    "The update call failed. ",                                                        // 81
    "The version does not match. ",                                                    // 82
    "An event failed. ",                                                               // 83
    "The event is for information only. ",                                             // 84
    "An internal event error occurred. ",                                              // 85
    "Too many event streams are open. ",                                               // 86
    "The event data does not match. ",                                                 // 87
    "Two events have the same name. ",                                                 // 88
    "The event was not found. ",                                                       // 89
    "The event needs a simple event. ",                                                // 90
    "Two events have the same identifier. ",                                           // 91
    "The event data is already loaded. ",                                              // 92
    "The music system is not initialized. ",                                           // 93
    "The music was not found. ",                                                       // 94
    "The music has no callback. ",                                                     // 95
};

constexpr int errorTextCount = sizeof errorTexts / sizeof errorTexts[0];
static_assert(errorTextCount == FMOD_ERR_MUSIC_NOCALLBACK + 1, "one text per result code");

}  // namespace

const char* FMOD_ErrorString(FMOD_RESULT result) {
    if (result < 0 || result >= errorTextCount) return "Unknown error.";
    return errorTexts[result];
}
