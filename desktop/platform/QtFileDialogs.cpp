#include "desktop/platform/QtFileDialogs.h"

#include "platform/NameFilters.h"

#include <QFileDialog>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace {

QStringList qtNameFilters(const std::string& filter)
{
    QStringList list;
    for (const std::string& nameFilter : toNameFilters(filter))
        list.append(QString::fromStdString(nameFilter));
    return list;
}

/// The chosen paths in the dialog's order; empty when the user cancels.
std::vector<std::string> runOpenDialog(QWidget* parent, const std::string& title,
                                       const std::string& filter, QFileDialog::FileMode mode)
{
    QFileDialog dialog(parent, QString::fromStdString(title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(mode);
    dialog.setNameFilters(qtNameFilters(filter));
    std::vector<std::string> paths;
    if (dialog.exec() != QDialog::Accepted)
        return paths;
    for (const QString& path : dialog.selectedFiles())
        paths.push_back(path.toStdString());
    return paths;
}

/// The extension of the first pattern of a name filter, "svg" of "SVG image (*.svg)";
/// fallback for a filter that matches every file.
QString extensionOf(const QString& nameFilter, const QString& fallback)
{
    static const QRegularExpression firstPattern(R"(\(\*\.(\w+))");
    const QRegularExpressionMatch match = firstPattern.match(nameFilter);
    return match.hasMatch() ? match.captured(1) : fallback;
}

} // namespace

QtFileDialogs::QtFileDialogs(QWidget* parentWidget) : parent(parentWidget)
{
}

std::optional<std::string> QtFileDialogs::openFile(const std::string& title,
                                                   const std::string& filter)
{
    const std::vector<std::string> paths =
        runOpenDialog(parent.data(), title, filter, QFileDialog::ExistingFile);
    if (paths.empty())
        return std::nullopt;
    return paths.front();
}

std::vector<std::string> QtFileDialogs::openFiles(const std::string& title,
                                                  const std::string& filter)
{
    return runOpenDialog(parent.data(), title, filter, QFileDialog::ExistingFiles);
}

std::optional<std::string> QtFileDialogs::saveFile(const std::string& title,
                                                   const std::string& filter,
                                                   const std::string& defaultExtension,
                                                   const std::string& proposedPath)
{
    QFileDialog dialog(parent.data(), QString::fromStdString(title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(qtNameFilters(filter));
    const QString fallback = QString::fromStdString(defaultExtension);
    dialog.setDefaultSuffix(fallback);
    // A name typed without an extension takes the one of the chosen file type.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, &fallback](const QString& nameFilter) {
                         dialog.setDefaultSuffix(extensionOf(nameFilter, fallback));
                     });
    // The overwrite prompt is on unless QFileDialog::DontConfirmOverwrite is set.
    if (!proposedPath.empty())
        dialog.selectFile(QString::fromStdString(proposedPath));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList paths = dialog.selectedFiles();
    if (paths.isEmpty())
        return std::nullopt;
    return paths.front().toStdString();
}
