#pragma once
// The preview options dialog (caption "Preview Options"): colours, opacities and sizes
// of the 3D preview, kept in section "Scene" of the main settings file. Its creation
// reads the section and applies it; Save applies the controls and writes them;
// Defaults puts the defaults into the controls only; "&Close" leaves unsaved values
// unapplied. The values and their arithmetic live in TPreviewOptions.

#include "app/shell/ColorSwatch.h"
#include "app/settings/PreviewOptions.h"

#include <QDialog>

#include <array>
#include <functional>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QToolButton;

// The up and down arrows beside a size field; they act on the field's text.
class TUpDownButtons : public QWidget {
public:
    explicit TUpDownButtons(QWidget* parent = nullptr);
    QToolButton* Up;
    QToolButton* Down;
};

class TFPreviewOptions : public QDialog {
public:
    // Reads the section and applies it to `targets` (the dialog's creation does).
    explicit TFPreviewOptions(const TPreviewTargets& targets, QWidget* parent = nullptr);
    // "FPreviewOptions".
    static std::string FormName();

    // The section into the controls.
    void ReadSettings();
    // The controls onto the scene and the simulator. Every size field is read first: a
    // text that is not a number raises EConvertError ("'abc' is not a valid floating
    // point value") with nothing applied.
    void ApplySettings();
    // Every key of the section from the controls; raises as ApplySettings for a size.
    void WriteSettings();
    void LoadAndApply();
    // The controls as a record; raises EConvertError for a size that is not a number.
    TPreviewOptions Options() const;
    void SetOptions(const TPreviewOptions& options);

    // Save, Defaults (after a question).
    void Button1Click();
    void Button2Click();
    // An arrow of a size field: its text as a number, plus or minus 1, back as the
    // shortest text.
    static void UpDownClick(QLineEdit& edit, int delta);

    TColorSwatch* bg;
    TColorSwatch* table;
    QSlider* transparency;
    QCheckBox* cbShowAxis;
    TColorSwatch* mainbit;
    QSlider* bittransparency;
    TColorSwatch* wirebit;
    TColorSwatch* grid;
    TColorSwatch* moveline;
    QCheckBox* movedashed;
    TColorSwatch* jogline;
    QCheckBox* jogdashed;
    QLineEdit* EditTableWidth;
    QLineEdit* EditTableHeight;
    QLineEdit* EditGridWidth;
    QLineEdit* EditGridHeight;
    TUpDownButtons* UpDownTableWidth;
    TUpDownButtons* UpDownTableHeight;
    TUpDownButtons* UpDownGridWidth;
    TUpDownButtons* UpDownGridHeight;
    QRadioButton* rbInches;
    QRadioButton* rbMillimeters;
    QCheckBox* CheckBoxShowGrid;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* BitBtn1;

private:
    TColorSwatch* ColorPanel(const char* name);
    QSlider* OpacityBar(const char* name);
    QLineEdit* SizeField(const char* name, const char* upDownName, TUpDownButtons*& upDown);
    void BuildLayout();

    TPreviewTargets FTargets;
};
