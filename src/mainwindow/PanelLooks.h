#pragma once

#include <cstdint>

class MyTPanel;

// The looks the main window gives its panels.

// A button: button colours and face, over the background, hot-tracked, centred caption.
void SetButtonLook(MyTPanel& panel);
// An information field: button colours and face over the background.
void SetFieldLook(MyTPanel& panel);
// A title: a field that shortens long paths and is hot-tracked.
void SetTitleLook(MyTPanel& panel);

// The height of one line of the panel's caption font with the panel's borders: the
// height of a button, a bar or a title.
int32_t GetLineHeightWithBorders(MyTPanel& panel);
