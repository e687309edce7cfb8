// Speaking through eSpeak NG in its synchronous mode: the library hands back the sound and its
// events (words, phonemes) through a callback, which collects them here.
#include "song_speech.h"

#include <espeak-ng/speak_lib.h>

#include <cstring>

namespace {

struct Collected {
    std::vector<float> samples;
    std::vector<long> wordStarts;
    std::vector<std::pair<std::string, long>> phonemeStarts;
};

Collected* collecting = nullptr;

int collect(short* wave, int count, espeak_EVENT* events) {
    if (!collecting) return 1;
    for (int i = 0; wave && i < count; ++i) collecting->samples.push_back(float(wave[i]) / 32768.0f);
    for (espeak_EVENT* e = events; e && e->type != espeakEVENT_LIST_TERMINATED; ++e) {
        if (e->type == espeakEVENT_WORD) collecting->wordStarts.push_back(long(e->sample));
        if (e->type == espeakEVENT_PHONEME) {
            char name[sizeof e->id.string + 1] = {};
            std::memcpy(name, e->id.string, sizeof e->id.string);
            collecting->phonemeStarts.emplace_back(name, long(e->sample));
        }
    }
    return 0;
}

PhonemeKind kindOf(const std::string& name) {
    if (name.empty() || name[0] == '_') return PhonemeKind::pause;
    if (std::strchr("aeiouAEIOUV03@", name[0])) return PhonemeKind::vowel;
    if (std::strchr("bdgvDzZmnNlrwjRL", name[0])) return PhonemeKind::voiced;
    return PhonemeKind::unvoiced;
}

int startSpeaking() {
    static int rate = -1;
    if (rate == -1) {
        rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr,
                                 espeakINITIALIZE_PHONEME_EVENTS | espeakINITIALIZE_DONT_EXIT);
        if (rate > 0) espeak_SetSynthCallback(collect);
    }
    return rate;
}

}  // namespace

Speech speakLine(const std::string& text, const std::string& voice) {
    Speech speech;
    speech.rate = startSpeaking();
    if (speech.rate <= 0) {
        speech.error = "the speech engine (eSpeak NG) could not be started";
        return speech;
    }
    if (espeak_SetVoiceByName(voice.c_str()) != EE_OK) {
        speech.error = "the speech engine has no voice \"" + voice + "\"";
        return speech;
    }
    espeak_SetParameter(espeakRATE, 150, 0);
    Collected collected;
    collecting = &collected;
    espeak_ERROR spoken =
        espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
    espeak_Synchronize();
    collecting = nullptr;
    if (spoken != EE_OK || collected.samples.empty()) {
        speech.error = "the speech engine could not speak \"" + text + "\"";
        return speech;
    }
    speech.samples = std::move(collected.samples);
    long total = long(speech.samples.size());
    const auto& starts = collected.phonemeStarts;
    for (size_t i = 0; i < starts.size(); ++i) {
        long start = std::min(starts[i].second, total);
        long end = i + 1 < starts.size() ? std::min(starts[i + 1].second, total) : total;
        if (end <= start) continue;
        int word = 0;
        while (size_t(word + 1) < collected.wordStarts.size() && collected.wordStarts[size_t(word + 1)] <= start)
            ++word;
        speech.phonemes.push_back(Phoneme{starts[i].first, kindOf(starts[i].first), start, end, word});
    }
    return speech;
}
