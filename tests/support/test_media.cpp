#include "support/test_media.h"

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include "imaging/cx_image.h"

namespace lensora::test {

bool WritePicture(const std::string& path, int width, int height, std::uint8_t red,
                  std::uint8_t green, std::uint8_t blue) {
    CxImage image;
    if (!image.Create(width, height, 24)) {
        return false;
    }
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image.RowFromTop(y);
        for (int x = 0; x < width; ++x) {
            row[x * 3] = blue;
            row[x * 3 + 1] = green;
            row[x * 3 + 2] = red;
        }
    }
    const bool jpeg = path.size() > 4 && (path.ends_with(".jpg") || path.ends_with(".JPG"));
    return image.SaveToFile(path, jpeg ? kImageTypeJpeg : kImageTypeBmp);
}

bool WriteAvi(const std::string& path, int width, int height, int frames, std::uint8_t red,
              std::uint8_t green, std::uint8_t blue) {
    AVFormatContext* format = nullptr;
    if (avformat_alloc_output_context2(&format, nullptr, "avi", path.c_str()) < 0) {
        return false;
    }
    std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> formatOwner(
        format, [](AVFormatContext* f) {
            if (f->pb != nullptr) {
                avio_closep(&f->pb);
            }
            avformat_free_context(f);
        });
    const AVCodec* encoder = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    if (encoder == nullptr) {
        return false;
    }
    AVStream* stream = avformat_new_stream(format, nullptr);
    AVCodecContext* codec = avcodec_alloc_context3(encoder);
    std::unique_ptr<AVCodecContext, void (*)(AVCodecContext*)> codecOwner(
        codec, [](AVCodecContext* c) { avcodec_free_context(&c); });
    codec->width = width;
    codec->height = height;
    codec->pix_fmt = AV_PIX_FMT_YUVJ420P;
    codec->time_base = AVRational{1, 25};
    codec->framerate = AVRational{25, 1};
    codec->color_range = AVCOL_RANGE_JPEG;
    if (avcodec_open2(codec, encoder, nullptr) < 0 ||
        avcodec_parameters_from_context(stream->codecpar, codec) < 0) {
        return false;
    }
    stream->time_base = codec->time_base;
    if (avio_open(&format->pb, path.c_str(), AVIO_FLAG_WRITE) < 0 ||
        avformat_write_header(format, nullptr) < 0) {
        return false;
    }
    AVFrame* frame = av_frame_alloc();
    AVPacket* packet = av_packet_alloc();
    frame->format = codec->pix_fmt;
    frame->width = width;
    frame->height = height;
    av_frame_get_buffer(frame, 0);
    // One BGR picture converted to the encoder's format.
    std::vector<std::uint8_t> bgr(std::size_t(width) * height * 3);
    for (std::size_t i = 0; i < bgr.size(); i += 3) {
        bgr[i] = blue, bgr[i + 1] = green, bgr[i + 2] = red;
    }
    SwsContext* sws = sws_getContext(width, height, AV_PIX_FMT_BGR24, width, height, codec->pix_fmt,
                                     SWS_BILINEAR, nullptr, nullptr, nullptr);
    const std::uint8_t* src[1] = {bgr.data()};
    const int srcStride[1] = {width * 3};
    sws_scale(sws, src, srcStride, 0, height, frame->data, frame->linesize);
    sws_freeContext(sws);
    bool ok = true;
    const auto drain = [&] {
        while (avcodec_receive_packet(codec, packet) == 0) {
            av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            ok = ok && av_interleaved_write_frame(format, packet) >= 0;
        }
    };
    for (int i = 0; i < frames; ++i) {
        frame->pts = i;
        ok = ok && avcodec_send_frame(codec, frame) >= 0;
        drain();
    }
    avcodec_send_frame(codec, nullptr);
    drain();
    ok = ok && av_write_trailer(format) >= 0;
    av_packet_free(&packet);
    av_frame_free(&frame);
    return ok;
}

}  // namespace lensora::test
