#include "imaging/jpeg_codec.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

// jpeglib.h needs size_t and FILE declared before it.
#include <jerror.h>
#include <jpeglib.h>

#include "imaging/cx_file.h"
#include "imaging/cx_image.h"
#include "imaging/image_messages.h"

namespace lensora {

namespace msg = image_message;

namespace {

constexpr std::size_t kStreamBufferSize = 64 * 1024;
// Progressive files can have any number of scans, each costing a pass over the coefficients;
// real encoders write about ten. Far more is a hostile file that would take minutes.
constexpr int kMaxScans = 256;
// Coefficient buffers of progressive and multi-scan files; beyond this the library stops with
// an error instead of asking for more.
constexpr long kMaxLibraryMemory = 512L * 1024 * 1024;

// The library reports a fatal error by calling error_exit, which by default ends the process.
// This one keeps the message and jumps back to the call that started the library operation.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool sawEof;  // the stream ended; a fake end marker was handed to the library
};

[[noreturn]] void JumpBack(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::longjmp(err->jump, 1);
}

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    JumpBack(cinfo);
}

// True while the decoder is in the one scan of a sequential file, where running out of input
// costs no pixel unless the entropy decoder then asks for more bits.
bool InOnlyScan(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) {
        return false;
    }
    const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    return !d->progressive_mode && d->comps_in_scan > 0 && d->comps_in_scan == d->num_components;
}

// Warnings after which the library goes on with zeroed coefficients: part of the picture
// would be flat grey while the rest looks whole, so the file is refused with the warning's
// text instead.
bool MeansIncompletePicture(int code) {
    switch (code) {
        case JWRN_HIT_MARKER:     // premature end of data segment
        case JWRN_MUST_RESYNC:    // restart marker missing, data skipped
        case JWRN_HUFF_BAD_CODE:  // damaged entropy-coded data
            return true;
        default:
            return false;
    }
}

void EmitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) {
        return;  // trace output
    }
    if (MeansIncompletePicture(cinfo->err->msg_code)) {
        ErrorExit(cinfo);
    }
    // A file that ends early is a cut-off file, not a picture: the library would fill the rest
    // with grey and call that a warning. Only a sequential file whose data is complete and
    // lacks just its end marker is kept.
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (cinfo->err->msg_code == JWRN_JPEG_EOF) {
        if (!InOnlyScan(cinfo)) {
            ErrorExit(cinfo);
        }
        err->sawEof = true;
    } else if (err->sawEof) {
        cinfo->err->msg_code = JWRN_JPEG_EOF;  // data was missing after all
        ErrorExit(cinfo);
    }
    cinfo->err->num_warnings++;
}

void OutputMessage(j_common_ptr) {}

void InitErrorManager(ErrorManager& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.emit_message = EmitMessage;
    err.pub.output_message = OutputMessage;
    err.message[0] = '\0';
    err.sawEof = false;
}

void AbortWith(j_common_ptr cinfo, const char* text) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::snprintf(err->message, sizeof err->message, "%s", text);
    JumpBack(cinfo);
}

void LimitScans(j_common_ptr cinfo) {
    if (cinfo->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
        AbortWith(cinfo, "JPEG: too many scans");
    }
}

// ---- source: a CxFile read in blocks ----

struct Source {
    jpeg_source_mgr pub;
    CxFile* file;
    bool startOfFile;
    JOCTET buffer[kStreamBufferSize];
};

void InitSource(j_decompress_ptr cinfo) {
    reinterpret_cast<Source*>(cinfo->src)->startOfFile = true;
}

boolean FillInputBuffer(j_decompress_ptr cinfo) {
    auto* src = reinterpret_cast<Source*>(cinfo->src);
    std::size_t n = src->file->ReadItems(src->buffer, 1, kStreamBufferSize);
    if (n == 0) {
        if (src->startOfFile) {
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        }
        WARNMS(cinfo, JWRN_JPEG_EOF);  // made fatal by EmitMessage
        src->buffer[0] = 0xFF;
        src->buffer[1] = JPEG_EOI;
        n = 2;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = n;
    src->startOfFile = false;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
    auto* src = reinterpret_cast<Source*>(cinfo->src);
    if (count <= 0) {
        return;
    }
    while (static_cast<std::size_t>(count) > src->pub.bytes_in_buffer) {
        count -= static_cast<long>(src->pub.bytes_in_buffer);
        FillInputBuffer(cinfo);
    }
    src->pub.next_input_byte += count;
    src->pub.bytes_in_buffer -= static_cast<std::size_t>(count);
}

void TermSource(j_decompress_ptr) {}

// ---- destination: a CxFile written in blocks ----

struct Destination {
    jpeg_destination_mgr pub;
    CxFile* file;
    JOCTET buffer[kStreamBufferSize];
};

void InitDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<Destination*>(cinfo->dest);
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kStreamBufferSize;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<Destination*>(cinfo->dest);
    if (dest->file->WriteItems(dest->buffer, 1, kStreamBufferSize) != kStreamBufferSize) {
        ERREXIT(cinfo, JERR_FILE_WRITE);
    }
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kStreamBufferSize;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<Destination*>(cinfo->dest);
    const std::size_t n = kStreamBufferSize - dest->pub.free_in_buffer;
    if (n > 0 && dest->file->WriteItems(dest->buffer, 1, n) != n) {
        ERREXIT(cinfo, JERR_FILE_WRITE);
    }
}

// Everything the library touches lives here, on the heap and outside the functions that call
// setjmp, so that a longjmp skips no destructor.
struct DecodeContext {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    jpeg_progress_mgr progress;
    Source src;
    bool createFailed;  // the picture was refused by Create, whose message stands
};

struct EncodeContext {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    Destination dest;
};

// Adobe writes CMYK inverted (0 = full ink), as almost every CMYK JPEG in the wild is.
void CmykRowToBgr(const JSAMPLE* cmyk, std::uint8_t* bgr, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        }
        bgr[0] = static_cast<std::uint8_t>((y * k + 127) / 255);
        bgr[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
        bgr[2] = static_cast<std::uint8_t>((c * k + 127) / 255);
    }
}

// The smallest of the library's eighth steps at which the picture still covers fillWidth x
// fillHeight: the inverse DCT then skips the coefficients a thumbnail never shows.
void ChooseScale(jpeg_decompress_struct& cinfo, int fillWidth, int fillHeight) {
    if (fillWidth <= 0 || fillHeight <= 0) {
        return;
    }
    cinfo.scale_denom = 8;
    for (unsigned num = 1; num <= 8; ++num) {
        const std::uint64_t w = (std::uint64_t(cinfo.image_width) * num + 7) / 8;
        const std::uint64_t h = (std::uint64_t(cinfo.image_height) * num + 7) / 8;
        if (num == 8 || (w >= std::uint64_t(fillWidth) && h >= std::uint64_t(fillHeight))) {
            cinfo.scale_num = num;
            break;
        }
    }
    if (cinfo.scale_num < 8) {
        // A thumbnail is shrunk further afterwards: the fast transform and plain chroma
        // replication cost nothing visible there.
        cinfo.dct_method = JDCT_IFAST;
        cinfo.do_fancy_upsampling = FALSE;
    }
}

bool RunDecode(DecodeContext* ctx, CxImage& image, CxFile& file, int fillWidth = 0,
               int fillHeight = 0) {
    jpeg_decompress_struct& cinfo = ctx->cinfo;
    if (setjmp(ctx->err.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kMaxLibraryMemory;
    ctx->src.file = &file;
    ctx->src.pub.init_source = InitSource;
    ctx->src.pub.fill_input_buffer = FillInputBuffer;
    ctx->src.pub.skip_input_data = SkipInputData;
    ctx->src.pub.resync_to_restart = jpeg_resync_to_restart;
    ctx->src.pub.term_source = TermSource;
    ctx->src.pub.bytes_in_buffer = 0;
    ctx->src.pub.next_input_byte = nullptr;
    cinfo.src = &ctx->src.pub;
    ctx->progress.progress_monitor = LimitScans;
    cinfo.progress = &ctx->progress;

    jpeg_read_header(&cinfo, TRUE);
    std::uint32_t bits = 24;
    bool cmyk = false;
    if (cinfo.num_components == 1) {
        cinfo.out_color_space = JCS_GRAYSCALE;
        bits = 8;
    } else if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK) {
        cinfo.out_color_space = JCS_CMYK;
        cmyk = true;
    } else {
        // The library writes blue, green, red straight into the image's rows.
        cinfo.out_color_space = JCS_EXT_BGR;
    }
    ChooseScale(cinfo, fillWidth, fillHeight);
    jpeg_calc_output_dimensions(&cinfo);
    // The picture is allocated before any pixel is decoded, so the size limit applies first.
    if (!image.Create(cinfo.output_width, cinfo.output_height, bits, kImageTypeJpeg)) {
        ctx->createFailed = true;
        return false;
    }
    if (bits == 8) {
        image.SetGreyPalette();
    }
    if (cinfo.saw_JFIF_marker) {
        if (cinfo.density_unit == 1) {
            image.SetXDpi(cinfo.X_density);
            image.SetYDpi(cinfo.Y_density);
        } else if (cinfo.density_unit == 2) {
            image.SetXDpi(static_cast<std::int32_t>(std::floor(cinfo.X_density * 2.54 + 0.5)));
            image.SetYDpi(static_cast<std::int32_t>(std::floor(cinfo.Y_density * 2.54 + 0.5)));
        }
    }

    jpeg_start_decompress(&cinfo);
    const JDIMENSION height = cinfo.output_height;
    if (cinfo.output_width != JDIMENSION(image.GetWidth()) ||
        height != JDIMENSION(image.GetHeight())) {
        AbortWith(reinterpret_cast<j_common_ptr>(&cinfo), "JPEG: unexpected output size");
    }
    JSAMPARRAY scratch = nullptr;
    if (cmyk) {
        scratch = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                             cinfo.output_width * 4, 1);
    }
    while (cinfo.output_scanline < height) {
        if (cmyk) {
            jpeg_read_scanlines(&cinfo, scratch, 1);
            CmykRowToBgr(scratch[0], image.RowFromTop(int(cinfo.output_scanline - 1)),
                         cinfo.output_width, cinfo.saw_Adobe_marker);
            continue;
        }
        JSAMPROW rows[16];
        const JDIMENSION count = std::min<JDIMENSION>(16, height - cinfo.output_scanline);
        for (JDIMENSION k = 0; k < count; ++k) {
            rows[k] = image.RowFromTop(int(cinfo.output_scanline + k));
        }
        jpeg_read_scanlines(&cinfo, rows, count);
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

bool RunEncode(EncodeContext* ctx, const CxImage& image, CxFile& file) {
    jpeg_compress_struct& cinfo = ctx->cinfo;
    if (setjmp(ctx->err.jump) != 0) {
        return false;
    }
    jpeg_create_compress(&cinfo);
    ctx->dest.file = &file;
    ctx->dest.pub.init_destination = InitDestination;
    ctx->dest.pub.empty_output_buffer = EmptyOutputBuffer;
    ctx->dest.pub.term_destination = TermDestination;
    cinfo.dest = &ctx->dest.pub;

    const bool grey = image.GetBpp() == 8;
    cinfo.image_width = static_cast<JDIMENSION>(image.GetWidth());
    cinfo.image_height = static_cast<JDIMENSION>(image.GetHeight());
    cinfo.input_components = grey ? 1 : 3;
    // Blue-green-red input: the library converts while it reads, no scratch row is needed.
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    const std::uint32_t options = image.GetCodecOption();
    jpeg_set_quality(&cinfo, static_cast<int>(image.GetJpegQuality()),
                     (options & 0x1) != 0 ? TRUE : FALSE);
    if (!grey) {
        cinfo.comp_info[0].h_samp_factor = 2;
        cinfo.comp_info[0].v_samp_factor = 2;
        if (options & 0x2000) {
            cinfo.comp_info[0].h_samp_factor = 1;
            cinfo.comp_info[0].v_samp_factor = 1;
        } else if (options & 0x1000) {
            cinfo.comp_info[0].v_samp_factor = 1;
        }
        for (int c = 1; c < 3; ++c) {
            cinfo.comp_info[c].h_samp_factor = 1;
            cinfo.comp_info[c].v_samp_factor = 1;
        }
    }
    cinfo.write_JFIF_header = TRUE;
    cinfo.density_unit = 1;
    cinfo.X_density = static_cast<UINT16>(std::clamp(image.GetXDpi(), 1, 65535));
    cinfo.Y_density = static_cast<UINT16>(std::clamp(image.GetYDpi(), 1, 65535));

    jpeg_start_compress(&cinfo, TRUE);
    const JDIMENSION height = cinfo.image_height;
    while (cinfo.next_scanline < height) {
        JSAMPROW rows[16];
        const JDIMENSION count = std::min<JDIMENSION>(16, height - cinfo.next_scanline);
        for (JDIMENSION k = 0; k < count; ++k) {
            // The library only reads input rows; its interface is not const-qualified.
            rows[k] = const_cast<JSAMPROW>(image.RowFromTop(int(cinfo.next_scanline + k)));
        }
        jpeg_write_scanlines(&cinfo, rows, count);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

}  // namespace

bool CxImageJPG::Decode(CxImage& image, CxFile& file) {
    return DecodeScaled(image, file, 0, 0);
}

bool CxImageJPG::DecodeScaled(CxImage& image, CxFile& file, int fillWidth, int fillHeight) {
    image.Destroy();
    auto ctx = std::make_unique<DecodeContext>();
    std::memset(static_cast<void*>(ctx.get()), 0, sizeof(DecodeContext));
    InitErrorManager(ctx->err);
    ctx->cinfo.err = &ctx->err.pub;
    const bool ok = RunDecode(ctx.get(), image, file, fillWidth, fillHeight);
    jpeg_destroy_decompress(&ctx->cinfo);
    if (!ok) {
        image.Destroy();
        if (!ctx->createFailed) {
            image.SetLastError(ctx->err.message);
        }
    }
    return ok;
}

bool CxImageJPG::Encode(const CxImage& image, CxFile& file) {
    if (!image.IsValid()) {
        image.SetLastError(msg::kNullImage);
        return false;
    }
    if (image.GetBpp() != 24 && !image.IsGrey()) {
        image.SetLastError(msg::kJpegRgbOrGrey);
        return false;
    }
    auto ctx = std::make_unique<EncodeContext>();
    std::memset(static_cast<void*>(ctx.get()), 0, sizeof(EncodeContext));
    InitErrorManager(ctx->err);
    ctx->cinfo.err = &ctx->err.pub;
    const bool ok = RunEncode(ctx.get(), image, file);
    jpeg_destroy_compress(&ctx->cinfo);
    if (!ok) {
        image.SetLastError(ctx->err.message);
    }
    return ok;
}

}  // namespace lensora
