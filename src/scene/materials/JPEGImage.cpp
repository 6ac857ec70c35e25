#include "scene/materials/JPEGImage.h"

#include "platform/core/graphics/PictureFormats.h"
#include "platform/core/files/Stream.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

#include <jpeglib.h>

namespace {

// libjpeg reports fatal errors by calling error_exit, which must not return. We jump
// back to the decoder and raise from C++ there: nothing throws through libjpeg.
struct TJPEGErrorManager {
    jpeg_error_mgr Public;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr info)
{
    auto* manager = reinterpret_cast<TJPEGErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->Message);
    std::longjmp(manager->Jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

enum TDecodeResult { drOk, drFailed, drTooLarge };

// Only plain C data lives in this frame between setjmp and longjmp.
TDecodeResult Decode(const std::uint8_t* data, std::size_t size, std::uint8_t* (*allocate)(void*, std::size_t),
                     void* owner, int& width, int& height, char* message)
{
    jpeg_decompress_struct info;
    TJPEGErrorManager manager;
    info.err = jpeg_std_error(&manager.Public);
    manager.Public.error_exit = ErrorExit;
    manager.Public.output_message = IgnoreMessage;
    manager.Message[0] = 0;
    if (setjmp(manager.Jump)) {
        jpeg_destroy_decompress(&info);
        std::strcpy(message, manager.Message);
        return drFailed;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_calc_output_dimensions(&info);
    if (std::int64_t(info.output_width) * info.output_height > TJPEGImage::MaxPixels) {
        jpeg_destroy_decompress(&info);
        return drTooLarge;
    }
    jpeg_start_decompress(&info);
    const std::size_t rowBytes = std::size_t(info.output_width) * 3;
    std::uint8_t* pixels = allocate(owner, rowBytes * info.output_height);
    if (!pixels) {
        jpeg_destroy_decompress(&info);
        return drTooLarge;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + rowBytes * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return drOk;
}

std::uint8_t* AllocatePixels(void* owner, std::size_t size)
{
    auto* pixels = static_cast<std::vector<std::uint8_t>*>(owner);
    try {
        pixels->assign(size, 0);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return pixels->data();
}

} // namespace

void TJPEGImage::LoadFromStream(TStream& stream)
{
    const std::int64_t size = stream.Size() - stream.Position();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size > 0 ? size : 0));
    if (!bytes.empty()) {
        stream.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    }
    LoadFromMemory(bytes.data(), bytes.size());
}

void TJPEGImage::LoadFromMemory(const std::uint8_t* data, std::size_t size)
{
    if (!data || size == 0) {
        throw EInvalidGraphic("JPEG error: empty input");
    }
    std::vector<std::uint8_t> pixels;
    int width = 0;
    int height = 0;
    char message[JMSG_LENGTH_MAX] = {};
    switch (Decode(data, size, AllocatePixels, &pixels, width, height, message)) {
    case drOk:
        break;
    case drTooLarge:
        throw EInvalidGraphic("JPEG error: picture too large");
    case drFailed:
        throw EInvalidGraphic(std::string("JPEG error: ") + message);
    }
    FPixels.swap(pixels);
    FWidth = width;
    FHeight = height;
}

void TJPEGImage::DrawOn(TBitmap& target, const TRect& dest) const
{
    StretchPixels(target, dest, FWidth, FHeight, [&](int sx, int sy, std::uint8_t* bgra) {
        const std::uint8_t* p = FPixels.data() + (std::size_t(sy) * FWidth + sx) * 3;
        bgra[0] = p[2];
        bgra[1] = p[1];
        bgra[2] = p[0];
        bgra[3] = 255;
    });
}

void TJPEGImage::Assign(const TPersistent* source)
{
    if (const TJPEGImage* other = ObjectCast<TJPEGImage>(source)) {
        FPixels = other->FPixels;
        FWidth = other->FWidth;
        FHeight = other->FHeight;
        return;
    }
    TGraphic::Assign(source);
}

void RegisterJPEGPictureFormat()
{
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    RegisterPictureFormat<TJPEGImage>("jpg", "JPEG Image File");
    RegisterPictureFormat<TJPEGImage>("jpeg", "JPEG Image File");
    RegisterPictureFormat<TJPEGImage>("jpe", "JPEG Image File");
}
