// The file names of the show's images and their load order.
#include "base/show_images.h"

namespace {

constexpr int sumOf(const int* values, int count) {
    int sum = 0;
    for (int i = 0; i < count; ++i) sum += values[i];
    return sum;
}
static_assert(sumOf(showImagePartSizes, showImagePartCount) == showImageCount, "the parts hold every image once");
static_assert(sumOf(polaroidSetSizes, polaroidSetCount) == showImagePartSize(ShowImagePart::polaroids),
              "the polaroids are the sets' photographs");

const char* const goodFaceNames[] = {"annoyed",    "awww",    "basic",     "happy-thoughtful", "huh",
                                     "open-mouth", "pleased", "sceptical", "shrewd",           "silly"};
const char* const tunnelTextureNames[] = {"tunnel1", "tex6", "tex9"};
static_assert(sizeof goodFaceNames / sizeof *goodFaceNames == showImagePartSize(ShowImagePart::goodFaces),
              "a name a face");
static_assert(sizeof tunnelTextureNames / sizeof *tunnelTextureNames ==
                  showImagePartSize(ShowImagePart::tunnelTextures),
              "a name a texture");

// 01 .. 09, 10 ...
std::string twoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// "omkvaedS.N": photograph N of set S, both counted from 1, for the index-th over all sets.
std::string polaroidName(int index) {
    int set = 0;
    while (set + 1 < polaroidSetCount && index >= polaroidSetSizes[set]) index -= polaroidSetSizes[set++];
    return "omkvaed" + std::to_string(set + 1) + "." + std::to_string(index + 1);
}

// "R.C": column C of row R, both counted from 1.
std::string pictogramName(int index) {
    return std::to_string(index / pictogramsPerRow + 1) + "." + std::to_string(index % pictogramsPerRow + 1);
}

}  // namespace

std::string showImageFileName(ShowImagePart part, int index) {
    if (index < 0 || index >= showImagePartSize(part)) return "";
    const std::string number = std::to_string(index + 1);
    switch (part) {
    case ShowImagePart::goodFaces: return std::string("data/avatars/") + goodFaceNames[index] + ".png";
    case ShowImagePart::evilFaces: return "data/avatars/evil_0" + std::to_string(index) + ".png";
    case ShowImagePart::goodBubble: return "data/good_lyrics/bg-taleboble.png";
    case ShowImagePart::evilBubble: return "data/evil_lyrics/bg-taleboble.png";
    case ShowImagePart::goodLyrics: return "data/good_lyrics/" + twoDigits(index + 1) + ".png";
    case ShowImagePart::evilLyrics: return "data/evil_lyrics/" + twoDigits(index + 1) + ".png";
    case ShowImagePart::refrainBackground: return "data/refrain/refrain-bg.png";
    case ShowImagePart::refrainSun: return "data/refrain/mirekand-o-sol.png";
    case ShowImagePart::refrainForeground: return "data/refrain/refrain-foregrund.png";
    case ShowImagePart::pictograms: return "data/pictograms/" + pictogramName(index) + ".png";
    case ShowImagePart::features: return "data/features/" + number + ".png";
    case ShowImagePart::polaroids: return "data/refrain/polaroids/" + polaroidName(index) + ".png";
    case ShowImagePart::credits: return "data/credits/credit1." + number + ".png";
    case ShowImagePart::tunnelTextures: return std::string("data/tunnel/") + tunnelTextureNames[index] + ".png";
    case ShowImagePart::logo: return "data/zemlogo.png";
    }
    return "";
}

std::vector<ShowImage> showImages() {
    std::vector<ShowImage> images;
    images.reserve(showImageCount);
    for (int at = 0; at < showImagePartCount; ++at) {
        ShowImagePart part = ShowImagePart(at);
        for (int index = 0; index < showImagePartSizes[at]; ++index) {
            images.push_back(ShowImage{showImageFileName(part, index), part, index});
        }
    }
    return images;
}
