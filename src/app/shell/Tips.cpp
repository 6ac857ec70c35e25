#include "app/shell/Tips.h"

#include "app/shell/TipIcons.h"
#include "app/shell/TipWindow.h"

#include "platform/core/files/Registry.h"

#include <variant>

TTips::TTips() = default;

TTips::~TTips()
{
    delete FWindow.data();
}

void TTips::SetCurrentTip(int value)
{
    FCurrentTip = value > FTips.size() - 1 ? 0 : value;
    if (FWindow)
        FWindow->ShowTip(CurrentTipText());
}

QString TTips::CurrentTipText() const
{
    return FTips.value(FCurrentTip);
}

void TTips::SetTips(const QStringList& tips)
{
    FTips = tips;
    if (FCurrentTip > FTips.size() - 1)
        FCurrentTip = static_cast<int>(FTips.size()) - 1;
}

void TTips::SetGlyph(const QPixmap& glyph)
{
    FGlyph = glyph;
    FGlyphStyle = TGlyphStyle::gsCustom;
}

QPixmap TTips::Icon() const
{
    return FGlyphStyle == TGlyphStyle::gsCustom ? FGlyph : TipIcon(FGlyphStyle);
}

void TTips::Loaded()
{
    LoadFromRegistry();
}

void TTips::LoadFromRegistry()
{
    if (!UseRegistry || RegParentKey.isEmpty() || RegSubKey.isEmpty())
        return;
    IRegistryStore& store = GetRegistryStore();
    TRegistry registry(store);
    if (!registry.OpenKeyReadOnly((RegParentKey + QLatin1Char('\\') + RegSubKey).toStdString()))
        return;
    for (const auto& name : registry.GetValueNames()) {
        // An integer value reads as its decimal text, as a settings file would give it.
        const auto value = store.ReadValue(registry.RootKey(), registry.CurrentPath(), name);
        if (!value)
            continue;
        if (const auto* text = std::get_if<std::string>(&*value))
            FTips << QString::fromStdString(*text);
        else
            FTips << QString::number(std::get<std::int32_t>(*value));
    }
}

void TTips::ShowTips()
{
    if (!FWindow) {
        FWindow = new TTipWindow(*this);
        FWindow->show();
    }
    FWindow->raise();
    FWindow->activateWindow();
}

void TTips::NextTip()
{
    SetCurrentTip(FCurrentTip + 1);
    if (OnNextTip)
        OnNextTip();
}

void TTips::CloseDialog()
{
    if (OnCloseDialog)
        OnCloseDialog();
    // Forgotten first: the window's close comes back here.
    TTipWindow* window = FWindow.data();
    FWindow.clear();
    if (window)
        window->close();
}

TTipWindow* TTips::Window() const
{
    return FWindow.data();
}
