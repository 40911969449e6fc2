#pragma once

#include <QVideoFrame>
#include <QWidget>

class QVideoSink;

namespace host {

// A video's picture as an ordinary child widget: the latest frame its sink received, scaled
// to fit and centred on black. It has no window of its own, so it moves between windows like
// any child and takes all it holds along when destroyed (the media framework's own video
// window never releases the backing store it paints into without a graphics API).
class VideoPicture : public QWidget
{
    Q_OBJECT

public:
    explicit VideoPicture(QWidget* parent);
    ~VideoPicture() override;

    QVideoSink& Sink() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void TakeFrame(const QVideoFrame& frame);

    QVideoSink* FrameSink;
    QVideoFrame Frame;
};

} // namespace host
