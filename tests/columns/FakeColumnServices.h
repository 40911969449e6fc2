#pragma once

#include "columns/InformationBar.h"
#include "columns/MainWindowItemPaint.h"
#include "panels/MyTPanel.h"

#include <QPainter>
#include <QWidget>

#include <array>
#include <string>
#include <vector>

// Stands in for the main window's hot-item record, hover window and thumbnail painter
// while it lives; the thumbnail painter fills the picture rectangle in its colour.
class TFakeItemPainting : public TMainWindowItemPaint
{
public:
    struct TThumbCall
    {
        std::string Title;
        int64_t Size;
        host::FileTime Modified;
        QRect InfoRect;
        QRect PictureRect;
    };

    TFakeItemPainting() { TSeam<TMainWindowItemPaint>::Install(this); }
    ~TFakeItemPainting() override { TSeam<TMainWindowItemPaint>::Install(nullptr); }
    TFakeItemPainting(const TFakeItemPainting&) = delete;
    TFakeItemPainting& operator=(const TFakeItemPainting&) = delete;

    THotItemRecord& GetHotItemRecord() override { return Record; }
    void HideFileHover() override { ++HoverHidden; }
    void PaintThumb(const std::string& title, MyTPanel&, int64_t size, host::FileTime modified, QPainter& canvas,
                    QRect infoRect, QRect pictureRect) override
    {
        ThumbCalls.push_back({title, size, modified, infoRect, pictureRect});
        canvas.fillRect(pictureRect, ToQColor(PictureColor));
    }

    THotItemRecord Record;
    int HoverHidden = 0;
    std::vector<TThumbCall> ThumbCalls;
    TColor PictureColor = 0x123456;
};

// Stands in for the main window's information bars while it lives: a panel per field,
// and the description and reference bars shown unless a test hides them.
class TFakeInfoBars : public TMainWindowInfoBars
{
public:
    TFakeInfoBars()
    {
        for (MyTPanel*& field : Fields)
            field = new MyTPanel(&Owner);
        TSeam<TMainWindowInfoBars>::Install(this);
    }
    ~TFakeInfoBars() override { TSeam<TMainWindowInfoBars>::Install(nullptr); }
    TFakeInfoBars(const TFakeInfoBars&) = delete;
    TFakeInfoBars& operator=(const TFakeInfoBars&) = delete;

    MyTPanel* GetInfoField(TInfoField field) override { return Fields.at(static_cast<size_t>(field)); }
    bool IsInfoBarVisible(TInfoBar bar) override { return bar == ibColumn || bar == ibFile || ReferenceBarsShown; }

    std::string Caption(TInfoField field) { return GetInfoField(field)->GetCaption(); }
    std::string Hint(TInfoField field) { return GetInfoFieldHint(field); }

    bool ReferenceBarsShown = true;

private:
    QWidget Owner;
    std::array<MyTPanel*, InfoFieldCount> Fields{};
};
