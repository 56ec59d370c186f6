#pragma once
// JPEG pictures through libjpeg, called directly: decoding the toolbar logo
// into an image, and encoding, which the build's artwork tool and the tests
// use to make pictures of their own.
#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

namespace orv
{

// Decodes a baseline or progressive JPEG (grey or colour) into an RGB
// image. A file that is not a JPEG, is cut short or has corrupt data gives
// a null image and, when `error` is given, libjpeg's message.
QImage decodeJpeg(const std::string& bytes, std::string* error = nullptr);

// Reads and decodes a file; a file that cannot be read gives a null image.
QImage loadJpeg(const std::string& path, std::string* error = nullptr);

// The artwork the build lays out in the program folder.
inline constexpr const char* kLogoFileName = "logo.jpg";
inline constexpr const char* kLogo2xFileName = "logo@2x.jpg"; // twice as fine, for scaled screens
inline constexpr const char* kAnimationFileName = "orvalen.avi";

// The toolbar logo from the program folder (ending in "/"); a null image
// when it is missing or cannot be decoded. On a screen scaled above 100%
// (`scale` > 1) the finer picture is taken when there is one.
QImage loadLogo(const std::string& programFolder, double scale = 1.0);

// Encodes `rgb` (width * height * 3 bytes, top row first) at `quality`
// (1 to 100). Throws std::runtime_error when libjpeg fails.
std::string encodeJpeg(int width, int height, const std::vector<std::uint8_t>& rgb, int quality = 90);

} // namespace orv
