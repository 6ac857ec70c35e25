#pragma once
// The plug-in window, "Plug-In Tools": plug-in pages in a web view, with an exchange
// buffer beside it (a code editor set up like the pages) that plug-ins read and write
// through the automation object and that six buttons move to and from the active page.
// It keeps the ten plug-ins opened last and, when the maker's plug-in page cannot be
// loaded, shows a listing of the local plug-in folder instead.
//
// Always modal and freed after each use by whoever made it (PlugInPages.h), which keeps
// it in FPlugIns meanwhile. A single page (LoadSimple) shows the browser alone and
// leaves the window's settings as they were. Plug-in pages in the plug-in folder reach
// the automation object through the web channel (PlugInWebPage.h).

#include "app/plugins/KerfpadInterface.h"

#include "platform/core/services/DialogService.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <array>

class QAction;
class QMenu;
class QPushButton;
class QSplitter;
class TCodeEdit;
class TCodeEditWidget;
class TFlowLayout;
class TLinkLabel;
class TPlugInWebView;

class TFPlugIns : public QDialog {
public:
    explicit TFPlugIns(QWidget* parent = nullptr);
    // Clears FPlugIns when it points here.
    ~TFPlugIns() override;

    // --- controls ---
    QWidget* PanelForWeb;
    QWidget* Panel5;
    QPushButton* Button2;    // "Open"
    QPushButton* Button1;    // "..."
    QPushButton* ButtonHome; // "&Home"
    QPushButton* BitBtn1;    // "&Refresh"
    TLinkLabel* Label1;      // the submission mail
    QSplitter* Splitter1;
    QWidget* PanelGL;
    TCodeEditWidget* CodeEditor;
    QWidget* Panel4;
    QPushButton* BitBtn2; // Copy
    QPushButton* BitBtn3; // Append
    QPushButton* BitBtn4; // Replace
    QPushButton* BitBtn5; // Load In
    QPushButton* BitBtn6; // Clear
    QPushButton* BitBtn7; // New Tab
    QMenu* PopupMenu1;
    std::array<QAction*, 10> MRUItems{};
    // nullptr until the window first shows or loads a page.
    TPlugInWebView* WebBrowser = nullptr;

    // False while a single page shows: closing it then writes no settings.
    bool SaveSettingsOnClose = true;
    // The listing replaced a page since Home was last pressed.
    bool OfflineListingShown = false;
    // The maker's plug-in page (Home); tests point it elsewhere.
    QString HomeAddress;

    TCodeEdit& Buffer();

    // [PlugInsWin] and [MRU_pg_Files] of the main settings file.
    void ReadIniSettings();
    void WriteIniSettings();
    // The browser, made once (and sent home when `goHome`); logged at every call.
    void CreateWebBrowser(bool goHome = true);
    // The whole window, modal.
    TModalResult Execute();
    // One page alone, modal, at `width` x `height` when both are at least 1. A missing
    // page gives "File could not be found. File: " (a VBScript without a page its own
    // box and an error log line, a page that is no regular file the refusal of
    // PlugInPageRefusal and an error log line) unless `quiet`; the window then does not
    // show. True when it showed.
    bool LoadSimple(const QString& fileName, int width, int height, bool quiet);

    // The open rule: a plug-in program is started (a failure is logged), anything else
    // navigated to.
    void OpenPlugIn(const QString& fileName);
    // A file (its full name) or an address in the browser; a file that is neither a
    // regular file nor a folder is refused with PlugInPageRefusal's box.
    void Navigate(const QString& target);
    void WriteOfflineListing();
    // Captions of the ten items from the plug-in list; empty entries hide theirs.
    void UpdateMRUItems();

    // --- buttons ---
    void Button2Click();
    void Button1Click();
    void MRUItemClick(int index);
    void ButtonHomeClick();
    void BitBtn1Click();
    void Label1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void BitBtn6Click();
    void BitBtn7Click();

    // --- what the automation object uses ---
    bool BufferShown() const;
    void SetBufferText(const QString& text);
    QString BufferText() const;
    QString BufferSelText() const;
    // Ends the modal loop with Cancel; the window's maker frees it afterwards.
    void CloseFromAutomation();

    // The buffer panel's width to store: as it shows, else as read; never below its
    // least width, nor so wide that the page's side loses its own.
    int PanelGLWidth() const;
    // The narrowest buffer panel a stored width gives: the six buttons at their size
    // hints in two rows of three. The splitter takes it narrower, down to one button
    // a row.
    int BufferLeastWidth() const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreatePanels();
    // The narrowest the page's side shows its buttons whole.
    int WebLeastWidth() const;
    void ApplyEditorSettings();
    TModalResult ShowModal();
    void BrowserLoadFinished(bool ok);
    QStringList BufferLines() const;

    TKerfpadInterface FAutomation;
    TFlowLayout* FBufferButtons = nullptr;
    int FPanelGLWidth = 50;
    bool FModal = false;
    bool FSizedPanels = false;
    // The last navigation went to HomeAddress and has not finished.
    bool FHomeLoading = false;
};

// The plug-in window while one exists; nullptr otherwise.
extern TFPlugIns* FPlugIns;
