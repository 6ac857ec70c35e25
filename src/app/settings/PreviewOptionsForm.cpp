#include "app/settings/PreviewOptionsForm.h"

#include "app/settings/MainSettingsFile.h"

#include "platform/core/services/DialogService.h"
#include "platform/core/text/NumberFormat.h"
#include "platform/gui/ActionList.h"
#include "platform/gui/QtModalForm.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString SizeText(double value)
{
    return QString::fromStdString(FloatToStr(value));
}

double SizeValue(const QLineEdit& edit)
{
    return StrToFloat(edit.text().toStdString());
}

} // namespace

TUpDownButtons::TUpDownButtons(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Up = new QToolButton(this);
    Up->setObjectName(QStringLiteral("Up"));
    Up->setArrowType(Qt::UpArrow);
    Down = new QToolButton(this);
    Down->setObjectName(QStringLiteral("Down"));
    Down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {Up, Down}) {
        b->setFixedSize(18, 11);
        layout->addWidget(b);
    }
}

TFPreviewOptions::TFPreviewOptions(const TPreviewTargets& targets, QWidget* parent)
    : QDialog(parent), FTargets(targets)
{
    setObjectName(QStringLiteral("FPreviewOptions"));
    setWindowTitle(QStringLiteral("Preview Options"));
    bg = ColorPanel("bg");
    table = ColorPanel("table");
    transparency = OpacityBar("transparency");
    cbShowAxis = new QCheckBox(QStringLiteral("Show Axis Arrows"), this);
    cbShowAxis->setObjectName(QStringLiteral("cbShowAxis"));
    mainbit = ColorPanel("mainbit");
    bittransparency = OpacityBar("bittransparency");
    wirebit = ColorPanel("wirebit");
    grid = ColorPanel("grid");
    moveline = ColorPanel("moveline");
    movedashed = new QCheckBox(QStringLiteral("Dashed"), this);
    movedashed->setObjectName(QStringLiteral("movedashed"));
    jogline = ColorPanel("jogline");
    jogdashed = new QCheckBox(QStringLiteral("Dashed"), this);
    jogdashed->setObjectName(QStringLiteral("jogdashed"));
    EditTableWidth = SizeField("EditTableWidth", "UpDownTableWidth", UpDownTableWidth);
    EditTableHeight = SizeField("EditTableHeight", "UpDownTableHeight", UpDownTableHeight);
    EditGridWidth = SizeField("EditGridWidth", "UpDownGridWidth", UpDownGridWidth);
    EditGridHeight = SizeField("EditGridHeight", "UpDownGridHeight", UpDownGridHeight);
    rbInches = new QRadioButton(QStringLiteral("Inches"), this);
    rbInches->setObjectName(QStringLiteral("rbInches"));
    rbMillimeters = new QRadioButton(QStringLiteral("Millimeters"), this);
    rbMillimeters->setObjectName(QStringLiteral("rbMillimeters"));
    CheckBoxShowGrid = new QCheckBox(QStringLiteral("Show Grid"), this);
    CheckBoxShowGrid->setObjectName(QStringLiteral("CheckBoxShowGrid"));

    Button1 = new QPushButton(QStringLiteral("Save"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Defaults"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    BitBtn1 = new QPushButton(QStringLiteral("&Close"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    connect(Button1, &QPushButton::clicked, this, [this] { RunGuarded([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { RunGuarded([this] { Button2Click(); }); });
    SetModalResult(*BitBtn1, *this, TModalResult::mrCancel);
    BuildLayout();
    SetOptions(TPreviewOptions{});
    LoadAndApply();
}

std::string TFPreviewOptions::FormName()
{
    return "FPreviewOptions";
}

TColorSwatch* TFPreviewOptions::ColorPanel(const char* name)
{
    auto* panel = new TColorSwatch(this);
    panel->setObjectName(QLatin1String(name));
    return panel;
}

QSlider* TFPreviewOptions::OpacityBar(const char* name)
{
    auto* bar = new QSlider(Qt::Horizontal, this);
    bar->setObjectName(QLatin1String(name));
    bar->setRange(0, TransparencySteps);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setTickInterval(1);
    bar->setPageStep(1);
    return bar;
}

QLineEdit* TFPreviewOptions::SizeField(const char* name, const char* upDownName, TUpDownButtons*& upDown)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setMaximumWidth(80);
    upDown = new TUpDownButtons(this);
    upDown->setObjectName(QLatin1String(upDownName));
    connect(upDown->Up, &QToolButton::clicked, this, [edit] { RunGuarded([edit] { UpDownClick(*edit, 1); }); });
    connect(upDown->Down, &QToolButton::clicked, this, [edit] { RunGuarded([edit] { UpDownClick(*edit, -1); }); });
    return edit;
}

void TFPreviewOptions::BuildLayout()
{
    auto* root = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    root->addLayout(columns);
    const auto group = [&](const char* title, QVBoxLayout* column) {
        auto* box = new QGroupBox(QLatin1String(title), this);
        auto* g = new QGridLayout(box);
        column->addWidget(box);
        return g;
    };
    const auto label = [this](const char* text) { return new QLabel(QLatin1String(text), this); };
    const auto sizeRow = [](QGridLayout* g, int row, QLabel* caption, QLineEdit* edit, TUpDownButtons* upDown) {
        caption->setBuddy(edit);
        g->addWidget(caption, row, 0);
        auto* field = new QHBoxLayout;
        field->setSpacing(0);
        field->addWidget(edit);
        field->addWidget(upDown);
        field->addStretch(1);
        g->addLayout(field, row, 1);
    };

    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    QGridLayout* scene = group("Scene", left);
    scene->addWidget(label("Background"), 0, 0);
    scene->addWidget(bg, 0, 1);
    scene->addWidget(cbShowAxis, 1, 0, 1, 2);

    QGridLayout* tableBox = group("Table", left);
    tableBox->addWidget(label("Color"), 0, 0);
    tableBox->addWidget(table, 0, 1);
    tableBox->addWidget(label("Transparency"), 1, 0);
    tableBox->addWidget(transparency, 1, 1);
    sizeRow(tableBox, 2, label("Width"), EditTableWidth, UpDownTableWidth);
    sizeRow(tableBox, 3, label("Height"), EditTableHeight, UpDownTableHeight);
    auto* units = new QHBoxLayout;
    units->addWidget(rbInches);
    units->addWidget(rbMillimeters);
    tableBox->addLayout(units, 4, 0, 1, 2);

    QGridLayout* gridBox = group("Grid", left);
    gridBox->addWidget(label("Color"), 0, 0);
    gridBox->addWidget(grid, 0, 1);
    sizeRow(gridBox, 1, label("Width"), EditGridWidth, UpDownGridWidth);
    sizeRow(gridBox, 2, label("Height"), EditGridHeight, UpDownGridHeight);
    gridBox->addWidget(CheckBoxShowGrid, 3, 0, 1, 2);

    QGridLayout* bit = group("Bit", right);
    bit->addWidget(label("Color"), 0, 0);
    bit->addWidget(mainbit, 0, 1);
    bit->addWidget(label("Transparency"), 1, 0);
    bit->addWidget(bittransparency, 1, 1);
    bit->addWidget(label("Wireframe"), 2, 0);
    bit->addWidget(wirebit, 2, 1);

    QGridLayout* paths = group("Paths", right);
    paths->addWidget(label("Cut"), 0, 0);
    paths->addWidget(moveline, 0, 1);
    paths->addWidget(movedashed, 0, 2);
    paths->addWidget(label("Jog"), 1, 0);
    paths->addWidget(jogline, 1, 1);
    paths->addWidget(jogdashed, 1, 2);
    right->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    root->addLayout(buttons);
}

TPreviewOptions TFPreviewOptions::Options() const
{
    TPreviewOptions o;
    o.CubeWidth = SizeValue(*EditTableWidth);
    o.CubeHeight = SizeValue(*EditTableHeight);
    o.GridWidth = SizeValue(*EditGridWidth);
    o.GridHeight = SizeValue(*EditGridHeight);
    o.BackgroundColor = bg->Color();
    o.TableColor = table->Color();
    o.TableTransparency = transparency->value();
    o.ShowAxis = cbShowAxis->isChecked();
    o.MainBitColor = mainbit->Color();
    o.MainBitTransparency = bittransparency->value();
    o.WireBitColor = wirebit->Color();
    o.GridColor = grid->Color();
    o.MoveColor = moveline->Color();
    o.JogColor = jogline->Color();
    o.MoveDashed = movedashed->isChecked();
    o.JogDashed = jogdashed->isChecked();
    o.Millimeters = rbMillimeters->isChecked();
    o.ShowGrid = CheckBoxShowGrid->isChecked();
    return o;
}

void TFPreviewOptions::SetOptions(const TPreviewOptions& o)
{
    bg->SetColor(o.BackgroundColor);
    table->SetColor(o.TableColor);
    transparency->setValue(o.TableTransparency);
    cbShowAxis->setChecked(o.ShowAxis);
    mainbit->SetColor(o.MainBitColor);
    bittransparency->setValue(o.MainBitTransparency);
    wirebit->SetColor(o.WireBitColor);
    grid->SetColor(o.GridColor);
    moveline->SetColor(o.MoveColor);
    movedashed->setChecked(o.MoveDashed);
    jogline->SetColor(o.JogColor);
    jogdashed->setChecked(o.JogDashed);
    EditTableWidth->setText(SizeText(o.CubeWidth));
    EditTableHeight->setText(SizeText(o.CubeHeight));
    EditGridWidth->setText(SizeText(o.GridWidth));
    EditGridHeight->setText(SizeText(o.GridHeight));
    (o.Millimeters ? rbMillimeters : rbInches)->setChecked(true);
    CheckBoxShowGrid->setChecked(o.ShowGrid);
}

void TFPreviewOptions::ReadSettings()
{
    TPreviewOptions options;
    options.Read(OpenMainSettings());
    SetOptions(options);
}

void TFPreviewOptions::ApplySettings()
{
    ApplyPreviewOptions(Options(), FTargets);
}

void TFPreviewOptions::WriteSettings()
{
    const TPreviewOptions options = Options();
    UpdateMainSettings([&](TIniFile& ini) { options.Write(ini); });
}

void TFPreviewOptions::LoadAndApply()
{
    ReadSettings();
    ApplySettings();
}

void TFPreviewOptions::Button1Click()
{
    ApplySettings();
    WriteSettings();
}

void TFPreviewOptions::Button2Click()
{
    if (MessageDlg("This will remove current settings and restore defaults, continue?", TMsgDlgType::mtWarning,
                   mbYes | mbNo | mbCancel) == TModalResult::mrYes) {
        SetOptions(TPreviewOptions{});
    }
}

void TFPreviewOptions::UpDownClick(QLineEdit& edit, int delta)
{
    edit.setText(SizeText(SizeValue(edit) + delta));
}
