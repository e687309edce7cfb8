// Scratch directories, hand-made track file bytes and key comparison, for the sync tests.
#include "support/sync_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

ScratchDirectory::ScratchDirectory() : previous(std::filesystem::current_path().string()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "sync-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()) || chdir(pattern.c_str()) != 0) {
        ADD_FAILURE() << "cannot make a scratch directory from " << pattern;
        return;
    }
    path = pattern;
}

ScratchDirectory::~ScratchDirectory() {
    if (chdir(previous.c_str()) != 0) ADD_FAILURE() << "cannot return to " << previous;
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
}

namespace {

void appendLittleEndian(std::string* bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes->push_back(static_cast<char>(value >> (8 * i) & 0xff));
}

}  // namespace

std::string trackFileBytes(int32_t count, const std::vector<TrackKey>& keys) {
    std::string bytes;
    appendLittleEndian(&bytes, static_cast<uint32_t>(count));
    for (const TrackKey& key : keys) {
        appendLittleEndian(&bytes, static_cast<uint32_t>(key.row));
        appendLittleEndian(&bytes, floatBits(key.value));
        bytes.push_back(static_cast<char>(key.kind & 0xff));
    }
    return bytes;
}

std::string trackFileBytes(const std::vector<TrackKey>& keys) {
    return trackFileBytes(static_cast<int32_t>(keys.size()), keys);
}

void writeFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file) ADD_FAILURE() << "cannot write " << path;
}

std::string readFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

uint32_t floatBits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float floatFromBits(uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool operator==(const TrackKey& a, const TrackKey& b) {
    return a.row == b.row && floatBits(a.value) == floatBits(b.value) && a.kind == b.kind;
}

void PrintTo(const TrackKey& key, std::ostream* out) {
    *out << "{" << key.row << ", " << key.value << " (bits " << std::hex << floatBits(key.value) << std::dec << "), "
         << key.kind << "}";
}

std::vector<TrackKey> keysOf(const SyncTrack* track) {
    return std::vector<TrackKey>(track->keys, track->keys + track->keyCount);
}
