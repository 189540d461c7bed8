// Decoding with libjpeg(-turbo). Its errors leave by longjmp, so the decoding frame holds nothing
// that needs a destructor; the pixels live in the caller's Picture.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "ui/picture.h"

namespace ui {

namespace {

constexpr int max_side = 16384;  // a damaged header must not make us allocate gigabytes

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
    bool warned;
};

[[noreturn]] void on_error(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->escape, 1);
}

void on_message(j_common_ptr cinfo, int level) {
    // Level -1 is a warning about corrupt data (a truncated file, a bad marker): treat it as damage.
    if (level < 0) reinterpret_cast<ErrorManager*>(cinfo->err)->warned = true;
}

bool decode_into(const unsigned char* data, unsigned long size, Picture& out) {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = on_error;
    err.base.emit_message = on_message;
    err.warned = false;
    if (setjmp(err.escape)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const bool sane = cinfo.output_components == 3 && cinfo.output_width > 0 && cinfo.output_height > 0 &&
                      cinfo.output_width <= max_side && cinfo.output_height <= max_side;
    if (!sane) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    const std::size_t stride = std::size_t{cinfo.output_width} * 3;
    out.width = static_cast<int>(cinfo.output_width);
    out.height = static_cast<int>(cinfo.output_height);
    out.rgb.resize(stride * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.rgb.data() + stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return !err.warned;
}

}  // namespace

Picture decode_jpeg(std::span<const std::uint8_t> bytes) {
    Picture picture;
    if (bytes.empty() || !decode_into(bytes.data(), bytes.size(), picture)) return {};
    return picture;
}

}  // namespace ui
