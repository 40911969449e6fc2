#include "core/forms/FileNameDialog.h"

#include "core/files/PathNames.h"
#include "core/forms/ModalSeam.h"

#include "host/Drives.h"

#include <QApplication>
#include <QFileDialog>
#include <QStringList>

#include <optional>

namespace {

// "A|a|B|b" shows as "A;;B": the patterns already stand inside the captions.
QString DialogNameFilters(const std::string& filter)
{
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList captions;
    for (qsizetype i = 0; i < parts.size(); i += 2)
        captions << parts[i];
    return captions.join(";;");
}

} // namespace

bool FileNameDialog(std::string& fileName, const std::string& filter, bool save)
{
    QFileDialog dialog(QApplication::activeWindow(), save ? "Save as" : "Open");
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(DialogNameFilters(filter));
    dialog.setWindowModality(Qt::ApplicationModal);
    if (const std::optional<std::string> folder = host::WindowsToHost(GetParentPath(fileName)))
        dialog.setDirectory(QString::fromStdString(*folder));
    dialog.selectFile(QString::fromStdString(GetPathName(fileName)));
    if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    const std::optional<std::string> chosen = host::HostToWindows(dialog.selectedFiles().front().toStdString());
    if (!chosen)
        return false;
    fileName = *chosen;
    return true;
}
