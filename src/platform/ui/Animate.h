#pragma once
// TAnimate: the animation player. It plays a silent AVI clip (8-bit,
// uncompressed or RLE8) frame by frame from StartFrame to StopFrame, at the
// clip's own frame rate, Repetitions times (0: until stopped). Frames are
// numbered from 1. A clip that cannot be read leaves the player empty; the
// reason is kept in lastError() and nothing is thrown.
#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace orv
{
class AviReader;
}

class TAnimate : public QWidget
{
    Q_OBJECT

public:
    explicit TAnimate(QWidget* parent = nullptr);
    ~TAnimate() override;

    // Opens the clip (showing its start frame) or, with "", closes it.
    // False when the file cannot be played. Stops any playing first.
    bool setFileName(const QString& fileName);
    const QString& fileName() const { return fileName_; }
    const QString& lastError() const { return lastError_; }

    bool isOpen() const { return frameCount_ > 0; }
    int frameCount() const { return frameCount_; }
    QSize frameSize() const { return frameSize_; }

    // Start playing (from StartFrame) or stop (staying on the frame shown).
    // Activating without a clip does nothing and stays inactive.
    bool active() const { return timer_.isActive(); }
    void setActive(bool on);

    int startFrame() const { return startFrame_; }
    void setStartFrame(int frame) { startFrame_ = frame; }
    // 0 means the clip's last frame.
    int stopFrame() const { return stopFrame_; }
    void setStopFrame(int frame) { stopFrame_ = frame; }
    int repetitions() const { return repetitions_; }
    void setRepetitions(int count) { repetitions_ = count; }

    // The frame shown, from 1; 0 when no clip is open.
    int currentFrame() const { return current_; }
    // Shows one frame without playing.
    void seek(int frame);
    // What is shown now (a null image without a clip).
    const QImage& currentImage() const { return image_; }

    // When on (the default), the widget takes the clip's frame size.
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool on) { autoSize_ = on; }

    QSize sizeHint() const override;

signals:
    // Emitted for every frame put on show.
    void frameShown(int frame);
    // Emitted when playing ends after its repetitions, not when stopped.
    void finished();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void showFrame(int frame);
    void advance();
    int lastFrame() const;

    QString fileName_;
    QString lastError_;
    std::unique_ptr<orv::AviReader> reader_;
    int frameCount_ = 0;
    QSize frameSize_;
    QImage image_;
    QTimer timer_;
    int startFrame_ = 1;
    int stopFrame_ = 0;
    int repetitions_ = 0;
    int played_ = 0; // complete passes in this play
    int current_ = 0;
    bool autoSize_ = true;
};
