#include "platform/gui/QtDialogResponder.h"

#include "platform/core/graphics/SystemColors.h"
#include "platform/gui/QtInputBox.h"
#include "platform/gui/QtMessageBox.h"
#include "platform/gui/EntryKindIconProvider.h"
#include "platform/gui/FileNameBoxOrder.h"
#include "platform/gui/QtShownText.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QLineEdit>

namespace {

const QString ApplicationCaption = QStringLiteral("Kerfpad");

QString Caption(const std::string& title)
{
    return title.empty() ? ApplicationCaption : QString::fromStdString(title);
}

std::vector<std::string> ToStrings(const QStringList& list)
{
    std::vector<std::string> strings;
    strings.reserve(static_cast<std::size_t>(list.size()));
    for (const QString& s : list)
        strings.push_back(s.toStdString());
    return strings;
}

void Prepare(QFileDialog& dialog, const TFileDialogOptions& options)
{
    // Qt's own provider reads the folder's files to tell their types.
    dialog.setIconProvider(EntryKindIconProvider());
    dialog.setWindowTitle(Caption(options.Title));
    if (!options.InitialDir.empty())
        dialog.setDirectory(QString::fromStdString(options.InitialDir));
    const QStringList filters = QtNameFilters(options.Filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (!options.FileName.empty())
        dialog.selectFile(QString::fromStdString(options.FileName));
}

} // namespace

QStringList QtNameFilters(const std::string& filter)
{
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        // Qt takes the patterns from the last parentheses, so a description that shows
        // its own is cut before them and given the real ones.
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open > 0 && description.endsWith(QLatin1Char(')')))
            description = description.left(open).trimmed();
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

TModalResult TQtDialogResponder::MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    // A box may quote a program's line of millions of characters ("Cannot find the label
    // ..."): shown whole, laying it out would hold the window for minutes.
    TQtMessageBox box(QApplication::activeWindow(), ApplicationCaption, type, ShownText(QString::fromStdString(text)),
                      buttons);
    box.FitToScreen();
    box.exec();
    return box.Answer();
}

bool TQtDialogResponder::InputQuery(const std::string& caption, const std::string& prompt, std::string& value)
{
    TQtInputBox box(QApplication::activeWindow(), Caption(caption),
                    ShownText(QString::fromStdString(prompt)), QString::fromStdString(value));
    box.FitToScreen();
    if (box.exec() != QDialog::Accepted) {
        return false;
    }
    value = box.Value().toStdString();
    return true;
}

bool TQtDialogResponder::OpenDialog(const TFileDialogOptions& options, bool multiSelect,
                                    std::vector<std::string>& files)
{
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    Prepare(dialog, options);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    // The name box of Qt's own dialog (none where the platform shows its own).
    const auto* nameBox = dialog.findChild<const QLineEdit*>(QStringLiteral("fileNameEdit"));
    const QStringList chosen = dialog.selectedFiles();
    files = ToStrings(nameBox != nullptr
                          ? OrderAsNamedInBox(chosen, nameBox->text(), dialog.directory().absolutePath())
                          : chosen);
    return !files.empty();
}

bool TQtDialogResponder::SaveDialog(const TFileDialogOptions& options, std::string& fileName)
{
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    Prepare(dialog, options);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().constFirst().toStdString();
    return true;
}

bool TQtDialogResponder::ColorQuery(TColor& color)
{
    const TColor start = ResolveSystemColor(color);
    const QColor chosen = QColorDialog::getColor(QColor(GetRValue(start), GetGValue(start), GetBValue(start)),
                                                 QApplication::activeWindow(), ApplicationCaption);
    if (!chosen.isValid())
        return false;
    color = RGB(static_cast<std::uint8_t>(chosen.red()), static_cast<std::uint8_t>(chosen.green()),
                static_cast<std::uint8_t>(chosen.blue()));
    return true;
}
