// Inputs kept from fuzzing: the seed corpora must still decode, and every file under
// tests/data/imaging/fuzz/ (inputs that once crashed or hung a decoder) must end cleanly.
#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/cx_image.h"
#include "support/temp_dir.h"

namespace lensora {
namespace {

namespace fs = std::filesystem;

CxImage LoadBytes(const std::string& bytes, std::uint32_t type) {
    return CxImage::LoadFromMemory(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size(), type);
}

TEST(FuzzRegression, SeedCorporaDecode) {
    const fs::path seeds = fs::path(LENSORA_TEST_DATA) / ".." / ".." / "fuzz" / "seeds";
    int count = 0;
    for (const char* name : {"bmp_decode", "dib_load", "jpeg_decode"}) {
        const std::uint32_t type =
            std::string(name) == "jpeg_decode" ? kImageTypeJpeg : kImageTypeBmp;
        for (const auto& entry : fs::directory_iterator(seeds / name)) {
            const CxImage image = LoadBytes(test::ReadFile(entry.path()), type);
            EXPECT_TRUE(image.IsValid()) << entry.path() << ": " << image.LastError();
            ++count;
        }
    }
    EXPECT_GT(count, 20);
}

TEST(FuzzRegression, KeptInputsEndCleanly) {
    const fs::path kept = fs::path(LENSORA_TEST_DATA) / "imaging" / "fuzz";
    if (!fs::exists(kept)) {
        GTEST_SKIP() << "no kept inputs";
    }
    for (const auto& entry : fs::directory_iterator(kept)) {
        const std::string bytes = test::ReadFile(entry.path());
        for (std::uint32_t type : {kImageTypeUnknown, kImageTypeBmp, kImageTypeJpeg}) {
            const CxImage image = LoadBytes(bytes, type);
            EXPECT_TRUE(image.IsValid() || !image.LastError().empty()) << entry.path();
        }
    }
}

}  // namespace
}  // namespace lensora
