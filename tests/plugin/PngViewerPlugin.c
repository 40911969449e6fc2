/* The sample plug-in claiming ".png" too, for the tests of which decoder wins: a ".png"
 * file in the sample's QPT form is drawn by the plug-in, never decoded as a PNG. */
#define SAMPLE_EXTENSIONS ".qpt.png"
#include "SampleViewerPlugin.c"
