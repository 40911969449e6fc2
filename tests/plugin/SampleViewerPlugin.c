/* A sample viewer plug-in, built for the tests: it draws ".QPT" files.
 *
 * A QPT file is a line of text, "QPT <width> <height> <colour>": the picture's natural size
 * in pixels, reported as written however large, and its colour as "rrggbb" in hexadecimal,
 * or "none". The picture is that colour inside a one-pixel frame in the program's text
 * colour, drawn at whatever size the program asks. With "none" nothing is drawn: the buffer
 * keeps what the program put there. A file of any other form has no size and is not drawn.
 */
#include "quillomber/ViewerPlugin.h"

#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef struct QptPicture
{
    int32_t Width;
    int32_t Height;
    bool Drawn;
    int32_t Color; /* 0x00BBGGRR, as the program's colours */
} QptPicture;

static bool ParseSide(const char* text, int32_t* side)
{
    char* end = NULL;
    const long value = strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 1 || value > INT32_MAX)
        return false;
    *side = (int32_t)value;
    return true;
}

static bool ParseColor(const char* text, QptPicture* picture)
{
    unsigned long rgb = 0;
    if (strcmp(text, "none") == 0) {
        picture->Drawn = false;
        return true;
    }
    if (strlen(text) != 6 || strspn(text, "0123456789abcdefABCDEF") != 6)
        return false;
    rgb = strtoul(text, NULL, 16);
    picture->Drawn = true;
    picture->Color = (int32_t)(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
    return true;
}

static bool ReadQpt(const char* fileName, QptPicture* picture)
{
    char line[128];
    char width[32];
    char height[32];
    char color[32];
    FILE* file = fopen(fileName, "r");
    bool read = false;
    if (!file)
        return false;
    read = fgets(line, sizeof line, file) != NULL && sscanf(line, "QPT %31s %31s %31s", width, height, color) == 3 &&
           ParseSide(width, &picture->Width) && ParseSide(height, &picture->Height) && ParseColor(color, picture);
    fclose(file);
    return read;
}

static void PutPixel(uint8_t* pixel, int32_t color)
{
    pixel[0] = (uint8_t)((color >> 16) & 0xFF);
    pixel[1] = (uint8_t)((color >> 8) & 0xFF);
    pixel[2] = (uint8_t)(color & 0xFF);
    pixel[3] = 255;
}

bool RecacheOnTextFormatChange(const char* extension)
{
    (void)extension;
    return true;
}

#ifndef SAMPLE_EXTENSIONS
#define SAMPLE_EXTENSIONS ".qpt"
#endif

const char* LoadFileExtensions(void)
{
    return SAMPLE_EXTENSIONS;
}

void GetPictureSize(const char* fileName, const char* extension, int32_t availableWidth, int32_t availableHeight,
                    int32_t* width, int32_t* height)
{
    QptPicture picture;
    (void)extension;
    (void)availableWidth;
    (void)availableHeight;
    if (!ReadQpt(fileName, &picture))
        return;
    *width = picture.Width;
    *height = picture.Height;
}

void LoadFileToBitmap(const char* fileName, const char* extension, QuillomberPluginBitmap* info)
{
    QptPicture picture;
    int32_t x = 0;
    int32_t y = 0;
    (void)extension;
    if (!info->Pixels || info->Width < 1 || info->Height < 1 || !ReadQpt(fileName, &picture) || !picture.Drawn)
        return;
    for (y = 0; y < info->Height; ++y)
        for (x = 0; x < info->Width; ++x) {
            const bool frame = x == 0 || y == 0 || x == info->Width - 1 || y == info->Height - 1;
            PutPixel(info->Pixels + ((size_t)y * (size_t)info->Width + (size_t)x) * 4,
                     frame ? info->TextColor : picture.Color);
        }
}

const char* GetPluginInfo(void)
{
    return "Sample plug-in: QPT pictures, a colour in a frame of the text colour.";
}
