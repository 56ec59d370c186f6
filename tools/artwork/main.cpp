// Writes the program's artwork into the folder given as the only argument:
// orvalen.avi (the search animation, RLE8) and logo.jpg (the toolbar logo).
// With a second folder, also the desktop icon in the hicolor theme's layout
// below it (NxN/apps/orvalen.png).
#include "Art.h"
#include "core/Lines.h"
#include "platform/AviWriter.h"
#include "platform/ui/Jpeg.h"

#include <QDir>

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: orvalen_artwork <output folder> [<icon theme folder>]\n");
        return 2;
    }
    try {
        const std::string folder = std::string(argv[1]) + "/";
        orv::SaveFileBytes(
            folder + orv::kAnimationFileName, orv::writeAvi(art::searchAnimation(), orv::AviEncoding::Rle8));
        orv::SaveFileBytes(
            folder + "logo.jpg", orv::encodeJpeg(art::kLogoWidth, art::kLogoHeight, art::logoPixels(), 92));
        orv::SaveFileBytes(folder + orv::kLogo2xFileName,
            orv::encodeJpeg(2 * art::kLogoWidth, 2 * art::kLogoHeight, art::logoPixels(2), 92));
        if (argc == 3) {
            for (const int size : art::kIconSizes) {
                const QString dir = QString::fromLocal8Bit(argv[2]) + QStringLiteral("/%1x%1/apps").arg(size);
                if (!QDir().mkpath(dir) || !art::programIcon(size).save(dir + QStringLiteral("/orvalen.png"), "PNG"))
                    throw std::runtime_error("cannot write the icon into " + dir.toStdString());
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvalen_artwork: %s\n", e.what());
        return 1;
    }
    return 0;
}
