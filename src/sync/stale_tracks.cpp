// Finding and removing the track files a source no longer writes.
#include "sync/stale_tracks.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>

namespace {

const std::string prefix = "sync_";
const std::string suffix = ".track";

// A name a build gives a track file: the prefix, a track name of printable characters (no
// slashes, ':' written as '['), the suffix.
bool isTrackFileName(const std::string& name) {
    if (name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return false;
    }
    for (size_t i = prefix.size(); i < name.size() - suffix.size(); ++i) {
        char c = name[i];
        if (c <= ' ' || c > '~' || c == '/' || c == '\\' || c == ':') return false;
    }
    return true;
}

// A regular file (not through a link) whose size is 4 bytes of key count and that many keys.
bool holdsTrackKeys(const std::string& name) {
    struct stat info;
    if (lstat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    int fd = open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    unsigned char count[trackCountBytes];
    bool read = ::read(fd, count, sizeof count) == ssize_t(sizeof count);
    close(fd);
    if (!read) return false;
    int64_t keys = int64_t(
        int32_t(uint32_t(count[0]) | uint32_t(count[1]) << 8 | uint32_t(count[2]) << 16 | uint32_t(count[3]) << 24));
    return keys >= 0 && keys <= maxTrackKeys && int64_t(info.st_size) == trackCountBytes + keys * trackRecordBytes;
}

}  // namespace

std::vector<std::string> removeStaleTrackFiles(const TrackSource& source, std::vector<std::string>* failures) {
    std::set<std::string> written;
    for (const SourceTrack& track : source.tracks) {
        const char* file = trackFileName("sync", track.name.c_str());
        if (file) written.insert(file);
    }
    std::vector<std::string> stale;
    DIR* folder = opendir(".");
    if (!folder) {
        failures->push_back(std::string(".: ") + std::strerror(errno));
        return stale;
    }
    while (dirent* entry = readdir(folder)) {
        std::string name = entry->d_name;
        if (isTrackFileName(name) && !written.count(name) && holdsTrackKeys(name)) stale.push_back(name);
    }
    closedir(folder);
    std::vector<std::string> removed;
    for (const std::string& name : stale) {
        if (unlink(name.c_str()) == 0)
            removed.push_back(name);
        else
            failures->push_back(name + ": " + std::strerror(errno));
    }
    return removed;
}
