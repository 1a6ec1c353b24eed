// The BMP loader on hostile files: the fuzzer's seed corpus and every input it has found
// (tests/fuzz) and every truncation of small valid files, the empty file included. Each load
// either succeeds with an image that agrees with its headers or fails with the file closed
// and the image left alone. Files that are no regular files fail in BinaryFileTest.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "image/BmpLoader.h"
#include "tests/image/BmpTestFiles.h"

namespace {
const std::string kCorpus = std::string(TAVIK_TEST_DATA) + "/fuzz/corpus";
const std::string kRegressions = std::string(TAVIK_TEST_DATA) + "/fuzz/regressions";

// Names of the regular files in a directory, sorted; hidden files (.keep) left out.
std::vector<std::string> FilesIn(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        const std::string name = entry.path().filename();
        if (entry.is_regular_file() && name[0] != '.') {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// A little-endian field of the file, 0 where the file ends within it (as the loader leaves
// a field it could not read).
uint32_t Field(const Bytes& file, size_t offset, size_t length) {
    if (offset + length > file.size()) {
        return 0;
    }
    uint32_t value = 0;
    for (size_t i = 0; i < length; ++i) {
        value |= static_cast<uint32_t>(file[offset + i]) << (8 * i);
    }
    return value;
}

// Loads path into an image that already holds one marked pixel; on failure the image must
// still hold it, and in every case the file must be closed again.
bool LoadOverMarkedImage(const char* path, Image* image) {
    EXPECT_TRUE(image->Create(1, 1, 8));
    image->Pixels()[0] = 77;
    const int descriptors = OpenDescriptorCount();
    const bool loaded = LoadBmp(path, image);
    EXPECT_EQ(OpenDescriptorCount(), descriptors) << "the file was left open";
    if (!loaded) {
        EXPECT_NE(image->Pixels(), nullptr) << "a refused file freed the old pixels";
        EXPECT_EQ(image->Width(), 1u);
        if (image->Pixels() != nullptr) {
            EXPECT_EQ(image->Pixels()[0], 77);
        }
    }
    return loaded;
}

// A loaded image has the header's size and depth and a stride with no padding.
void ExpectImageOfHeader(const Image& image, const Bytes& file) {
    const int32_t width = static_cast<int32_t>(Field(file, 18, 4));
    const int32_t height = static_cast<int32_t>(Field(file, 22, 4));
    const uint32_t bits = Field(file, 28, 2);
    EXPECT_EQ(image.Width(), static_cast<uint32_t>(width));
    EXPECT_EQ(image.Height(), static_cast<uint32_t>(height < 0 ? -height : height));
    EXPECT_EQ(image.BitsPerPixel(), bits);
    EXPECT_EQ(image.Stride(), image.Width() * (bits / 8));
    EXPECT_NE(image.Pixels(), nullptr);
}
}  // namespace

// The names carry the documented result: "valid-..." files load, "bad-..." files are refused.
// A finding of the fuzzer is added under the name of the result it must have.
TEST(BmpHostileFilesTest, CorpusAndRegressionInputsGiveTheirDocumentedResults) {
    int files = 0;
    for (const std::string& directory : {kCorpus, kRegressions}) {
        for (const std::string& name : FilesIn(directory)) {
            SCOPED_TRACE(directory + "/" + name);
            ++files;
            const std::string path = directory + "/" + name;
            const bool valid = StartsWith(name, "valid-");
            ASSERT_TRUE(valid || StartsWith(name, "bad-"))
                << "name the file valid-... or bad-... after the result the loader must give";
            Image image;
            const bool loaded = LoadOverMarkedImage(path.c_str(), &image);
            EXPECT_EQ(loaded, valid);
            if (loaded) {
                ExpectImageOfHeader(image, ReadWholeFile(path.c_str()));
            }
        }
    }
    EXPECT_GE(files, 20) << "the seed corpus was not found in " << kCorpus;
}

TEST(BmpHostileFilesTest, EveryTruncationOfAValidFileIsRefused) {
    for (const char* name :
         {"valid-24bit-16x8.bmp", "valid-8bit-5x3-palette.bmp", "valid-32bit-2x3.bmp"}) {
        SCOPED_TRACE(name);
        const Bytes whole = ReadWholeFile((kCorpus + "/" + name).c_str());
        ASSERT_GT(whole.size(), 54u);
        Image image;
        {
            TempFile complete(whole);
            EXPECT_TRUE(LoadOverMarkedImage(complete.Path(), &image)) << "the whole file loads";
        }
        for (size_t length = 0; length < whole.size(); ++length) {
            TempFile cut(Bytes(whole.begin(), whole.begin() + length));
            EXPECT_FALSE(LoadOverMarkedImage(cut.Path(), &image)) << "cut to " << length;
        }
    }
}
