#include "capture/capture_format.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace lensora {
namespace {

class Writer {
  public:
    explicit Writer(std::uint8_t* out) : out_(out) {}
    template <typename T>
    void Put(T value) {
        using U = std::make_unsigned_t<T>;
        auto u = static_cast<U>(value);
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            out_[pos_++] = static_cast<std::uint8_t>(u >> (8 * i));
        }
    }

  private:
    std::uint8_t* out_;
    std::size_t pos_ = 0;
};

class Reader {
  public:
    explicit Reader(const std::uint8_t* in) : in_(in) {}
    template <typename T>
    T Get() {
        using U = std::make_unsigned_t<T>;
        U u = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            u |= static_cast<U>(static_cast<U>(in_[pos_++]) << (8 * i));
        }
        return static_cast<T>(u);
    }

  private:
    const std::uint8_t* in_;
    std::size_t pos_ = 0;
};

}  // namespace

std::array<std::uint8_t, kVideoFormatBlockSize> SerializeFormatBlock(const VideoFormatBlock& b) {
    std::array<std::uint8_t, kVideoFormatBlockSize> out{};
    Writer w(out.data());
    for (std::int32_t v : b.source)
        w.Put(v);
    for (std::int32_t v : b.target)
        w.Put(v);
    w.Put(b.bitRate);
    w.Put(b.bitErrorRate);
    w.Put(b.avgTimePerFrame);
    w.Put(b.headerSize);
    w.Put(b.width);
    w.Put(b.height);
    w.Put(b.planes);
    w.Put(b.bitCount);
    w.Put(b.compression);
    w.Put(b.sizeImage);
    w.Put(b.xPelsPerMeter);
    w.Put(b.yPelsPerMeter);
    w.Put(b.clrUsed);
    w.Put(b.clrImportant);
    return out;
}

std::optional<VideoFormatBlock> ParseFormatBlock(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kVideoFormatBlockSize) {
        return std::nullopt;
    }
    VideoFormatBlock b;
    Reader r(bytes.data());
    for (std::int32_t& v : b.source)
        v = r.Get<std::int32_t>();
    for (std::int32_t& v : b.target)
        v = r.Get<std::int32_t>();
    b.bitRate = r.Get<std::uint32_t>();
    b.bitErrorRate = r.Get<std::uint32_t>();
    b.avgTimePerFrame = r.Get<std::int64_t>();
    b.headerSize = r.Get<std::uint32_t>();
    b.width = r.Get<std::int32_t>();
    b.height = r.Get<std::int32_t>();
    b.planes = r.Get<std::uint16_t>();
    b.bitCount = r.Get<std::uint16_t>();
    b.compression = r.Get<std::uint32_t>();
    b.sizeImage = r.Get<std::uint32_t>();
    b.xPelsPerMeter = r.Get<std::int32_t>();
    b.yPelsPerMeter = r.Get<std::int32_t>();
    b.clrUsed = r.Get<std::uint32_t>();
    b.clrImportant = r.Get<std::uint32_t>();
    // A stored bottom-up height may be negative in some writers; a size outside what any
    // camera delivers means a damaged file, which is treated as absent.
    if (b.width < 1 || b.width > kMaxCaptureSide || b.height == 0 ||
        std::abs(static_cast<long long>(b.height)) > kMaxCaptureSide || b.avgTimePerFrame < 0) {
        return std::nullopt;
    }
    return b;
}

std::string CapConfigPath(const std::string& appFolder) {
    return appFolder + "/CapConfig.dat";
}

std::optional<VideoFormatBlock> ReadCapConfig(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(kVideoFormatBlockSize);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(kVideoFormatBlockSize)) {
        return std::nullopt;
    }
    return ParseFormatBlock(bytes);
}

bool WriteCapConfig(const std::string& path, const VideoFormatBlock& block) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    const auto bytes = SerializeFormatBlock(block);
    out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return static_cast<bool>(out);
}

std::uint32_t FormatBitRate(std::int64_t avgTimePerFrame, std::uint32_t sizeImage) {
    if (avgTimePerFrame <= 0) {
        return 0;
    }
    const double fps = 10'000'000.0 / static_cast<double>(avgTimePerFrame);
    const auto rounded = static_cast<std::uint64_t>(fps + 0.49999999);
    return static_cast<std::uint32_t>(rounded * sizeImage * 8u);
}

VideoFormatBlock DefaultFormatBlock(bool largeSensor, std::int64_t avgTimePerFrame) {
    VideoFormatBlock b;
    b.width = largeSensor ? 1600 : 1280;
    b.height = largeSensor ? 1200 : 1024;
    b.bitCount = 16;
    b.compression = kFourCcYuy2;
    b.avgTimePerFrame = avgTimePerFrame;
    b.sizeImage = static_cast<std::uint32_t>(b.width * b.height * 2);
    b.bitRate = FormatBitRate(avgTimePerFrame, b.sizeImage);
    return b;
}

int RecordingFrameRate(bool largeSensor, int captureWidth) {
    if (largeSensor) {
        return captureWidth == 640 ? 15 : captureWidth == 1280 ? 14 : 5;
    }
    return captureWidth == 320 ? 15 : captureWidth == 640 ? 14 : 5;
}

bool LargeSensorAfterProbe(bool current, const SensorProbe& probe) {
    if (!probe.anyYuvFormat) {
        return current;
    }
    return probe.yuv1600x1200;
}

StreamFormat ToStreamFormat(const VideoFormatBlock& block) {
    return {block.width, std::abs(block.height), block.avgTimePerFrame};
}

VideoFormatBlock FormatBlockFor(const StreamFormat& applied, std::int64_t avgTimePerFrame) {
    VideoFormatBlock b;
    b.source = {0, 0, applied.width, applied.height};
    b.target = b.source;
    b.width = applied.width;
    b.height = applied.height;
    b.avgTimePerFrame =
        applied.frameInterval100ns > 0 ? applied.frameInterval100ns : avgTimePerFrame;
    b.compression = applied.nativeFourCc != 0 ? applied.nativeFourCc : kFourCcYuy2;
    b.bitCount = static_cast<std::uint16_t>(
        applied.nativeFourCc != 0 && applied.nativeBitCount > 0 ? applied.nativeBitCount : 16);
    const auto pixels =
        static_cast<std::uint32_t>(applied.width) * static_cast<std::uint32_t>(applied.height);
    b.sizeImage = b.bitCount == 16 ? pixels * 2 : b.bitCount == 24 ? pixels * 3 : pixels;
    b.bitRate = FormatBitRate(b.avgTimePerFrame, b.sizeImage);
    return b;
}

}  // namespace lensora
