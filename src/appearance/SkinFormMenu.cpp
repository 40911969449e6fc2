#include "appearance/SkinForm.h"

#include "core/settings/SkinOptions.h"

#include "panels/MyTPanel.h"

#include "core/drawing/StockColors.h"
#include "core/errors/Traced.h"
#include "core/files/PathNames.h"
#include "core/files/ProgramFolders.h"
#include "core/forms/FileNameDialog.h"
#include "core/forms/FormPlacement.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"

#include <QCursor>
#include <QMenu>
#include <QPushButton>

#include <algorithm>

namespace {

const char* const SkinFilter = "*.qms";

std::string MenuHeader(bool fullLoad)
{
    return fullLoad ? "Skins (full load)" : "Skins (only colors)";
}

QAction* MakeMenuItem(QMenu& menu, const std::string& caption, const std::string& hint)
{
    auto* item = new QAction(QString::fromStdString(caption), &menu);
    item->setStatusTip(QString::fromStdString(hint));
    item->setToolTip(QString::fromStdString(hint));
    return item;
}

// The name "Save as" proposes: the last skin's, else the stock name of the window colour.
std::string ProposedSkinTitle(const std::string& lastSkinName)
{
    if (!lastSkinName.empty())
        return lastSkinName;
    const std::string stockName = GetStockColorName(SkinOptions.WindowBackColor);
    return stockName.empty() ? "*" : stockName;
}

} // namespace

void TSkinForm::ShowMenu(MyTPanel& button, bool fullLoad)
{
    FullLoad = fullLoad;
    TTraced trace;
    trace.Run([&] {
        delete SkinsMenu.data();
        SkinsMenu = new QMenu(this);
        QMenu& menu = *SkinsMenu;
        menu.setTitle(QString::fromStdString(MenuHeader(fullLoad)));
        // Each item keeps its file's own path: a dotted title would not find its way back.
        LoadMenuWithFiles(menu, GetSkinsPath(), SkinFilter, false, false, true, "Apply this skin",
                          [this](QAction& item) { LoadSkinFile(GetMenuItemFileName(item)); });
        if (trace.TakeOver())
            return;
        AddMenuCommands(menu);
        // Centred on the mouse, below the button.
        const int32_t mouseX = button.mapFromGlobal(QCursor::pos()).x() - button.Border;
        button.PopupMenuBelow(menu, std::max(0, mouseX - menu.sizeHint().width() / 2));
    });
    if (!trace.Succeeded())
        delete SkinsMenu.data();
    trace.ShowFailure("Failed to setup the \"Skins\" menu.");
}

void TSkinForm::AddMenuCommands(QMenu& menu)
{
    QAction* const first = menu.actions().isEmpty() ? nullptr : menu.actions().front();
    QAction* header = MakeMenuItem(menu, MenuHeader(FullLoad),
                                   "A skin sets the colours, the background picture and the translucencies. The "
                                   "current skin is a copy of the one loaded: changes stay in it until you save it.");
    QAction* edit = MakeMenuItem(menu, "Edit", "Edit the current skin; save it (\"Save as\") to keep the changes");
    QAction* saveAs = MakeMenuItem(menu, "Save as", "Save the current skin to a file; skins are saved only this way");
    QAction* setDefault = MakeMenuItem(menu, "Default", "Set the default skin");
    menu.insertActions(first, {header, edit, saveAs, setDefault});
    menu.insertSeparator(first);
    menu.setDefaultAction(header);
    connect(edit, &QAction::triggered, this, [this] {
        Dialog();
        if (Window != nullptr)
            Window->FocusColumn();
    });
    connect(saveAs, &QAction::triggered, this, [this] { SaveAs(); });
    connect(setDefault, &QAction::triggered, this, [this] { SetDefaultSkin(); });
}

void TSkinForm::Dialog()
{
    TTraced trace;
    trace.Run([&] {
        SetControls();
        OkayButton->setFocus();
        CentreOnMainWindow(*this);
        RunModal(*this);
    });
    trace.ShowFailure("Failed to show skin options.");
}

void TSkinForm::SaveAs()
{
    std::string fileName = GetSkinsPath() + ProposedSkinTitle(LastSkinName);
    if (FileNameDialog(fileName, std::string("Skins (") + SkinFilter + ")|" + SkinFilter, true))
        SaveSkinFile(fileName);
}

void TSkinForm::SetDefaultSkin()
{
    SkinOptions.SetDefaults(true);
    ApplySkin(true);
    if (OnSkinChanged)
        OnSkinChanged();
}

void TSkinForm::ApplySkin(bool reloadPicture)
{
    if (Window == nullptr)
        return;
    if (reloadPicture)
        Window->SetupBackPicture(SkinOptions.BackPictureFileTitle);
    Window->Relayout();
    Window->FocusColumn();
}
