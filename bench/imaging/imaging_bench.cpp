// The picture container's files and filters side by side with OpenCV on a 1600 x 1200 24-bit
// photo-like picture. Each pair has the same name with "Lensora" or "OpenCv" in front.
// OpenCV runs on one thread, as the container does.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/cx_image.h"
#include "imaging/image_filters.h"

namespace {

using lensora::CxImage;

constexpr int kWidth = 1600;
constexpr int kHeight = 1200;

// Smooth shading with fine texture and a few hard edges, like a lit part under a microscope.
const CxImage& Picture() {
    static const CxImage picture = [] {
        CxImage image;
        image.Create(kWidth, kHeight, 24);
        std::uint32_t noise = 12345;
        for (int y = 0; y < kHeight; ++y) {
            std::uint8_t* row = image.RowFromTop(y);
            for (int x = 0; x < kWidth; ++x) {
                noise = noise * 1664525u + 1013904223u;
                const double shade = 120 + 70 * std::sin(x * 0.004) * std::cos(y * 0.005);
                const double edge = ((x / 200 + y / 150) % 3 == 0) ? 40 : 0;
                for (int c = 0; c < 3; ++c) {
                    const double v = shade + edge + 15 * std::sin((x + y) * 0.05 + c) +
                                     int((noise >> (8 + 4 * c)) & 7) - 4;
                    row[x * 3 + c] = static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
                }
            }
        }
        return image;
    }();
    return picture;
}

cv::Mat PictureMat() {
    const CxImage& image = Picture();
    cv::Mat mat(kHeight, kWidth, CV_8UC3);
    for (int y = 0; y < kHeight; ++y) {
        std::memcpy(mat.ptr(y), image.RowFromTop(y), kWidth * 3);
    }
    return mat;
}

CxImage PictureCopy() {
    CxImage copy;
    Picture().CopyRect(0, 0, kWidth, kHeight, copy);
    return copy;
}

std::string TempPath(const char* name) {
    static const std::string folder = [] {
        const auto dir = std::filesystem::temp_directory_path() / "lensora-bench";
        std::filesystem::create_directories(dir);
        return dir.string();
    }();
    return folder + "/" + name;
}

const std::vector<int> kJpeg90 = {cv::IMWRITE_JPEG_QUALITY, 90};

struct OneThread {
    OneThread() { cv::setNumThreads(1); }
} oneThread;

// ---- BMP ----

void LensoraBmpWrite(benchmark::State& state) {
    const CxImage& image = Picture();
    const std::string path = TempPath("lensora.bmp");
    for (auto _ : state) {
        benchmark::DoNotOptimize(image.SaveToFile(path, lensora::kImageTypeBmp));
    }
}
void OpenCvBmpWrite(benchmark::State& state) {
    const cv::Mat mat = PictureMat();
    const std::string path = TempPath("opencv.bmp");
    for (auto _ : state) {
        benchmark::DoNotOptimize(cv::imwrite(path, mat));
    }
}
void LensoraBmpRead(benchmark::State& state) {
    const std::string path = TempPath("lensora-read.bmp");
    Picture().SaveToFile(path, lensora::kImageTypeBmp);
    for (auto _ : state) {
        CxImage image = CxImage::LoadFromFile(path, lensora::kImageTypeBmp);
        if (image.GetWidth() != kWidth) {
            state.SkipWithError("BMP did not load");
            break;
        }
        benchmark::DoNotOptimize(image.GetBits());
    }
}
void OpenCvBmpRead(benchmark::State& state) {
    const std::string path = TempPath("opencv-read.bmp");
    cv::imwrite(path, PictureMat());
    for (auto _ : state) {
        cv::Mat mat = cv::imread(path);
        if (mat.cols != kWidth) {
            state.SkipWithError("OpenCV did not load");
            break;
        }
        benchmark::DoNotOptimize(mat.data);
    }
}

// ---- JPEG quality 90 ----

void LensoraJpegWrite(benchmark::State& state) {
    const CxImage& image = Picture();
    const std::string path = TempPath("lensora.jpg");
    for (auto _ : state) {
        benchmark::DoNotOptimize(image.SaveToFile(path, lensora::kImageTypeJpeg));
    }
}
void OpenCvJpegWrite(benchmark::State& state) {
    const cv::Mat mat = PictureMat();
    const std::string path = TempPath("opencv.jpg");
    for (auto _ : state) {
        benchmark::DoNotOptimize(cv::imwrite(path, mat, kJpeg90));
    }
}
void LensoraJpegRead(benchmark::State& state) {
    const std::string path = TempPath("lensora-read.jpg");
    Picture().SaveToFile(path, lensora::kImageTypeJpeg);
    for (auto _ : state) {
        CxImage image = CxImage::LoadFromFile(path, lensora::kImageTypeJpeg);
        if (image.GetWidth() != kWidth) {
            state.SkipWithError("JPEG did not load");
            break;
        }
        benchmark::DoNotOptimize(image.GetBits());
    }
}
void OpenCvJpegRead(benchmark::State& state) {
    const std::string path = TempPath("opencv-read.jpg");
    cv::imwrite(path, PictureMat(), kJpeg90);
    for (auto _ : state) {
        cv::Mat mat = cv::imread(path);
        if (mat.cols != kWidth) {
            state.SkipWithError("OpenCV did not load");
            break;
        }
        benchmark::DoNotOptimize(mat.data);
    }
}

// ---- filters ----

template <bool (*Op)(CxImage&)>
void LensoraInPlace(benchmark::State& state) {
    CxImage image = PictureCopy();
    for (auto _ : state) {
        benchmark::DoNotOptimize(Op(image));
    }
}

bool Brighter(CxImage& image) {
    return lensora::AdjustBrightness(image, 10);
}

void LensoraMirror(benchmark::State& s) {
    LensoraInPlace<lensora::MirrorHorizontal>(s);
}
void LensoraFlip(benchmark::State& s) {
    LensoraInPlace<lensora::FlipVertical>(s);
}
void LensoraNegative(benchmark::State& s) {
    LensoraInPlace<lensora::Negative>(s);
}
void LensoraBrightness(benchmark::State& s) {
    LensoraInPlace<Brighter>(s);
}
void LensoraMedian3x3(benchmark::State& s) {
    LensoraInPlace<lensora::MedianFilter3x3>(s);
}
void LensoraAverage3x3(benchmark::State& s) {
    LensoraInPlace<lensora::AverageFilter3x3>(s);
}

template <typename Op>
void OpenCvFilter(benchmark::State& state, Op op) {
    const cv::Mat src = PictureMat();
    cv::Mat dst(src.size(), src.type());
    for (auto _ : state) {
        op(src, dst);
        benchmark::DoNotOptimize(dst.data);
    }
}

void OpenCvMirror(benchmark::State& s) {
    OpenCvFilter(s, [](const cv::Mat& a, cv::Mat& b) { cv::flip(a, b, 1); });
}
void OpenCvFlip(benchmark::State& s) {
    OpenCvFilter(s, [](const cv::Mat& a, cv::Mat& b) { cv::flip(a, b, 0); });
}
void OpenCvNegative(benchmark::State& s) {
    OpenCvFilter(s, [](const cv::Mat& a, cv::Mat& b) { cv::bitwise_not(a, b); });
}
void OpenCvBrightness(benchmark::State& s) {
    cv::Mat lut(1, 256, CV_8U);
    const auto table = lensora::BrightnessTable(10);
    std::memcpy(lut.data, table.data(), 256);
    OpenCvFilter(s, [&](const cv::Mat& a, cv::Mat& b) { cv::LUT(a, lut, b); });
}
void OpenCvMedian3x3(benchmark::State& s) {
    OpenCvFilter(s, [](const cv::Mat& a, cv::Mat& b) { cv::medianBlur(a, b, 3); });
}
void OpenCvAverage3x3(benchmark::State& s) {
    OpenCvFilter(s, [](const cv::Mat& a, cv::Mat& b) { cv::blur(a, b, cv::Size(3, 3)); });
}

#define PAIR(name)                                           \
    BENCHMARK(Lensora##name)->Unit(benchmark::kMillisecond); \
    BENCHMARK(OpenCv##name)->Unit(benchmark::kMillisecond)

PAIR(BmpWrite);
PAIR(BmpRead);
PAIR(JpegWrite);
PAIR(JpegRead);
PAIR(Mirror);
PAIR(Flip);
PAIR(Negative);
PAIR(Brightness);
PAIR(Median3x3);
PAIR(Average3x3);

}  // namespace
