#include "platform/gui/automation/PlugInWebPage.h"

#include "platform/core/files/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonValue>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWebChannel>

#include <limits>
#include <utility>

namespace {

// A coordinate as the page sent it. JSON has no NaN or Infinity, so a page's NaN or
// Infinity arrives as null, which would become 0 on the way to a double: anything but a
// number (or a text that reads as one) goes on as NaN, which the automation refuses.
double ChannelCoordinate(const QJsonValue& value)
{
    if (value.isDouble()) {
        return value.toDouble();
    }
    bool ok = false;
    const double number = value.isString() ? value.toString().toDouble(&ok) : 0.0;
    return ok ? number : std::numeric_limits<double>::quiet_NaN();
}

} // namespace

// The automation object as the page script sees it.
class TKerfpadChannelObject : public QObject {
    Q_OBJECT

public:
    // A failure is reported and the result stays empty: the page gets no exception.
    TKerfpadChannelObject(IKerfpadAutomation& target, TAutomationErrorEvent onError)
        : FCalls(target, std::move(onError))
    {
    }

public Q_SLOTS:
    void SendData(const QString& ResultData, int ToPlugins) { FCalls.SendData(ResultData, ToPlugins); }
    QString GetData(int Selection) { return FCalls.GetData(Selection); }
    QString GetCurrentLine() { return FCalls.GetCurrentLine(); }
    QString GetCurPos() { return FCalls.GetCurPos(); }
    double GetLastMoveSegmentAngle() { return FCalls.GetLastMoveSegmentAngle(); }
    void AddMoveNode(const QJsonValue& x, const QJsonValue& y, const QJsonValue& z, int setcurpos, int newlines)
    {
        FCalls.AddMoveNode(ChannelCoordinate(x), ChannelCoordinate(y), ChannelCoordinate(z), setcurpos, newlines);
    }
    void AddJogNode(const QJsonValue& x, const QJsonValue& y, const QJsonValue& z, int setcurpos, int newlines)
    {
        FCalls.AddJogNode(ChannelCoordinate(x), ChannelCoordinate(y), ChannelCoordinate(z), setcurpos, newlines);
    }

private:
    TAutomationCalls FCalls;
};

QUrl PlugInTargetUrl(const QString& target)
{
    const QFileInfo file(target);
    return !target.isEmpty() && file.exists() ? QUrl::fromLocalFile(file.absoluteFilePath()) : QUrl::fromUserInput(target);
}

QString PlugInPageRefusal(const QUrl& url)
{
    if (!url.isLocalFile()) {
        return {};
    }
    const std::string name = QFile::encodeName(url.toLocalFile()).toStdString();
    const std::string kind = NonRegularFileKind(name);
    if (kind.empty() || kind == "directory") {
        return {};
    }
    return QString::fromStdString(NotRegularFileMessage(name, kind));
}

bool ChannelAllowed(const QUrl& url, const QString& plugInFolder)
{
    if (!url.isLocalFile() || plugInFolder.isEmpty()) {
        return false;
    }
    const QString folder = QFileInfo(plugInFolder).canonicalFilePath();
    const QString page = QFileInfo(url.toLocalFile()).canonicalFilePath();
    if (folder.isEmpty() || page.isEmpty()) {
        return false;
    }
    return page.startsWith(folder + QLatin1Char('/'));
}

TPlugInWebPage::TPlugInWebPage(bool withChannel, IKerfpadAutomation& target, const QString& plugInFolder,
                               TAutomationErrorEvent onError, std::function<void(const QUrl&)> onOtherKind,
                               QObject* parent)
    : QWebEnginePage(parent), FPlugInFolder(plugInFolder), FOnError(onError), FOnOtherKind(std::move(onOtherKind))
{
    if (withChannel) {
        FObject = std::make_unique<TKerfpadChannelObject>(target, std::move(onError));
        FChannel = std::make_unique<QWebChannel>();
        FChannel->registerObject(KerfpadChannelObjectName, FObject.get());
        setWebChannel(FChannel.get());
    }
}

TPlugInWebPage::~TPlugInWebPage()
{
    // The channel goes with this object; the page must not speak to it afterwards.
    if (FChannel) {
        setWebChannel(nullptr);
    }
}

bool TPlugInWebPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame)
{
    if (const QString refusal = PlugInPageRefusal(url); !refusal.isEmpty()) {
        if (FOnError) {
            FOnError(refusal);
        }
        return false;
    }
    const bool allowed = ChannelAllowed(url, FPlugInFolder);
    if (!isMainFrame) {
        // A frame from elsewhere would share the plug-in page's transport.
        return !WithChannel() || allowed || url.scheme() == QLatin1String("about");
    }
    if (allowed == WithChannel()) {
        return true;
    }
    if (FOnOtherKind) {
        FOnOtherKind(url);
    }
    return false;
}

TPlugInWebView::TPlugInWebView(IKerfpadAutomation& target, const QString& plugInFolder,
                               TAutomationErrorEvent onError, QWidget* parent)
    : QWebEngineView(parent), FTarget(target), FPlugInFolder(plugInFolder), FOnError(std::move(onError))
{
    setPage(NewPage(false));
}

TPlugInWebPage* TPlugInWebView::NewPage(bool withChannel)
{
    const QPointer<TPlugInWebView> view(this);
    // The page that refused is still deciding; the new one comes on the next pass.
    auto onOtherKind = [view](const QUrl& url) {
        QTimer::singleShot(0, view, [view, url] {
            if (view) {
                view->Navigate(url);
            }
        });
    };
    return new TPlugInWebPage(withChannel, FTarget, FPlugInFolder, FOnError, onOtherKind, this);
}

void TPlugInWebView::Navigate(const QUrl& url)
{
    const bool allowed = ChannelAllowed(url, FPlugInFolder);
    if (allowed != ChannelOffered()) {
        // The view frees its own previous page.
        setPage(NewPage(allowed));
    }
    load(url);
}

bool TPlugInWebView::ChannelOffered() const
{
    const auto* current = dynamic_cast<const TPlugInWebPage*>(page());
    return current != nullptr && current->WithChannel();
}

#include "PlugInWebPage.moc"
