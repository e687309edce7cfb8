// Comparing a choreography source's grid with the song's, and the song's length with the show's.
#include "sync/song_fit.h"

#include <algorithm>
#include <cmath>

#include "base/number_words.h"
#include "base/show_facts.h"

namespace {

bool sameNumber(double a, double b) { return std::fabs(a - b) <= 1e-9 * std::max(std::fabs(a), std::fabs(b)); }

std::string gridMisfit(const MusicalGrid& source, const MusicalGrid& song, const std::string& eventsFile) {
    std::string songTempo = formatNumber("%g", song.tempo), sourceTempo = formatNumber("%g", source.tempo);
    if (!sameNumber(source.tempo, song.tempo)) {
        return "the song (" + eventsFile + ") plays at " + songTempo + " beats a minute, but this source counts " +
               sourceTempo +
               ": its bars would drift off the music; make the score's tempo and this source's 'tempo' "
               "the same";
    }
    if (source.beatsPerBar != song.beatsPerBar) {
        return "the song (" + eventsFile + ") has " + std::to_string(song.beatsPerBar) +
               " beats a bar, but this source counts " + std::to_string(source.beatsPerBar) +
               ": its bars would not be the song's; make 'beats-per-bar' " + std::to_string(song.beatsPerBar);
    }
    if (!sameNumber(source.startRow, song.startRow)) {
        return "the song's bar 1 starts at row " + formatNumber("%g", song.startRow) + " (" + eventsFile +
               "), but this source's at row " + formatNumber("%g", source.startRow) + "; make 'start-row' " +
               formatNumber("%g", song.startRow);
    }
    return "";
}

}  // namespace

std::vector<std::string> songMisfits(const MusicalGrid& source, const SongEventList& song,
                                     const std::string& eventsFile) {
    std::vector<std::string> misfits;
    if (source.known && song.grid.known) {
        std::string misfit = gridMisfit(source, song.grid, eventsFile);
        if (!misfit.empty()) misfits.push_back(misfit);
    }
    if (song.endRow >= 0 && song.endRow < rowLimit) {
        misfits.push_back(
            "the song (" + eventsFile + ") ends at row " + formatNumber("%.1f", song.endRow) + " (" +
            formatNumber("%.1f s", song.endRow / rowsPerSecond) + "), before the show's end at row " +
            formatNumber("%g", rowLimit) + " (" + formatNumber("%g s", rowLimit / rowsPerSecond) +
            "): the show would end in silence; make the score longer (its 'end' bar) or its tempo slower");
    }
    return misfits;
}
