// Joining the score's sung slots to the lyrics and the melody.
#include "song_lyrics.h"

#include <cmath>

#include "base/show_facts.h"
#include "song_arrange.h"

namespace {

// The notes of two bars of the section's tune (its lead melodies one after another, repeated),
// starting at `firstStep` of it, as frames of the song. Pip sings an octave under the lead's
// notes, the villain two.
std::vector<VoiceNote> notesOfSlot(const Score& score, const Section& section, long firstStep, Singer singer) {
    std::vector<MelodyStep> tune = sectionTune(score, section);
    std::vector<VoiceNote> notes;
    double framesPerStep = songOutputRate * 60.0 / score.tempo / 4.0;
    long sectionStep = long(section.startBar) * stepsPerBar;
    long steps = long(barsPerSungLine) * stepsPerBar;
    int shift = section.transpose + (singer == Singer::villain ? -24 : -12);
    for (long i = 0; i < steps; ++i) {
        const MelodyStep& step = tune[size_t(firstStep + i) % tune.size()];
        long frame = std::lround(double(sectionStep + firstStep + i) * framesPerStep);
        long next = std::lround(double(sectionStep + firstStep + i + 1) * framesPerStep);
        if (step.kind == MelodyStep::note) {
            notes.push_back(VoiceNote{frame, next, step.midiNote + shift});
        } else if (step.kind == MelodyStep::hold && !notes.empty() && notes.back().end == frame) {
            notes.back().end = next;
        }
    }
    return notes;
}

}  // namespace

SungLines sungLines(const Score& score, const TaggedText& lyrics) {
    SungLines result;
    for (const Section& section : score.sections) {
        for (size_t slot = 0; slot < section.sung.size(); ++slot) {
            const SungSlot& sung = section.sung[slot];
            if (sung.singer.empty()) continue;
            std::vector<TaggedLine> lines = linesWithTag(lyrics, sung.singer);
            if (sung.line > int(lines.size())) {
                result.error = score.path + ":" + std::to_string(section.singLine) + ": section \"" + section.name +
                               "\" sings " + sung.singer + ":" + std::to_string(sung.line) + ", but the lyrics have " +
                               std::to_string(lines.size()) + " \"" + sung.singer + ":\" lines";
                return result;
            }
            const TaggedLine& words = lines[size_t(sung.line - 1)];
            Singer singer = sung.singer == "good" ? Singer::hero : Singer::villain;
            int bar = section.startBar + int(slot) * barsPerSungLine;
            long firstStep = long(slot) * barsPerSungLine * stepsPerBar;
            double position = (slot + 0.5) * barsPerSungLine / double(section.endBar - section.startBar);
            double sectionDb = section.levelFrom + (section.levelTo - section.levelFrom) * position;
            result.lines.push_back(SungLine{singer, words.text, words.file + ":" + std::to_string(words.lineNumber),
                                            barStartFrame(score, bar), barStartFrame(score, bar + barsPerSungLine),
                                            notesOfSlot(score, section, firstStep, singer), section.doubled,
                                            0.5 * sectionDb + section.vocalDb});
        }
    }
    return result;
}
