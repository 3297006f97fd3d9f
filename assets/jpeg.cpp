#include "assets/texture.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include <jerror.h>

namespace {

// Pictures larger than this are refused rather than allocated.
constexpr long long maxJpegPixels = 1LL << 24;

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf back;
};

// Lets libjpeg print its message, then returns to loadJpeg instead of ending the program.
void jpegFatal(j_common_ptr info) {
    (*info->err->output_message)(info);
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->back, 1);
}

// Ends the decoding through libjpeg's error path, so the picture fails with its message.
void refuseAsTooLarge(jpeg_decompress_struct& info) {
    info.err->msg_code = JERR_OUT_OF_MEMORY;
    info.err->msg_parm.i[0] = 0;
    (*info.err->error_exit)(reinterpret_cast<j_common_ptr>(&info));
}

} // namespace

int loadJpeg(const char* fileName, RgbImage& image) {
    std::FILE* file = std::fopen(fileName, "rb");
    if (!file) {
        std::fprintf(stderr, "can't open %s\n", fileName);
        return 0;
    }
    jpeg_decompress_struct info;
    JpegError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jpegFatal;
    image.pixels = nullptr;
    if (setjmp(error.back)) {
        // A half-decoded picture is no picture: nothing stale may be uploaded from it.
        std::free(image.pixels);
        image.pixels = nullptr;
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        return 0;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    const long long pixelCount =
        static_cast<long long>(info.image_width) * static_cast<long long>(info.image_height);
    if (pixelCount > maxJpegPixels) refuseAsTooLarge(info);
    image.width = static_cast<std::int32_t>(info.image_width);
    image.height = static_cast<std::int32_t>(info.image_height);
    image.pixels = static_cast<unsigned char*>(std::malloc(pixelCount * 3));
    if (!image.pixels) refuseAsTooLarge(info);
    jpeg_start_decompress(&info);
    const int stride = static_cast<int>(info.output_width) * info.output_components;
    JSAMPARRAY row =
        (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, stride, 1);
    const int components = stride / image.width;
    while (info.output_scanline < info.output_height) {
        const JDIMENSION r = info.output_scanline;
        if (jpeg_read_scanlines(&info, row, 1) != 1) break;
        unsigned char* out = image.pixels + static_cast<std::size_t>(r) * image.width * 3;
        const unsigned char* in = row[0];
        for (int x = 0; x < image.width; ++x, in += components, out += 3) {
            if (components == 3) {
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
            } else {
                out[0] = out[1] = out[2] = in[0];
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return 1;
}
