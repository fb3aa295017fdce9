// The video encoders a recording can use: the ones of this FFmpeg build that take the frame
// store's 24-bit BGR frames (converted where the encoder needs another pixel format) and fit in
// an AVI file. CompressionOptions is the operator's choice for the run; VideoEncoder is one open
// encoder, used by the recorder's writer thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct AVBufferRef;
struct AVCodecContext;
struct AVPacket;

namespace lensora {

// The encoder of the recordings. An empty encoder name is the uncompressed default (rawvideo,
// 24-bit BGR bottom-up rows, as a bitmap stores them).
struct CompressionOptions {
    std::string encoder;  // FFmpeg encoder name, e.g. "mjpeg"; empty: rawvideo
    int quality = 0;      // 1..100 for encoders with a quality; 0: the encoder's default
    friend bool operator==(const CompressionOptions&, const CompressionOptions&) = default;
};

inline constexpr int kDefaultEncoderQuality = 90;

struct VideoEncoderInfo {
    std::string name;   // FFmpeg encoder name
    std::string label;  // shown in the compressor list
    bool hasQuality = false;
};

// The known candidates present in this FFmpeg build, in list order (rawvideo first).
std::vector<VideoEncoderInfo> AvailableVideoEncoders();
// The candidates that open for frames of this size: what the compressor list offers.
std::vector<VideoEncoderInfo> ListVideoEncoders(int width, int height, int rate);
// The label of an encoder name ("Uncompressed" for the default), or the name itself.
std::string EncoderLabel(const std::string& name);

// Opens the encoder and an AVI stream for it in memory, as a recording would. False with the
// reason when it cannot take frames of this size.
bool TestOpenEncoder(const CompressionOptions& options, int width, int height, int rate,
                     std::string& error);

// Keeps `wanted` in `current` only when it opens for the frame format; otherwise `current`
// stays in force and `error` says why.
bool ChooseCompression(CompressionOptions& current, const CompressionOptions& wanted, int width,
                       int height, int rate, std::string& error);

// One open encoder. Frames go in as bottom-up 24-bit BGR rows held in a reference-counted
// buffer (no copy for rawvideo: the rows pass unchanged); packets come out in the encoder's
// time base of 1/rate, stamped with the frame's position.
class VideoEncoder {
  public:
    static std::unique_ptr<VideoEncoder> Open(const CompressionOptions& options, int width,
                                              int height, int rate, std::string& error);
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    AVCodecContext* Context() const;
    // Sends one frame (`bottomUp` points into `buffer`); an FFmpeg error code or 0.
    int Send(AVBufferRef* buffer, std::int64_t position);
    // Sends the end of the stream; Receive then yields the delayed packets.
    int SendEnd();
    // 0 with a packet, AVERROR(EAGAIN) or AVERROR_EOF when there is none, else an error.
    int Receive(AVPacket* packet);

  private:
    struct Impl;
    explicit VideoEncoder(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// FFmpeg's text for an error code.
std::string AvErrorText(int code);

}  // namespace lensora
