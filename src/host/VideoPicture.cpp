#include "host/VideoPicture.h"

#include <QPainter>
#include <QVideoSink>

namespace host {

VideoPicture::VideoPicture(QWidget* parent) : QWidget(parent), FrameSink(new QVideoSink(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(FrameSink, &QVideoSink::videoFrameChanged, this, &VideoPicture::TakeFrame);
}

// The sink, deleted with the widget's children, reports an empty frame as it stops; by then
// the picture is gone.
VideoPicture::~VideoPicture()
{
    FrameSink->disconnect(this);
}

QVideoSink& VideoPicture::Sink() const
{
    return *FrameSink;
}

void VideoPicture::TakeFrame(const QVideoFrame& frame)
{
    Frame = frame;
    update();
}

void VideoPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Frame.paint(&painter, rect(), {Qt::black, Qt::KeepAspectRatio, {}});
}

} // namespace host
