#include "viewing/MediaPlayer.h"

void MyTMediaPlayer::PlayThumb(const std::string&, QWidget*, QRect, TMediaClipInfo&)
{
}
