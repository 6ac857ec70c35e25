#include "app/plugins/HelpForm.h"

#include "app/shell/AppPaths.h"
#include "app/pages/EditorPageHost.h"

#include "platform/core/services/DialogService.h"
#include "platform/core/files/Stream.h"
#include "platform/gui/QtModalForm.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <exception>
#include <memory>
#include <string>

QString HelpFileName()
{
    return AppDir() + QStringLiteral("/help/Kerfpad Help.html");
}

TfHelp::TfHelp(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fHelp"));
    setWindowTitle(QStringLiteral("Help"));
    resize(732, 640);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    RichEdit1 = new QTextBrowser(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setReadOnly(true);
    RichEdit1->setOpenExternalLinks(true);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(RichEdit1);
    try {
        const QString fileName = HelpFileName();
        TFileStream file(fileName.toStdString(), fmOpenRead);
        std::string text(static_cast<std::size_t>(file.Size()), '\0');
        file.ReadBuffer(text.data(), static_cast<std::int64_t>(text.size()));
        RichEdit1->setSearchPaths({QFileInfo(fileName).absolutePath()});
        RichEdit1->setHtml(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
    }
}

void ExecuteHelpWindow()
{
    auto help = std::make_unique<TfHelp>(dynamic_cast<QWidget*>(EditorPageHost()));
    ShowModalDialog(*help, "fHelp");
}
