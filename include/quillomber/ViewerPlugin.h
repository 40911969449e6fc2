/* The interface of a Quillomber viewer plug-in.
 *
 * A viewer plug-in is a native shared library that draws picture formats the program
 * cannot read itself. The program loads up to three of them from its "Plugins" folder and
 * finds these five functions by their plain C names. Texts are NUL-terminated UTF-8; a file
 * argument is the file's path on this system, and an extension argument is the file's
 * extension with its dot in upper case (".ABC").
 *
 * A function the plug-in leaves out is simply not called; without LoadFileExtensions the
 * plug-in handles no extension.
 *
 * The program calls a plug-in from its user-interface thread only, one call at a time.
 */
#ifndef QUILLOMBER_VIEWER_PLUGIN_H
#define QUILLOMBER_VIEWER_PLUGIN_H

#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The picture the program wants drawn. Pixels holds Width x Height pixels, rows from the
 * top without padding, each pixel blue, green, red and a fourth byte. The program owns the
 * buffer and fills it with the background colour first; the plug-in scales the picture to
 * exactly Width x Height. Colours are 0x00BBGGRR. */
typedef struct QuillomberPluginBitmap
{
    int32_t Version; /* 1 */
    int32_t Width;
    int32_t Height;
    int32_t BackgroundColor;
    int32_t TextColor;
    uint8_t* Pixels;
} QuillomberPluginBitmap;

/* True when pictures of this extension depend on the text format (background colour, text
 * colour, font), so that they must be drawn again when it changes. */
bool RecacheOnTextFormatChange(const char* extension);

/* The handled extensions, each with its leading dot, joined: ".ABC.DEF". Any letter case.
 * The text stays the plug-in's; the program copies it at once. */
const char* LoadFileExtensions(void);

/* Sets the picture's natural size through width and height, which the program presets to
 * -1; a size below 1 counts as not given. The available size is where the picture will be
 * shown, or -1 x -1 when it is not known. */
void GetPictureSize(const char* fileName, const char* extension, int32_t availableWidth, int32_t availableHeight,
                    int32_t* width, int32_t* height);

/* Draws the file's picture into info->Pixels. */
void LoadFileToBitmap(const char* fileName, const char* extension, QuillomberPluginBitmap* info);

/* A description of the plug-in, shown in the program's options. */
const char* GetPluginInfo(void);

/* The same functions as pointer types, for the program that loads them. */
typedef bool (*QuillomberRecacheOnTextFormatChange)(const char* extension);
typedef const char* (*QuillomberLoadFileExtensions)(void);
typedef void (*QuillomberGetPictureSize)(const char* fileName, const char* extension, int32_t availableWidth,
                                         int32_t availableHeight, int32_t* width, int32_t* height);
typedef void (*QuillomberLoadFileToBitmap)(const char* fileName, const char* extension, QuillomberPluginBitmap* info);
typedef const char* (*QuillomberGetPluginInfo)(void);

#ifdef __cplusplus
}
#endif

#endif
