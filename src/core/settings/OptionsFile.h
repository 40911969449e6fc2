#pragma once

class TStoredTextList;

// The program options and the file viewer's settings in the text option file: sections
// "Main", "MouseOperations", "MouseMenu2", "FileHover", "Viewer", "FileList" and
// "ViewerPlugins". The options dialog calls these from its load and save callbacks.

// Reads every option. A missing key, or a value of the wrong form, outside its range or
// outside its choice list, leaves the option as it is and the load goes on. The options
// applied by ApplyProgramOptions take effect as soon as their part has been read.
void LoadProgramOptionsSTL(TStoredTextList& store);
// Writes every option. FirstRun becomes false, and the program's autostart entry is
// made or removed to follow Autorun, whatever the outcome of that.
void SaveProgramOptionsSTL(TStoredTextList& store);
