#include "platform/gui/EntryKindIconProvider.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QScreen>
#include <QStyle>

#include <set>

namespace {

class TEntryKindIconProvider : public QFileIconProvider {
public:
    TEntryKindIconProvider()
        : FFolder(SmallEntryIcon(QFileIconProvider::icon(Folder))), FFile(SmallEntryIcon(QFileIconProvider::icon(File)))
    {
    }
    // Asked on the window's thread only (the dialogs' side bar and drive list, a model
    // whose entry has no icon).
    QIcon icon(IconType type) const override { return SmallEntryIcon(QFileIconProvider::icon(type)); }
    QIcon icon(const QFileInfo& info) const override { return info.isDir() ? FFolder : FFile; }
    QString type(const QFileInfo& info) const override
    {
        return info.isDir() ? QStringLiteral("Folder") : QStringLiteral("File");
    }

private:
    // Made once on the window's thread; a model's thread only copies them.
    const QIcon FFolder;
    const QIcon FFile;
};

} // namespace

QIcon SmallEntryIcon(const QIcon& icon)
{
    const int size = QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize);
    std::set<qreal> ratios{1.0};
    for (const QScreen* screen : QGuiApplication::screens()) {
        ratios.insert(screen->devicePixelRatio());
    }
    QIcon small;
    for (const qreal ratio : ratios) {
        small.addPixmap(icon.pixmap(QSize(size, size), ratio));
    }
    return small;
}

QAbstractFileIconProvider* EntryKindIconProvider()
{
    static auto* provider = new TEntryKindIconProvider;
    return provider;
}
