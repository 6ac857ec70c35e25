#pragma once
// The help window, "Help": the help text (help/Kerfpad Help.html beside the executable)
// in a read-only browser. A help file that cannot be read is reported in an error box
// and the window stays empty.

#include <QDialog>

class QTextBrowser;

class TfHelp : public QDialog {
public:
    explicit TfHelp(QWidget* parent = nullptr);

    QTextBrowser* RichEdit1;
};

// <executable's folder>/help/Kerfpad Help.html
QString HelpFileName();

// The help window, modal, freed after.
void ExecuteHelpWindow();
