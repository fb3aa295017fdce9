#include "capture/video_encoders.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace lensora {
namespace {

struct Candidate {
    const char* name;
    const char* label;
    bool hasQuality;
    AVPixelFormat preferred;  // AV_PIX_FMT_NONE: the least lossy one the encoder takes
};

// rawvideo first: it is the default and always present.
constexpr std::array<Candidate, 5> kCandidates{{
    {"rawvideo", "Uncompressed (24-bit BGR)", false, AV_PIX_FMT_BGR24},
    {"mjpeg", "Motion JPEG", true, AV_PIX_FMT_YUVJ420P},
    {"ffv1", "FFV1 (lossless)", false, AV_PIX_FMT_NONE},
    {"mpeg4", "MPEG-4 part 2", true, AV_PIX_FMT_YUV420P},
    {"libx264", "H.264 (x264)", false, AV_PIX_FMT_YUV420P},
}};

const Candidate* FindCandidate(const std::string& name) {
    for (const Candidate& c : kCandidates) {
        if (name == c.name) {
            return &c;
        }
    }
    return nullptr;
}

void QuietLibraries() {
    // Failures come back as results; the libraries' own chatter is not wanted on the terminal.
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_FATAL); });
}

AVPixelFormat InputFormatFor(const AVCodec& codec, const Candidate* candidate) {
    if (codec.id == AV_CODEC_ID_RAWVIDEO) {
        return AV_PIX_FMT_BGR24;
    }
    if (codec.pix_fmts == nullptr) {
        return AV_PIX_FMT_BGR24;
    }
    if (candidate != nullptr && candidate->preferred != AV_PIX_FMT_NONE) {
        for (const AVPixelFormat* p = codec.pix_fmts; *p != AV_PIX_FMT_NONE; ++p) {
            if (*p == candidate->preferred) {
                return *p;
            }
        }
    }
    return avcodec_find_best_pix_fmt_of_list(codec.pix_fmts, AV_PIX_FMT_BGR24, 0, nullptr);
}

// Quality 1..100 (100 best) as the fixed quantiser of the MPEG family, 2 (best) .. 31.
int QuantiserOfQuality(int quality) {
    return static_cast<int>(std::lround(2.0 + (100.0 - quality) * 29.0 / 99.0));
}

}  // namespace

std::string AvErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

std::vector<VideoEncoderInfo> AvailableVideoEncoders() {
    std::vector<VideoEncoderInfo> list;
    for (const Candidate& c : kCandidates) {
        if (avcodec_find_encoder_by_name(c.name) != nullptr) {
            list.push_back({c.name, c.label, c.hasQuality});
        }
    }
    return list;
}

std::vector<VideoEncoderInfo> ListVideoEncoders(int width, int height, int rate) {
    std::vector<VideoEncoderInfo> list;
    for (VideoEncoderInfo& info : AvailableVideoEncoders()) {
        std::string error;
        if (TestOpenEncoder({info.name, info.hasQuality ? kDefaultEncoderQuality : 0}, width,
                            height, rate, error)) {
            list.push_back(std::move(info));
        }
    }
    return list;
}

std::string EncoderLabel(const std::string& name) {
    const Candidate* c = FindCandidate(name.empty() ? "rawvideo" : name);
    return c != nullptr ? c->label : name;
}

struct VideoEncoder::Impl {
    AVCodecContext* context = nullptr;
    SwsContext* scale = nullptr;
    AVFrame* input = nullptr;      // wraps the caller's buffer (rawvideo)
    AVFrame* converted = nullptr;  // the encoder's pixel format (everything else)
    int width = 0;
    int height = 0;
    int quality = 0;  // lambda for a fixed quantiser, else 0

    ~Impl() {
        sws_freeContext(scale);
        av_frame_free(&input);
        av_frame_free(&converted);
        avcodec_free_context(&context);
    }
};

VideoEncoder::VideoEncoder(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
VideoEncoder::~VideoEncoder() = default;

AVCodecContext* VideoEncoder::Context() const {
    return impl_->context;
}

std::unique_ptr<VideoEncoder> VideoEncoder::Open(const CompressionOptions& options, int width,
                                                 int height, int rate, std::string& error) {
    QuietLibraries();
    const std::string name = options.encoder.empty() ? "rawvideo" : options.encoder;
    if (width <= 0 || height <= 0 || rate <= 0) {
        error = fmt::format("no frame format to record ({}x{} at {} frames per second)", width,
                            height, rate);
        return nullptr;
    }
    const AVCodec* codec = avcodec_find_encoder_by_name(name.c_str());
    if (codec == nullptr || codec->type != AVMEDIA_TYPE_VIDEO) {
        error = fmt::format("the video encoder \"{}\" is not available", name);
        return nullptr;
    }
    if (codec->id == AV_CODEC_ID_RAWVIDEO && (width * 3) % 4 != 0) {
        // Uncompressed rows in an AVI file are padded to 4 bytes; the encoder does not pad.
        error =
            fmt::format("uncompressed frames need a width whose rows fill 4 bytes, not {}", width);
        return nullptr;
    }
    const Candidate* candidate = FindCandidate(name);
    auto impl = std::make_unique<Impl>();
    impl->width = width;
    impl->height = height;
    impl->context = avcodec_alloc_context3(codec);
    if (impl->context == nullptr) {
        error = "out of memory";
        return nullptr;
    }
    AVCodecContext* c = impl->context;
    c->width = width;
    c->height = height;
    c->time_base = AVRational{1, rate};
    c->framerate = AVRational{rate, 1};
    c->pix_fmt = InputFormatFor(*codec, candidate);
    c->sample_aspect_ratio = AVRational{1, 1};
    if (c->pix_fmt == AV_PIX_FMT_NONE) {
        error = fmt::format("the video encoder \"{}\" takes no picture format", name);
        return nullptr;
    }
    const bool quality = candidate != nullptr && candidate->hasQuality && options.quality > 0;
    switch (codec->id) {
        case AV_CODEC_ID_MJPEG:
            c->color_range = AVCOL_RANGE_JPEG;
            break;
        case AV_CODEC_ID_MPEG4:
        case AV_CODEC_ID_H264:
            // AVI carries no presentation times: every frame must come out in order.
            c->max_b_frames = 0;
            c->gop_size = 2 * rate;
            break;
        default:
            break;
    }
    if (quality) {
        c->flags |= AV_CODEC_FLAG_QSCALE;
        impl->quality = QuantiserOfQuality(std::clamp(options.quality, 1, 100)) * FF_QP2LAMBDA;
        c->global_quality = impl->quality;
    }
    if (name == "libx264") {
        av_opt_set(c->priv_data, "preset", "veryfast", 0);
        av_opt_set(c->priv_data, "tune", "zerolatency", 0);
    } else {
        c->thread_count = 1;
    }
    if (const int rc = avcodec_open2(c, codec, nullptr); rc < 0) {
        error = fmt::format("the video encoder \"{}\" cannot take {}x{} frames: {}", name, width,
                            height, AvErrorText(rc));
        return nullptr;
    }
    impl->input = av_frame_alloc();
    if (impl->input == nullptr) {
        error = "out of memory";
        return nullptr;
    }
    if (c->pix_fmt != AV_PIX_FMT_BGR24) {
        impl->scale = sws_getContext(width, height, AV_PIX_FMT_BGR24, width, height, c->pix_fmt,
                                     SWS_BILINEAR, nullptr, nullptr, nullptr);
        impl->converted = av_frame_alloc();
        if (impl->scale == nullptr || impl->converted == nullptr) {
            error = fmt::format("frames cannot be converted for \"{}\"", name);
            return nullptr;
        }
        impl->converted->format = c->pix_fmt;
        impl->converted->width = width;
        impl->converted->height = height;
        impl->converted->color_range = c->color_range;
        if (av_frame_get_buffer(impl->converted, 0) < 0) {
            error = "out of memory";
            return nullptr;
        }
    }
    return std::unique_ptr<VideoEncoder>(new VideoEncoder(std::move(impl)));
}

int VideoEncoder::Send(AVBufferRef* buffer, std::int64_t position) {
    Impl& m = *impl_;
    const int row = m.width * 3;
    AVFrame* frame = nullptr;
    if (m.scale == nullptr) {
        // The rows go in as they are: bottom-up, which the AVI header then declares.
        frame = m.input;
        av_frame_unref(frame);
        frame->buf[0] = av_buffer_ref(buffer);
        if (frame->buf[0] == nullptr) {
            return AVERROR(ENOMEM);
        }
        frame->data[0] = buffer->data;
        frame->linesize[0] = row;
        frame->format = AV_PIX_FMT_BGR24;
        frame->width = m.width;
        frame->height = m.height;
    } else {
        frame = m.converted;
        if (const int rc = av_frame_make_writable(frame); rc < 0) {
            return rc;
        }
        // Read the bottom-up rows from the top: start at the last row and step backwards.
        const std::uint8_t* src[4] = {buffer->data + static_cast<std::size_t>(m.height - 1) * row,
                                      nullptr, nullptr, nullptr};
        const int srcStride[4] = {-row, 0, 0, 0};
        sws_scale(m.scale, src, srcStride, 0, m.height, frame->data, frame->linesize);
    }
    frame->pts = position;
    frame->quality = m.quality;
    frame->pict_type = AV_PICTURE_TYPE_NONE;
    const int rc = avcodec_send_frame(m.context, frame);
    if (frame == m.input) {
        av_frame_unref(frame);
    }
    return rc;
}

int VideoEncoder::SendEnd() {
    return avcodec_send_frame(impl_->context, nullptr);
}

int VideoEncoder::Receive(AVPacket* packet) {
    return avcodec_receive_packet(impl_->context, packet);
}

bool TestOpenEncoder(const CompressionOptions& options, int width, int height, int rate,
                     std::string& error) {
    std::unique_ptr<VideoEncoder> encoder = VideoEncoder::Open(options, width, height, rate, error);
    if (!encoder) {
        return false;
    }
    // The test stream: an AVI header and one grey frame, written to memory.
    AVFormatContext* format = nullptr;
    if (avformat_alloc_output_context2(&format, nullptr, "avi", nullptr) < 0) {
        error = "the AVI writer is not available";
        return false;
    }
    struct Cleanup {
        AVFormatContext* format;
        AVPacket* packet = nullptr;
        AVBufferRef* buffer = nullptr;
        ~Cleanup() {
            if (format->pb != nullptr) {
                std::uint8_t* bytes = nullptr;
                avio_close_dyn_buf(format->pb, &bytes);
                av_free(bytes);
                format->pb = nullptr;
            }
            avformat_free_context(format);
            av_packet_free(&packet);
            av_buffer_unref(&buffer);
        }
    } cleanup{format};
    AVStream* stream = avformat_new_stream(format, nullptr);
    int rc = stream == nullptr ? AVERROR(ENOMEM) : 0;
    if (rc == 0) {
        rc = avcodec_parameters_from_context(stream->codecpar, encoder->Context());
    }
    if (rc == 0) {
        stream->time_base = AVRational{1, rate};
        rc = avio_open_dyn_buf(&format->pb);
    }
    if (rc == 0) {
        rc = avformat_write_header(format, nullptr);
    }
    if (rc < 0) {
        error = fmt::format("an AVI stream cannot hold \"{}\": {}", EncoderLabel(options.encoder),
                            AvErrorText(rc));
        return false;
    }
    cleanup.buffer = av_buffer_alloc(static_cast<std::size_t>(width) * height * 3);
    cleanup.packet = av_packet_alloc();
    if (cleanup.buffer == nullptr || cleanup.packet == nullptr) {
        error = "out of memory";
        return false;
    }
    std::fill_n(cleanup.buffer->data, cleanup.buffer->size, std::uint8_t{128});
    rc = encoder->Send(cleanup.buffer, 0);
    if (rc >= 0) {
        rc = encoder->SendEnd();
    }
    while (rc >= 0) {
        rc = encoder->Receive(cleanup.packet);
        if (rc == 0) {
            cleanup.packet->stream_index = 0;
            av_packet_rescale_ts(cleanup.packet, encoder->Context()->time_base, stream->time_base);
            rc = av_write_frame(format, cleanup.packet);
            av_packet_unref(cleanup.packet);
        }
    }
    if (rc != AVERROR_EOF) {
        error = fmt::format("\"{}\" cannot encode {}x{} frames: {}", EncoderLabel(options.encoder),
                            width, height, AvErrorText(rc));
        return false;
    }
    return true;
}

bool ChooseCompression(CompressionOptions& current, const CompressionOptions& wanted, int width,
                       int height, int rate, std::string& error) {
    if (!TestOpenEncoder(wanted, width, height, rate, error)) {
        return false;
    }
    current = wanted;
    return true;
}

}  // namespace lensora
