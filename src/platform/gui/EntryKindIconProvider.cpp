#include "platform/gui/EntryKindIconProvider.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>

namespace {

class TEntryKindIconProvider : public QFileIconProvider {
public:
    TEntryKindIconProvider() : FFolder(icon(Folder)), FFile(icon(File)) {}
    using QFileIconProvider::icon;
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

QAbstractFileIconProvider* EntryKindIconProvider()
{
    static auto* provider = new TEntryKindIconProvider;
    return provider;
}
