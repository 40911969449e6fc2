#include "appearance/SkinForm.h"

#include "mainwindow/MainForm.h"

#include "core/settings/SkinOptions.h"

#include "core/files/PathNames.h"
#include "core/files/ProgramFolders.h"
#include "core/forms/Utilities.h"
#include "core/text/AsciiCase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <limits>
#include <utility>
#include <vector>

TSkinForm* SkinForm = nullptr;

namespace {

const std::string SkinGlobal = "Skin_Global";
const std::string SkinMain = "Skin_Main";
const std::string SkinColors = "Skin_Colors";
const std::string SkinExtension = ".qms";
constexpr size_t MaxSkinNameLength = 260;
constexpr size_t MaxPictureTitleLength = 259;

// Older skins kept the window translucencies under "Column" names.
const std::array<std::pair<const char*, int32_t TSkinOptions::*>, 8> LegacyTranslucencies = {{
    {"ColumnMarginTranslucency", &TSkinOptions::WindowMarginTranslucency},
    {"ColumnBackTranslucency", &TSkinOptions::WindowBackTranslucency},
    {"ColumnActiveFocusMarginTranslucency", &TSkinOptions::WindowActiveFocusMarginTranslucency},
    {"ColumnActiveFocusBackTranslucency", &TSkinOptions::WindowActiveFocusBackTranslucency},
    {"ColumnInactiveFocusMarginTranslucency", &TSkinOptions::WindowInactiveFocusMarginTranslucency},
    {"ColumnInactiveFocusBackTranslucency", &TSkinOptions::WindowInactiveFocusBackTranslucency},
    {"ColumnSelectionMarginTranslucency", &TSkinOptions::WindowSelectionMarginTranslucency},
    {"ColumnSelectionBackTranslucency", &TSkinOptions::WindowSelectionBackTranslucency},
}};

// One walk over the stored skin, in the file's order; the load reads and the save writes
// along the same walk, so each key is named once.
class TSkinPass
{
public:
    virtual ~TSkinPass() = default;
    virtual void Bool(const std::string& section, const std::string& key, bool& value) = 0;
    virtual void Number(const std::string& section, const std::string& key, const std::vector<int32_t>& choices,
                        int32_t& value) = 0;
    virtual void Style(const std::string& section, const std::string& key, const std::vector<std::string>& styles,
                       std::string& value) = 0;
    virtual void PictureTitle(const std::string& section, const std::string& key, std::string& value) = 0;
    virtual void Color(const std::string& section, const std::string& key, TColor& value) = 0;
};

class TSkinReader : public TSkinPass
{
public:
    explicit TSkinReader(TStoredTextList& store) : Store(store) {}

    void Bool(const std::string& section, const std::string& key, bool& value) override
    {
        Store.ReadBool(section, key, value);
    }
    // The stored text must spell one of the choices exactly ("070" is not 70).
    void Number(const std::string& section, const std::string& key, const std::vector<int32_t>& choices,
                int32_t& value) override
    {
        const std::string text = StoredText(section, key, std::to_string(value));
        const auto found = std::find_if(choices.begin(), choices.end(),
                                        [&](int32_t choice) { return std::to_string(choice) == text; });
        value = found != choices.end() ? *found : choices.front();
    }
    // Any letter case is taken, and the style becomes the list's spelling.
    void Style(const std::string& section, const std::string& key, const std::vector<std::string>& styles,
               std::string& value) override
    {
        const std::string text = StoredText(section, key, value);
        const auto found = std::find_if(styles.begin(), styles.end(),
                                        [&](const std::string& style) { return SameTextAscii(style, text); });
        value = found != styles.end() ? *found : styles.front();
    }
    // An empty stored title is taken too; a missing or overlong one leaves the value.
    void PictureTitle(const std::string& section, const std::string& key, std::string& value) override
    {
        // Starting from a text that no stored title can be tells a taken title apart.
        std::string title(MaxPictureTitleLength + 1, ' ');
        Store.ReadString(section, key, MaxPictureTitleLength, title, true);
        if (title.size() <= MaxPictureTitleLength)
            value = CompleteBackPictureFileName(title);
    }
    void Color(const std::string& section, const std::string& key, TColor& value) override
    {
        Store.ReadColor(section, key, value);
    }

private:
    // The stored text, or `fallback` when the key is missing or empty.
    std::string StoredText(const std::string& section, const std::string& key, const std::string& fallback)
    {
        std::string text = fallback;
        Store.ReadString(section, key, std::numeric_limits<size_t>::max(), text, false);
        return text;
    }

    TStoredTextList& Store;
};

// A picture in the BackPictures folder itself is stored by its bare name.
std::string StoredPictureTitle(const std::string& title)
{
    if (SameTextAscii(GetParentPath(title), IncludeEndBackslash(GetBackPicturesPath())))
        return GetPathName(title);
    return title;
}

class TSkinWriter : public TSkinPass
{
public:
    explicit TSkinWriter(TStoredTextList& store) : Store(store) {}

    void Bool(const std::string& section, const std::string& key, bool& value) override
    {
        Store.WriteBool(section, key, value);
    }
    void Number(const std::string& section, const std::string& key, const std::vector<int32_t>&,
                int32_t& value) override
    {
        Store.WriteInteger(section, key, value);
    }
    void Style(const std::string& section, const std::string& key, const std::vector<std::string>&,
               std::string& value) override
    {
        Store.WriteString(section, key, value);
    }
    void PictureTitle(const std::string& section, const std::string& key, std::string& value) override
    {
        Store.WriteString(section, key, StoredPictureTitle(value));
    }
    void Color(const std::string& section, const std::string& key, TColor& value) override
    {
        Store.WriteColor(section, key, value);
    }

private:
    TStoredTextList& Store;
};

void WalkNumbers(TSkinPass& pass, const std::string& section, const auto& fields, TSkinOptions& skin)
{
    for (const TSkinNumberField& field : fields)
        pass.Number(section, field.Key, field.Choices(), skin.*field.Field);
}

// Everything but the colours.
void WalkSkinMain(TSkinPass& pass, TSkinOptions& skin)
{
    pass.Bool(SkinMain, "UseBackPicture", skin.UseBackPicture);
    pass.PictureTitle(SkinMain, "BackPictureFileTitle", skin.BackPictureFileTitle);
    pass.Bool(SkinMain, "StretchBackPicture", skin.StretchBackPicture);
    pass.Bool(SkinMain, "FitBeforeTileBackPicture", skin.FitBeforeTileBackPicture);
    WalkNumbers(pass, SkinMain, SkinPictureNumberFields, skin);
    pass.Style(SkinMain, "ToolbarButtonsStyle", ToolbarButtonsStyles(), skin.ToolbarButtonsStyle);
    pass.Style(SkinMain, "NonOvalButtonsStyle", NonOvalButtonsStyles(), skin.NonOvalButtonsStyle);
    pass.Bool(SkinMain, "HintPanelAsWindow", skin.HintPanelAsWindow);
    WalkNumbers(pass, SkinMain, SkinTranslucencyFields, skin);
}

void WalkSkinColors(TSkinPass& pass, TSkinOptions& skin)
{
    for (const TSkinColorField& field : SkinColorFields)
        pass.Color(SkinColors, field.Key, skin.*field.Field);
}

// Read before the current keys, so that those win where a skin has both.
void ReadLegacyTranslucencies(TStoredTextList& store, TSkinReader& reader, TSkinOptions& skin)
{
    bool transparentWindows = false;
    store.ReadBool(SkinMain, "TransparentWindows", transparentWindows);
    if (transparentWindows)
        skin.WindowBackTranslucency = 100;
    for (const auto& [key, field] : LegacyTranslucencies)
        reader.Number(SkinMain, key, PercentChoices(), skin.*field);
}

void FillChoices(QComboBox& comboBox, const std::vector<int32_t>& choices, int32_t selected)
{
    for (const int32_t choice : choices)
        comboBox.addItem(QString::number(choice));
    comboBox.setCurrentText(QString::number(selected));
}

std::string WithSkinExtension(const std::string& path)
{
    return GetExtension(path).empty() ? path + SkinExtension : path;
}

std::string TitleWithoutExtension(const std::string& path)
{
    const std::string name = GetPathName(path);
    return name.substr(0, name.size() - GetExtension(name).size());
}

const char* const FormHint =
    "All options from this dialog are separate for each skin, except those marked with \"THIS IS FOR ALL SKINS\" "
    "which are for all skins. If you change any option, and you want to be able to reload the modified skin at a "
    "later time, you have to manually save the skin (use the \"Skins \\ Save as\" menu) before you load another one.";

class TMainSkinWindow : public TSkinWindow
{
public:
    explicit TMainSkinWindow(TMainForm& window) : Window(window) {}
    void SetupBackPicture(const std::string& fileTitle) override { Window.SetupBackPicture(fileTitle); }
    void Relayout() override { Window.Reset(false); }
    void FocusColumn() override { Window.FocusColumn(-1, false); }

private:
    TMainForm& Window;
};

} // namespace

TSkinForm::TSkinForm(QWidget* owner)
    : QDialog(owner), SkinStore(""), BackPictureMinStretchSizeComboBox(new QComboBox(this)),
      StretchBackPictureMaxSkewComboBox(new QComboBox(this)),
      AcceptBackPictureAutochangeCheckBox(new QCheckBox("Accept skin background picture autochange", this))
{
    setWindowTitle("Skin options");
    setToolTip(FormHint);
    if (auto* mainWindow = dynamic_cast<TMainForm*>(owner)) {
        OwnWindow = std::make_unique<TMainSkinWindow>(*mainWindow);
        Window = OwnWindow.get();
    }
    auto* layout = new QVBoxLayout(this);
    PageControl = new QTabWidget(this);
    layout->addWidget(PageControl);
    BuildGeneralPage();
    BuildBackPicturePage();
    BuildTranslucencyPage();
    BuildColorPages();
    OkayButton = new QPushButton("&Okay", this);
    OkayButton->setDefault(true);
    connect(OkayButton, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(OkayButton, 0, Qt::AlignRight);
    FillChoices(*BackPictureMinStretchSizeComboBox, BackPictureMinStretchSizeChoices(), 300);
    FillChoices(*StretchBackPictureMaxSkewComboBox, StretchBackPictureMaxSkewChoices(), 120);
    AcceptBackPictureAutochangeCheckBox->setChecked(true);
    SkinStore.OnLoad = [this](TStoredTextList& store, int32_t flag) { ReadSkin(store, flag == SkinFileFlag); };
    SkinStore.OnSave = [this](TStoredTextList& store, int32_t flag) { WriteSkin(store, flag == SkinFileFlag); };
    TSeam<TSkinEditorServices>::Install(this);
}

TSkinForm::~TSkinForm()
{
    if (&TSeam<TSkinEditorServices>::Get() == this)
        TSeam<TSkinEditorServices>::Install(nullptr);
    if (SkinForm == this)
        SkinForm = nullptr;
}

void TSkinForm::ReadSkin(TStoredTextList& store, bool skinFile)
{
    SkinOptions.SetDefaults(FullLoad);
    TSkinReader reader(store);
    if (FullLoad)
        ReadLegacyTranslucencies(store, reader, SkinOptions);
    if (!skinFile) {
        store.ReadString(SkinGlobal, "LastSkinName", MaxSkinNameLength, LastSkinName, false);
        store.ReadComboBoxText(SkinGlobal, "BackPictureMinStretchSize", *BackPictureMinStretchSizeComboBox, "300");
        store.ReadComboBoxText(SkinGlobal, "StretchBackPictureMaxSkew", *StretchBackPictureMaxSkewComboBox, "120");
        store.ReadCheckBox(SkinGlobal, "AcceptBackPictureAutochange", *AcceptBackPictureAutochangeCheckBox);
    }
    if (FullLoad)
        WalkSkinMain(reader, SkinOptions);
    WalkSkinColors(reader, SkinOptions);
}

void TSkinForm::WriteSkin(TStoredTextList& store, bool skinFile)
{
    for (const std::string& section : {SkinGlobal, SkinMain, SkinColors})
        store.EraseSection(section);
    if (!skinFile) {
        store.WriteString(SkinGlobal, "LastSkinName", LastSkinName);
        store.WriteComboBoxText(SkinGlobal, "BackPictureMinStretchSize", *BackPictureMinStretchSizeComboBox);
        store.WriteComboBoxText(SkinGlobal, "StretchBackPictureMaxSkew", *StretchBackPictureMaxSkewComboBox);
        store.WriteCheckBox(SkinGlobal, "AcceptBackPictureAutochange", *AcceptBackPictureAutochangeCheckBox);
    }
    TSkinWriter writer(store);
    WalkSkinMain(writer, SkinOptions);
    WalkSkinColors(writer, SkinOptions);
}

void TSkinForm::ReadSkin(TStoredTextList& store)
{
    ReadSkin(store, false);
}

void TSkinForm::WriteSkin(TStoredTextList& store)
{
    WriteSkin(store, false);
}

int32_t TSkinForm::GetBackPictureMinStretchSize()
{
    return GetIntFromComboBoxOrZero(*BackPictureMinStretchSizeComboBox);
}

int32_t TSkinForm::GetStretchBackPictureMaxSkew()
{
    return GetIntFromComboBoxOrZero(*StretchBackPictureMaxSkewComboBox);
}

bool TSkinForm::AcceptsBackPictureAutochange()
{
    return AcceptBackPictureAutochangeCheckBox->isChecked();
}

void TSkinForm::SetOnSkinChanged(std::function<void()> handler)
{
    OnSkinChanged = std::move(handler);
}

bool TSkinForm::LoadSkinFile(const std::string& path)
{
    const std::string fileName = WithSkinExtension(path);
    LastSkinName = TitleWithoutExtension(fileName);
    const bool loaded = SkinStore.LoadFromFile(fileName, SkinFileFlag);
    ApplySkin(true);
    if (OnSkinChanged)
        OnSkinChanged();
    return loaded;
}

bool TSkinForm::SaveSkinFile(const std::string& path)
{
    const std::string fileName = WithSkinExtension(path);
    LastSkinName = TitleWithoutExtension(fileName);
    return SkinStore.SaveToFile(fileName, false, SkinFileFlag);
}
