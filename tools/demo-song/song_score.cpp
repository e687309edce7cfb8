// Reading show/score.txt: a line-based text format (described at the top of the file itself).
// Every problem is reported as "FILE:LINE: message"; nothing here aborts.
#include "song_score.h"

#include "base/number_words.h"
#include "sync/musical_grid.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

struct ScoreLine {
    int number;
    std::string text;  // without its comment and trailing spaces
};

struct Parser {
    std::string path;
    Score score;
    std::string error;
};

bool fail(Parser& parser, int line, const std::string& message) {
    if (parser.error.empty()) parser.error = parser.path + ":" + std::to_string(line) + ": " + message;
    return false;
}

// For what is missing from the whole file rather than wrong on a line.
bool failFile(Parser& parser, const std::string& message) {
    if (parser.error.empty()) parser.error = parser.path + ": " + message;
    return false;
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> result;
    std::string word;
    while (in >> word) result.push_back(word);
    return result;
}

std::string withoutSpaces(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (c != ' ' && c != '\t') result += c;
    }
    return result;
}

// Splits "name: rest" into its two parts; false when there is no colon.
bool splitNamed(const std::string& text, std::string* name, std::string* rest) {
    size_t colon = text.find(':');
    if (colon == std::string::npos) return false;
    std::vector<std::string> nameWords = words(text.substr(0, colon));
    if (nameWords.size() != 1) return false;
    *name = nameWords[0];
    *rest = text.substr(colon + 1);
    return true;
}
// "C", "F#", "Bb" at the start of text: the pitch class and the characters used, or -1.
int parsePitchClass(const std::string& text, size_t* used) {
    static const int naturals[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (text.empty() || text[0] < 'A' || text[0] > 'G') return -1;
    int pitch = naturals[text[0] - 'A'];
    *used = 1;
    if (text.size() > 1 && text[1] == '#') {
        pitch += 1;
        *used = 2;
    } else if (text.size() > 1 && text[1] == 'b') {
        pitch += 11;
        *used = 2;
    }
    return pitch % 12;
}

bool parseChord(const std::string& text, Chord* chord) {
    if (text == "-") {
        *chord = Chord{true, 0, {}};
        return true;
    }
    size_t used = 0;
    int root = parsePitchClass(text, &used);
    if (root < 0) return false;
    std::string quality = text.substr(used);
    static const struct {
        const char* name;
        std::vector<int> tones;
    } qualities[] = {{"", {0, 4, 7}},         {"m", {0, 3, 7}},    {"7", {0, 4, 7, 10}}, {"m7", {0, 3, 7, 10}},
                     {"maj7", {0, 4, 7, 11}}, {"sus2", {0, 2, 7}}, {"sus4", {0, 5, 7}},  {"dim", {0, 3, 6}}};
    for (const auto& q : qualities) {
        if (quality == q.name) {
            *chord = Chord{false, root, q.tones};
            return true;
        }
    }
    return false;
}

// A melody step: C4 .. B7 with an optional sharp or flat, "." or "-".
bool parseMelodyStep(const std::string& token, MelodyStep* step) {
    if (token == ".") {
        *step = MelodyStep{MelodyStep::hold, 0};
        return true;
    }
    if (token == "-") {
        *step = MelodyStep{MelodyStep::rest, 0};
        return true;
    }
    size_t used = 0;
    int pitch = parsePitchClass(token, &used);
    if (pitch < 0 || used + 1 != token.size() || token[used] < '0' || token[used] > '8') return false;
    int octave = token[used] - '0';
    int adjust = token[1] == 'b' && token[0] == 'C' ? 12 : token[1] == '#' && token[0] == 'B' ? -12 : 0;
    *step = MelodyStep{MelodyStep::note, 12 * (octave + 1) + pitch + adjust};
    return true;
}

bool nameTaken(const Score& score, const std::string& kind, const std::string& name) {
    if (kind == "chords") return findProgression(score, name) != nullptr;
    if (kind == "drums") return findDrums(score, name) != nullptr;
    if (kind == "bass") return findBassline(score, name) != nullptr;
    if (kind == "arp") return findArpeggio(score, name) != nullptr;
    return findMelody(score, name) != nullptr;
}

bool parseStepPattern(Parser& parser, const ScoreLine& line, const std::string& kind, const std::string& allowed) {
    std::string name;
    std::string rest;
    std::string afterKeyword = line.text.substr(kind.size());
    if (!splitNamed(afterKeyword, &name, &rest))
        return fail(parser, line.number, "expected \"" + kind + " NAME: STEPS\"");
    if (nameTaken(parser.score, kind, name))
        return fail(parser, line.number, kind + " \"" + name + "\" is defined twice");
    std::string steps = withoutSpaces(rest);
    if (steps.empty() || steps.size() % stepsPerBar != 0) {
        return fail(parser, line.number, "a pattern needs 16 steps a bar; found " + std::to_string(steps.size()));
    }
    for (char c : steps) {
        if (allowed.find(c) == std::string::npos) {
            return fail(parser, line.number, std::string("unexpected step '") + c + "' (use one of " + allowed + ")");
        }
    }
    StepPattern pattern{name, line.number, steps};
    if (kind == "bass")
        parser.score.basslines.push_back(pattern);
    else
        parser.score.arpeggios.push_back(pattern);
    return true;
}

bool parseChords(Parser& parser, const ScoreLine& line) {
    std::string name;
    std::string rest;
    if (!splitNamed(line.text.substr(6), &name, &rest))
        return fail(parser, line.number, "expected \"chords NAME: CHORD ...\"");
    if (nameTaken(parser.score, "chords", name))
        return fail(parser, line.number, "chords \"" + name + "\" are defined twice");
    ChordProgression progression{name, line.number, {}};
    for (const std::string& word : words(rest)) {
        Chord chord;
        if (!parseChord(word, &chord)) return fail(parser, line.number, "\"" + word + "\" is not a chord");
        progression.bars.push_back(chord);
    }
    if (progression.bars.empty()) return fail(parser, line.number, "a progression needs at least one chord");
    parser.score.progressions.push_back(progression);
    return true;
}

bool parseDrumLine(Parser& parser, const ScoreLine& line) {
    static const struct {
        const char* name;
        DrumVoice voice;
    } voices[] = {{"kick", DrumVoice::kick}, {"snare", DrumVoice::snare}, {"clap", DrumVoice::clap},
                  {"hat", DrumVoice::hat},   {"open", DrumVoice::open},   {"tom", DrumVoice::tom}};
    std::string name;
    std::string rest;
    if (!splitNamed(line.text, &name, &rest))
        return fail(parser, line.number, "expected \"VOICE: STEPS\" in a drum pattern");
    DrumPattern& pattern = parser.score.drums.back();
    for (const auto& v : voices) {
        if (name != v.name) continue;
        std::string steps = withoutSpaces(rest);
        for (char c : steps) {
            if (c != 'x' && c != 'X' && c != '.')
                return fail(parser, line.number, std::string("unexpected step '") + c + "' (use x, X or .)");
        }
        if (steps.empty() || steps.size() % stepsPerBar != 0) {
            return fail(parser, line.number, "a drum line needs 16 steps a bar; found " + std::to_string(steps.size()));
        }
        if (pattern.steps != 0 && int(steps.size()) != pattern.steps) {
            return fail(parser, line.number, "all lines of drum pattern \"" + pattern.name + "\" must be equally long");
        }
        pattern.steps = int(steps.size());
        pattern.lines.push_back(DrumLine{v.voice, steps});
        return true;
    }
    return fail(parser, line.number, "unknown drum \"" + name + "\" (kick, snare, clap, hat, open or tom)");
}

bool parseMelodyBar(Parser& parser, const ScoreLine& line) {
    std::vector<std::string> tokens = words(line.text);
    if (tokens.size() != stepsPerBar) {
        return fail(parser, line.number, "a melody bar needs 16 steps; found " + std::to_string(tokens.size()));
    }
    Melody& melody = parser.score.melodies.back();
    for (const std::string& token : tokens) {
        MelodyStep step;
        if (!parseMelodyStep(token, &step))
            return fail(parser, line.number, "\"" + token + "\" is not a note, '.' or '-'");
        melody.steps.push_back(step);
    }
    return true;
}

// "A..B" with both numbers within [lowest, highest].
bool parseRange(const std::string& text, double lowest, double highest, double* from, double* to) {
    size_t dots = text.find("..");
    if (dots == std::string::npos) return false;
    return parseFiniteDouble(text.substr(0, dots), from) && parseFiniteDouble(text.substr(dots + 2), to) &&
           *from >= lowest && *from <= highest && *to >= lowest && *to <= highest;
}

bool parseOnOff(const std::string& value, bool* flag) {
    if (value != "on" && value != "off") return false;
    *flag = value == "on";
    return true;
}

// "good:3", "evil:5-8" (one line after another, a slot each) or "-" (a slot without singing).
bool parseSungSlots(const std::string& value, std::vector<SungSlot>* slots) {
    slots->clear();
    std::string item;
    std::istringstream list(value);
    while (std::getline(list, item, ',')) {
        if (item == "-") {
            slots->push_back(SungSlot{"", 0});
            continue;
        }
        size_t colon = item.find(':');
        std::string singer = item.substr(0, colon);
        if (colon == std::string::npos || (singer != "good" && singer != "evil")) return false;
        std::string lines = item.substr(colon + 1);
        size_t dash = lines.find('-');
        double first = 0, last = 0;
        if (!parseFiniteDouble(lines.substr(0, dash), &first)) return false;
        last = first;
        if (dash != std::string::npos && !parseFiniteDouble(lines.substr(dash + 1), &last)) return false;
        if (first < 1 || last < first || last > 99 || first != int(first) || last != int(last)) return false;
        for (int line = int(first); line <= int(last); ++line) slots->push_back(SungSlot{singer, line});
    }
    return !slots->empty();
}

bool parseSectionOption(Parser& parser, int lineNumber, Section& section, const std::string& option) {
    size_t equals = option.find('=');
    std::string key = option.substr(0, equals);
    std::string value = equals == std::string::npos ? "" : option.substr(equals + 1);
    bool ok = !value.empty();
    if (!ok) return fail(parser, lineNumber, "expected key=value, found \"" + option + "\"");
    if (key == "chords")
        section.chords = value;
    else if (key == "drums")
        section.drums = value;
    else if (key == "bass")
        section.bass = value;
    else if (key == "arp")
        section.arp = value;
    else if (key == "fill")
        section.fill = value;
    else if (key == "turnaround")
        section.turnaround = value;
    else if (key == "counter")
        section.counter = value;
    else if (key == "vocal") {
        ok = parseFiniteDouble(value, &section.vocalDb) && section.vocalDb >= -20 && section.vocalDb <= 12;
    } else if (key == "transpose") {
        double semitones = 0;
        ok = parseFiniteDouble(value, &semitones) && semitones == int(semitones) && std::fabs(semitones) <= 12;
        section.transpose = int(semitones);
    } else if (key == "sing") {
        ok = parseSungSlots(value, &section.sung);
        section.singLine = lineNumber;
    } else if (key == "lead") {
        section.lead.clear();
        if (value != "-") {
            std::string part;
            std::istringstream list(value);
            while (std::getline(list, part, ',')) section.lead.push_back(part);
        }
    } else if (key == "voice") {
        ok = value == "hero" || value == "villain" || value == "hero/villain";
        section.voice = value == "hero" ? LeadVoice::hero : value == "villain" ? LeadVoice::villain : LeadVoice::turns;
    } else if (key == "pad")
        ok = parseOnOff(value, &section.pad);
    else if (key == "crash")
        ok = parseOnOff(value, &section.crash);
    else if (key == "riser")
        ok = parseOnOff(value, &section.riser);
    else if (key == "doubled")
        ok = parseOnOff(value, &section.doubled);
    else if (key == "filter")
        ok = parseRange(value, 0, 1, &section.filterFrom, &section.filterTo);
    else if (key == "level")
        ok = parseRange(value, -40, 12, &section.levelFrom, &section.levelTo);
    else
        return fail(parser, lineNumber, "unknown section key \"" + key + "\"");
    if (!ok) return fail(parser, lineNumber, "bad value \"" + value + "\" for " + key);
    return true;
}

bool parseSection(Parser& parser, const ScoreLine& line) {
    std::vector<std::string> parts = words(line.text);
    double bar = 0;
    if (parts.size() < 3 || !parseFiniteDouble(parts[2], &bar) || bar < 1 || bar > 400 || bar != int(bar)) {
        return fail(parser, line.number,
                    "expected \"section NAME BAR key=value ...\" with a whole bar number, counted from 1");
    }
    Section section;
    section.name = parts[1];
    section.line = line.number;
    section.startBar = int(bar) - 1;  // the score counts from 1
    for (size_t i = 3; i < parts.size(); ++i) {
        if (!parseSectionOption(parser, line.number, section, parts[i])) return false;
    }
    if (section.chords.empty()) return fail(parser, line.number, "a section needs chords=NAME");
    parser.score.sections.push_back(section);
    return true;
}

// "fade FROM..TO": the bars between which the song fades out, counted from 1 (138.5 is halfway
// through bar 138).
bool parseFade(Parser& parser, const ScoreLine& line, const std::vector<std::string>& parts) {
    Score& score = parser.score;
    bool ok = parts.size() == 2 && parseRange(parts[1], 1, 401, &score.fadeFromBar, &score.fadeToBar) &&
              score.fadeFromBar < score.fadeToBar;
    if (!ok) return fail(parser, line.number, "expected \"fade FROM..TO\", two bars from 1, the first the earlier");
    score.fadeFromBar -= 1;
    score.fadeToBar -= 1;
    score.fadeLine = line.number;
    return true;
}

bool parseLine(Parser& parser, const ScoreLine& line, std::string* block) {
    std::vector<std::string> parts = words(line.text);
    const std::string& keyword = parts[0];
    double value = 0;
    if (keyword == "tempo" || keyword == "end") {
        bool read = parts.size() == 2 &&
                    (keyword == "tempo" ? parseTempo(parts[1], &value) : parseFiniteDouble(parts[1], &value));
        if (!read) return fail(parser, line.number, "expected \"" + keyword + " NUMBER\"");
        if (keyword == "tempo" && (value < 60 || value > 200))
            return fail(parser, line.number, "the tempo must be 60 to 200");
        if (keyword == "end" && (value < 1 || value > 400 || value != int(value)))
            return fail(parser, line.number, "the end must be a whole bar, the song's last, 1 to 400");
        if (keyword == "tempo")
            parser.score.tempo = value;
        else
            parser.score.endBar = int(value);
        *block = "";
        return true;
    }
    if (keyword == "fade") {
        *block = "";
        return parseFade(parser, line, parts);
    }
    bool startsLine = keyword == "chords" || keyword == "bass" || keyword == "arp" || keyword == "section";
    if (startsLine) block->clear();
    if (keyword == "chords") return parseChords(parser, line);
    if (keyword == "bass") return parseStepPattern(parser, line, "bass", "ROFT.-");
    if (keyword == "arp") return parseStepPattern(parser, line, "arp", "123456.-");
    if (keyword == "section") return parseSection(parser, line);
    if (keyword == "drums" || keyword == "melody") {
        if (parts.size() != 2) return fail(parser, line.number, "expected \"" + keyword + " NAME\"");
        if (nameTaken(parser.score, keyword, parts[1]))
            return fail(parser, line.number, keyword + " \"" + parts[1] + "\" is defined twice");
        if (keyword == "drums")
            parser.score.drums.push_back(DrumPattern{parts[1], line.number, {}, 0});
        else
            parser.score.melodies.push_back(Melody{parts[1], line.number, {}});
        *block = keyword;
        return true;
    }
    if (*block == "drums") return parseDrumLine(parser, line);
    if (*block == "melody") return parseMelodyBar(parser, line);
    return fail(parser, line.number, "unknown line starting with \"" + keyword + "\"");
}

bool checkReference(Parser& parser, const Section& section, const std::string& kind, const std::string& name,
                    bool found) {
    if (found) return true;
    return fail(parser, section.line,
                "section \"" + section.name + "\" uses " + kind + " \"" + name + "\", which is not defined");
}

bool checkSection(Parser& parser, const Section& section) {
    const Score& score = parser.score;
    if (!checkReference(parser, section, "chords", section.chords, findProgression(score, section.chords)))
        return false;
    if (section.drums != "-" &&
        !checkReference(parser, section, "drums", section.drums, findDrums(score, section.drums)))
        return false;
    if (!section.fill.empty() &&
        !checkReference(parser, section, "drums", section.fill, findDrums(score, section.fill)))
        return false;
    if (!section.turnaround.empty() &&
        !checkReference(parser, section, "drums", section.turnaround, findDrums(score, section.turnaround)))
        return false;
    if (section.counter != "-" &&
        !checkReference(parser, section, "melody", section.counter, findMelody(score, section.counter)))
        return false;
    if (section.bass != "-" &&
        !checkReference(parser, section, "bass", section.bass, findBassline(score, section.bass)))
        return false;
    if (section.arp != "-" && !checkReference(parser, section, "arp", section.arp, findArpeggio(score, section.arp)))
        return false;
    for (const std::string& name : section.lead) {
        if (!checkReference(parser, section, "melody", name, findMelody(score, name))) return false;
    }
    if (!section.sung.empty() && section.lead.empty())
        return fail(parser, section.line, "section \"" + section.name + "\" sings but has no lead= melody to sing on");
    if (int(section.sung.size()) * barsPerSungLine > section.endBar - section.startBar) {
        return fail(parser, section.line,
                    "section \"" + section.name + "\" sings " + std::to_string(section.sung.size()) +
                        " lines of two bars in " + std::to_string(section.endBar - section.startBar) + " bars");
    }
    return true;
}

bool checkScore(Parser& parser) {
    Score& score = parser.score;
    if (score.tempo == 0) return failFile(parser, "the score has no \"tempo\" line");
    if (score.endBar == 0) return failFile(parser, "the score has no \"end\" line");
    if (score.sections.empty()) return failFile(parser, "the score has no sections");
    if (score.sections[0].startBar != 0)
        return fail(parser, score.sections[0].line, "the first section must start at bar 1");
    if (score.fadeLine == 0) {
        score.fadeFromBar = score.endBar - 0.75;
        score.fadeToBar = score.endBar;
    } else if (score.fadeToBar > score.endBar) {
        return fail(parser, score.fadeLine, "the fade must end by the end of the song's last bar");
    }
    for (const Melody& melody : score.melodies) {
        if (melody.steps.empty()) return fail(parser, melody.line, "melody \"" + melody.name + "\" has no bars");
    }
    for (const DrumPattern& pattern : score.drums) {
        if (pattern.lines.empty())
            return fail(parser, pattern.line, "drum pattern \"" + pattern.name + "\" has no lines");
    }
    for (size_t i = 0; i < score.sections.size(); ++i) {
        Section& section = score.sections[i];
        section.endBar = i + 1 < score.sections.size() ? score.sections[i + 1].startBar : score.endBar;
        if (section.endBar <= section.startBar) {
            return fail(parser, i + 1 < score.sections.size() ? score.sections[i + 1].line : section.line,
                        "sections must start at increasing bars, before the end");
        }
        if (!checkSection(parser, section)) return false;
    }
    return true;
}

// A comment starts at a '#' that begins a word, so sharps (F#4, C#m) are not comments.
size_t commentStart(const std::string& line) {
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) return i;
    }
    return line.size();
}

}  // namespace

ScoreResult readScore(const std::string& path) {
    Parser parser{path, Score{0, 0, 0, 0, 0, {}, {}, {}, {}, {}, {}, path}, ""};
    std::ifstream in(path);
    if (!in) return ScoreResult{parser.score, path + ": cannot be read"};
    std::string raw;
    std::string block;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        std::string text = raw.substr(0, commentStart(raw));
        if (words(text).empty()) continue;
        if (!parseLine(parser, ScoreLine{number, text}, &block)) break;
    }
    if (parser.error.empty() && in.bad()) parser.error = path + ": read error";
    if (parser.error.empty()) checkScore(parser);
    return ScoreResult{parser.score, parser.error};
}

const ChordProgression* findProgression(const Score& score, const std::string& name) {
    for (const ChordProgression& p : score.progressions) {
        if (p.name == name) return &p;
    }
    return nullptr;
}

const DrumPattern* findDrums(const Score& score, const std::string& name) {
    for (const DrumPattern& p : score.drums) {
        if (p.name == name) return &p;
    }
    return nullptr;
}

const StepPattern* findBassline(const Score& score, const std::string& name) {
    for (const StepPattern& p : score.basslines) {
        if (p.name == name) return &p;
    }
    return nullptr;
}

const StepPattern* findArpeggio(const Score& score, const std::string& name) {
    for (const StepPattern& p : score.arpeggios) {
        if (p.name == name) return &p;
    }
    return nullptr;
}

const Melody* findMelody(const Score& score, const std::string& name) {
    for (const Melody& m : score.melodies) {
        if (m.name == name) return &m;
    }
    return nullptr;
}
