// Writes the program's artwork into the folder given as the only argument:
// orvalen.avi (the search animation, RLE8) and logo.jpg (the toolbar logo).
#include "Art.h"
#include "core/Lines.h"
#include "platform/AviWriter.h"
#include "platform/ui/Jpeg.h"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvalen_artwork <output folder>\n");
        return 2;
    }
    try {
        const std::string folder = std::string(argv[1]) + "/";
        orv::SaveFileBytes(
            folder + orv::kAnimationFileName, orv::writeAvi(art::searchAnimation(), orv::AviEncoding::Rle8));
        orv::SaveFileBytes(
            folder + "logo.jpg", orv::encodeJpeg(art::kLogoWidth, art::kLogoHeight, art::logoPixels(), 92));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvalen_artwork: %s\n", e.what());
        return 1;
    }
    return 0;
}
