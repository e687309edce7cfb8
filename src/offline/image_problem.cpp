// Naming what keeps an image file from loading, the same way in every tool.
#include "offline/image_problem.h"

#include "base/png_header.h"
#include "base/regular_file.h"
#include "render/texture_store.h"

#include <cstdio>
#include <cstring>
#include <map>

namespace {

std::string overCapProblem(uint64_t width, uint64_t height) {
    return std::to_string(width) + "x" + std::to_string(height) +
           " is refused: a side over the texture store's cap of " + std::to_string(maxTextureSide);
}

}  // namespace

std::string fileProblem(const std::string& path) {
    FileKind kind = fileKindAt(path.c_str());
    if (kind == FileKind::Missing) return "missing";
    const char* irregular = irregularFileText(kind);
    return irregular ? irregular : "";
}

std::string imageFileProblem(const std::string& path, ImageFileSize* size, int64_t* budgetUsed) {
    std::string problem = fileProblem(path);
    if (!problem.empty()) return problem;
    uint32_t pngWidth = 0, pngHeight = 0;
    if (pngHeaderSize(path, &pngWidth, &pngHeight) &&
        (pngWidth > uint32_t(maxTextureSide) || pngHeight > uint32_t(maxTextureSide))) {
        return overCapProblem(pngWidth, pngHeight);
    }
    int64_t used = budgetUsed ? *budgetUsed : 0;
    DecodedImage image;
    if (!decodeTextureImage(path.c_str(), maxTextureSide, &image, textureBudgetBytes - used)) {
        if (image.refusal == ImageRefusal::OverBudget && budgetUsed) {
            return std::string("refused: ") + imageRefusalText(image.refusal) + " (the images before it take " +
                   std::to_string(used >> 20) + " of " + std::to_string(textureBudgetBytes >> 20) + " MiB)";
        }
        return imageRefusalText(image.refusal);
    }
    size->width = image.width;
    size->height = image.height;
    if (budgetUsed) *budgetUsed += int64_t(image.width) * int64_t(image.height) * 4;
    freeDecodedImage(&image);
    return "";
}

std::string imageHoleText(const ImageHole& hole) {
    return hole.fileName + ": " + hole.problem + "; the show draws a hole where it stands";
}

std::string imageHolesSummary(const std::vector<ImageHole>& holes) {
    if (holes.empty()) return "";
    std::map<std::string, int> byProblem;
    for (const ImageHole& hole : holes) byProblem[hole.problem] += 1;
    std::string reasons;
    for (const auto& [problem, count] : byProblem) {
        reasons += (reasons.empty() ? "" : ", ") + std::to_string(count) + " " + problem;
    }
    bool one = holes.size() == 1;
    return std::to_string(holes.size()) + (one ? " image cannot" : " images cannot") + " be loaded (" + reasons +
           "): the show has " + (one ? "a hole where it stands" : "holes where they stand");
}
