// The rules of the code's house that the compiler does not hold: OpenGL only in the render layer,
// the windowing library and GL contexts only in the platform layer, one program-wide pointer, and
// a comment at the top of every file saying what it is for.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct SourceFile {
    std::string path;  // from the repository's root
    std::string text;
};

// Every C++ source and header under the folders, in a stable order.
std::vector<SourceFile> sourcesUnder(const std::vector<std::string>& folders) {
    std::vector<SourceFile> files;
    for (const std::string& folder : folders) {
        for (const auto& entry : fs::recursive_directory_iterator(fs::path(DEMO_SOURCE_DIR) / folder)) {
            std::string extension = entry.path().extension().string();
            if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
            std::ifstream in(entry.path());
            std::stringstream text;
            text << in.rdbuf();
            files.push_back({fs::relative(entry.path(), DEMO_SOURCE_DIR).string(), text.str()});
        }
    }
    std::sort(files.begin(), files.end(), [](const SourceFile& a, const SourceFile& b) { return a.path < b.path; });
    return files;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Files under src/ and tools/ that include a header whose path starts with `header` and lie outside
// every one of the allowed folders.
std::vector<std::string> includersOutside(const std::string& header, const std::vector<std::string>& allowed) {
    std::vector<std::string> found;
    for (const SourceFile& file : sourcesUnder({"src", "tools"})) {
        bool inAllowed = false;
        for (const std::string& folder : allowed) inAllowed = inAllowed || startsWith(file.path, folder);
        if (!inAllowed && file.text.find("#include <" + header) != std::string::npos) found.push_back(file.path);
    }
    return found;
}

}  // namespace

TEST(HouseRules, OpenGLIsCalledOnlyFromTheRenderLayerAndTheContextsMaker) {
    // The platform layer makes the GL contexts (an offscreen one needs a few GL calls of its own).
    EXPECT_EQ(includersOutside("GL/", {"src/render/", "src/platform/"}), std::vector<std::string>{});
}

TEST(HouseRules, WindowsAndContextsAreMadeOnlyInThePlatformLayer) {
    EXPECT_EQ(includersOutside("GLFW/", {"src/platform/"}), std::vector<std::string>{});
    EXPECT_EQ(includersOutside("EGL/", {"src/platform/"}), std::vector<std::string>{});
}

TEST(HouseRules, TheTextureStoreIsTheOneProgramWidePointer) {
    std::vector<std::string> declarations;
    for (const SourceFile& file : sourcesUnder({"src"})) {
        std::istringstream lines(file.text);
        for (std::string line; std::getline(lines, line);) {
            // A block of C linkage (the browser's calls into the page) declares no variable.
            bool linkage = startsWith(line, "extern \"C\" {");
            if (startsWith(line, "extern ") && !linkage && line.find("const") == std::string::npos) {
                declarations.push_back(file.path + ": " + line);
            }
        }
    }
    // The encoder's child process is handed the environment the C library keeps.
    EXPECT_EQ(declarations,
              (std::vector<std::string>{"src/platform/video_encoder.cpp: extern char** environ;",
                                        "src/render/texture_store.h: extern TextureStore* currentTextures;"}));
}

TEST(HouseRules, EveryFileSaysWhatItIsForAtTheTop) {
    std::vector<std::string> silent;
    for (const SourceFile& file : sourcesUnder({"src", "tools", "tests", "bench", "fuzz"})) {
        if (!startsWith(file.text, "// ")) silent.push_back(file.path);
    }
    EXPECT_EQ(silent, std::vector<std::string>{});
}
