#include "platform/ui/Animate.h"

#include "platform/AviReader.h"
#include "platform/FileNames.h"

#include <QPainter>

#include <algorithm>

TAnimate::TAnimate(QWidget* parent)
    : QWidget(parent)
{
    connect(&timer_, &QTimer::timeout, this, &TAnimate::advance);
}

TAnimate::~TAnimate() = default;

bool TAnimate::setFileName(const QString& fileName)
{
    timer_.stop();
    fileName_ = fileName;
    lastError_.clear();
    reader_.reset();
    frameCount_ = 0;
    current_ = 0;
    image_ = QImage();
    if (!fileName.isEmpty()) {
        try {
            auto reader = std::make_unique<orv::AviReader>(orv::AviReader::open(orv::pathFromQ(fileName)));
            if (reader->frameCount() == 0)
                throw orv::EAviError("The clip has no frames");
            frameSize_ = QSize(reader->width(), reader->height());
            frameCount_ = reader->frameCount();
            reader_ = std::move(reader);
        } catch (const std::exception& e) {
            lastError_ = QString::fromStdString(e.what());
        }
    }
    if (isOpen()) {
        if (autoSize_)
            resize(frameSize_);
        showFrame(std::clamp(startFrame_, 1, frameCount_));
    }
    updateGeometry();
    update();
    return isOpen() || fileName.isEmpty();
}

int TAnimate::lastFrame() const
{
    return stopFrame_ <= 0 ? frameCount_ : std::min(stopFrame_, frameCount_);
}

void TAnimate::setActive(bool on)
{
    if (!on) {
        timer_.stop();
        return;
    }
    if (!isOpen() || timer_.isActive())
        return;
    played_ = 0;
    showFrame(std::clamp(startFrame_, 1, frameCount_));
    const int interval = static_cast<int>(reader_->microsecondsPerFrame() / 1000);
    timer_.start(std::max(interval, 10));
}

void TAnimate::advance()
{
    const int first = std::clamp(startFrame_, 1, frameCount_);
    if (current_ < lastFrame()) {
        showFrame(current_ + 1);
        return;
    }
    ++played_;
    if (repetitions_ > 0 && played_ >= repetitions_) {
        timer_.stop();
        emit finished();
        return;
    }
    showFrame(first);
}

void TAnimate::seek(int frame)
{
    if (isOpen())
        showFrame(std::clamp(frame, 1, frameCount_));
}

void TAnimate::showFrame(int frame)
{
    try {
        const std::vector<std::uint32_t> pixels = reader_->frame(frame - 1);
        QImage image(frameSize_, QImage::Format_RGB32);
        for (int y = 0; y < frameSize_.height(); ++y)
            std::copy_n(&pixels[static_cast<size_t>(y * frameSize_.width())], frameSize_.width(),
                reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
        image_ = image;
        current_ = frame;
        emit frameShown(frame);
    } catch (const std::exception& e) {
        lastError_ = QString::fromStdString(e.what());
        timer_.stop();
    }
    update();
}

QSize TAnimate::sizeHint() const
{
    return isOpen() ? frameSize_ : QSize(0, 0);
}

void TAnimate::paintEvent(QPaintEvent*)
{
    if (image_.isNull())
        return;
    QPainter painter(this);
    // The frame is centred, as the clip may be smaller than the widget.
    painter.drawImage(QPoint((width() - image_.width()) / 2, (height() - image_.height()) / 2), image_);
}
