// First frame of a recording through libavformat / libavcodec, converted with libswscale.
#include <memory>
#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include "imaging/cx_image.h"
#include "library/thumbnail.h"

namespace lensora {

namespace {

// A damaged file may hold nothing decodable; give up after this many packets instead of
// reading a long recording to its end.
constexpr int kMaxPackets = 512;

struct FormatCloser {
    void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
struct CodecFreer {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct PacketFreer {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FrameFreer {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct ScaleFreer {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};

std::string ErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

bool ToImage(const AVFrame& frame, CxImage& image, std::string& error) {
    if (frame.width <= 0 || frame.height <= 0) {
        error = "video frame has no size";
        return false;
    }
    if (!image.Create(frame.width, frame.height, 24)) {
        error = image.LastError();
        return false;
    }
    std::unique_ptr<SwsContext, ScaleFreer> scale(sws_getContext(
        frame.width, frame.height, static_cast<AVPixelFormat>(frame.format), frame.width,
        frame.height, AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!scale) {
        error = "video frame format cannot be converted";
        image.Destroy();
        return false;
    }
    // The image stores rows bottom-up: start at the top row and step backwards.
    std::uint8_t* dst[4] = {image.RowFromTop(0), nullptr, nullptr, nullptr};
    int dstStride[4] = {-static_cast<int>(image.GetStride()), 0, 0, 0};
    sws_scale(scale.get(), frame.data, frame.linesize, 0, frame.height, dst, dstStride);
    return true;
}

}  // namespace

bool DecodeFirstVideoFrame(const std::string& path, CxImage& image, std::string& error) {
    // A damaged recording is reported by the result; the library's own chatter is not wanted
    // on the terminal.
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_FATAL); });
    image.Destroy();
    AVFormatContext* raw = nullptr;
    int rc = avformat_open_input(&raw, path.c_str(), nullptr, nullptr);
    if (rc < 0) {
        error = ErrorText(rc);
        return false;
    }
    std::unique_ptr<AVFormatContext, FormatCloser> format(raw);
    rc = avformat_find_stream_info(format.get(), nullptr);
    if (rc < 0) {
        error = ErrorText(rc);
        return false;
    }
    const AVCodec* decoder = nullptr;
    const int stream = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (stream < 0 || decoder == nullptr) {
        error = "no video stream";
        return false;
    }
    std::unique_ptr<AVCodecContext, CodecFreer> codec(avcodec_alloc_context3(decoder));
    if (!codec ||
        avcodec_parameters_to_context(codec.get(), format->streams[stream]->codecpar) < 0) {
        error = "video decoder cannot be set up";
        return false;
    }
    codec->thread_count = 1;
    rc = avcodec_open2(codec.get(), decoder, nullptr);
    if (rc < 0) {
        error = ErrorText(rc);
        return false;
    }
    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
    if (!packet || !frame) {
        error = "out of memory";
        return false;
    }
    bool flushed = false;
    for (int packets = 0; packets < kMaxPackets;) {
        if (!flushed) {
            rc = av_read_frame(format.get(), packet.get());
            if (rc < 0) {
                avcodec_send_packet(codec.get(), nullptr);  // drain what the decoder holds
                flushed = true;
            } else {
                if (packet->stream_index == stream) {
                    ++packets;
                    avcodec_send_packet(codec.get(), packet.get());
                }
                av_packet_unref(packet.get());
            }
        }
        rc = avcodec_receive_frame(codec.get(), frame.get());
        if (rc == 0) {
            return ToImage(*frame, image, error);
        }
        if (rc != AVERROR(EAGAIN) || flushed) {
            break;  // end of stream, or the decoder gave up
        }
    }
    error = "no video frame could be decoded";
    return false;
}

}  // namespace lensora
