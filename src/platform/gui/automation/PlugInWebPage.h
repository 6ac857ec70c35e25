#pragma once
// The browser of the plug-in window. Local plug-in pages reach the automation interface
// through a QWebChannel: the page script loads qrc:///qtwebchannel/qwebchannel.js and
// finds the object "Kerfpad" on `new QWebChannel(qt.webChannelTransport, ...)`. Only
// file: pages inside the plug-in folder get the channel (compared as canonical paths,
// so no link or ".." leads out); a page from anywhere else finds no
// `qt.webChannelTransport`.
//
// The channel is never taken from a page or given to one that had none: a frame that a
// cross-site navigation prepared while the channel was set would keep its transport. So
// every page is of one kind for its life, and a main-frame navigation to the other kind
// is stopped and made again in a new page of that kind. A page with the channel loads
// no frame from outside the folder.
//
// Over the channel, a method that raises is reported through `onError` (the shell's
// log) and answers with an empty result.
//
// No page or frame is loaded from a local file that is no regular file or folder: a
// named pipe would hold the browser, and the program after its last window, until
// another program writes into it. Such a navigation is refused and reported through
// `onError`.

#include "platform/gui/automation/AutomationCalls.h"

#include <QString>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <functional>
#include <memory>

class QUrl;
class QWebChannel;
class TKerfpadChannelObject;

// The address the browser loads for a plug-in `target`: an existing file (a relative
// name taken from the current folder) as its file: URL, anything else as a user would
// type it.
QUrl PlugInTargetUrl(const QString& target);
// The one refusal of a plug-in page or frame, whichever way it comes (the Open button,
// a recent plug-in, a single page, a link in a page): NotRegularFileMessage of
// platform/core/files/RegularFile.h when `url` names a local file that exists and is
// neither a regular file nor a folder (a folder shows as a listing, which the offline
// listing links); empty otherwise.
QString PlugInPageRefusal(const QUrl& url);

// Whether a page at `url` may have the channel: an existing file inside `plugInFolder`
// (at any depth).
bool ChannelAllowed(const QUrl& url, const QString& plugInFolder);

// The name under which the page script finds the automation object.
inline const QString KerfpadChannelObjectName = QStringLiteral("Kerfpad");

class TPlugInWebPage : public QWebEnginePage {
public:
    // `target` is not owned and must outlive the page. `onOtherKind` is asked to load a
    // main-frame address this page refused because it belongs in a page of the other kind.
    TPlugInWebPage(bool withChannel, IKerfpadAutomation& target, const QString& plugInFolder,
                   TAutomationErrorEvent onError, std::function<void(const QUrl&)> onOtherKind,
                   QObject* parent = nullptr);
    ~TPlugInWebPage() override;

    bool WithChannel() const { return static_cast<bool>(FChannel); }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    QString FPlugInFolder;
    TAutomationErrorEvent FOnError;
    std::function<void(const QUrl&)> FOnOtherKind;
    std::unique_ptr<TKerfpadChannelObject> FObject;
    std::unique_ptr<QWebChannel> FChannel;
};

class TPlugInWebView : public QWebEngineView {
public:
    TPlugInWebView(IKerfpadAutomation& target, const QString& plugInFolder, TAutomationErrorEvent onError,
                   QWidget* parent = nullptr);

    // Loads `url` in a page of its kind.
    void Navigate(const QUrl& url);
    // Whether the page shown now has the channel.
    bool ChannelOffered() const;
    const QString& PlugInFolder() const { return FPlugInFolder; }

private:
    TPlugInWebPage* NewPage(bool withChannel);

    IKerfpadAutomation& FTarget;
    QString FPlugInFolder;
    TAutomationErrorEvent FOnError;
};
