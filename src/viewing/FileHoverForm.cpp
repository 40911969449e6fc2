#include "viewing/FileHoverForm.h"

TFileHoverForm* FileHoverForm = nullptr;

TFileHoverForm::TFileHoverForm(MyTMediaPlayer& player) : QWidget(nullptr), Player(player)
{
}
void TFileHoverForm::ShowForFile(const THoverRequest&)
{
}
void TFileHoverForm::Hide()
{
}
void TFileHoverForm::ReplayMedia()
{
}
void TFileHoverForm::FPaint(bool, int64_t, int64_t)
{
}
void TFileHoverForm::paintEvent(QPaintEvent*)
{
}
void TFileHoverForm::mousePressEvent(QMouseEvent*)
{
}
