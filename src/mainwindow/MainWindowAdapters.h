#pragma once

#include <memory>

class TMainForm;

// Installs the main window as the columns' services while it lives: the window, the
// boards, the keys, the mouse press record, the containers, the hot item and the
// information bars, and the overwrite dialog as the file dialogs' overwrite question. The
// other dialogs' services keep their stand-ins, which change nothing.
class TMainWindowAdapters
{
public:
    explicit TMainWindowAdapters(TMainForm& window);
    ~TMainWindowAdapters();
    TMainWindowAdapters(const TMainWindowAdapters&) = delete;
    TMainWindowAdapters& operator=(const TMainWindowAdapters&) = delete;

private:
    struct TParts;
    std::unique_ptr<TParts> Parts;
};
