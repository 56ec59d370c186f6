#include "platform/ui/Jpeg.h"

#include "core/Lines.h"

// libjpeg's header needs FILE and size_t declared first.
#include <cstdio>
#include <jpeglib.h>

#include <csetjmp>
#include <cstring>
#include <stdexcept>

namespace orv
{
namespace
{

// libjpeg reports errors by calling error_exit, which must not return.
// Throwing through C code is not allowed, so the decoder jumps back to its
// own frame, where no object with a destructor lives.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    int warnings;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr info)
{
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    info->err->format_message(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// Warnings (corrupt data, a file cut short) make the picture untrustworthy:
// keep the first one and count them.
void onMessage(j_common_ptr info, int level)
{
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    if (level < 0 && manager->warnings++ == 0)
        info->err->format_message(info, manager->message);
}

struct Raw {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// Returns false with `manager.message` set when libjpeg fails or warns.
bool decodeRaw(const std::string& bytes, Raw& out, ErrorManager& manager)
{
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = onError;
    manager.base.emit_message = onMessage;
    manager.warnings = 0;
    manager.message[0] = '\0';
    if (setjmp(manager.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    const size_t stride = static_cast<size_t>(out.width) * 3;
    out.rgb.resize(stride * static_cast<size_t>(out.height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.rgb.data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return manager.warnings == 0;
}

} // namespace

QImage decodeJpeg(const std::string& bytes, std::string* error)
{
    Raw raw;
    ErrorManager manager;
    if (bytes.empty()) {
        if (error)
            *error = "Empty JPEG file";
        return QImage();
    }
    if (!decodeRaw(bytes, raw, manager)) {
        if (error)
            *error = manager.message;
        return QImage();
    }
    QImage image(raw.width, raw.height, QImage::Format_RGB888);
    const size_t stride = static_cast<size_t>(raw.width) * 3;
    for (int y = 0; y < raw.height; ++y)
        std::memcpy(image.scanLine(y), raw.rgb.data() + stride * static_cast<size_t>(y), stride);
    return image;
}

QImage loadJpeg(const std::string& path, std::string* error)
{
    try {
        return decodeJpeg(LoadFileBytes(path), error);
    } catch (const std::exception& e) {
        if (error)
            *error = e.what();
        return QImage();
    }
}

QImage loadLogo(const std::string& programFolder, double scale)
{
    if (scale > 1.0) {
        const QImage fine = loadJpeg(programFolder + kLogo2xFileName);
        if (!fine.isNull())
            return fine;
    }
    return loadJpeg(programFolder + kLogoFileName);
}

namespace
{

bool encodeRaw(int width, int height, const std::uint8_t* rgb, int quality, unsigned char** buffer, unsigned long* size,
    ErrorManager& manager)
{
    jpeg_compress_struct info;
    info.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = onError;
    manager.message[0] = '\0';
    if (setjmp(manager.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, buffer, size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    const size_t stride = static_cast<size_t>(width) * 3;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + stride * info.next_scanline);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

std::string encodeJpeg(int width, int height, const std::vector<std::uint8_t>& rgb, int quality)
{
    if (width <= 0 || height <= 0 || rgb.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 3)
        throw std::runtime_error("encodeJpeg: bad picture size");
    ErrorManager manager;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = encodeRaw(width, height, rgb.data(), quality, &buffer, &size, manager);
    std::string bytes = ok ? std::string(reinterpret_cast<const char*>(buffer), size) : std::string();
    std::free(buffer);
    if (!ok)
        throw std::runtime_error(std::string("JPEG encoding failed: ") + manager.message);
    return bytes;
}

} // namespace orv
