#include "editor/highlighting/CodeCustomHighlighter.h"

#include "platform/core/Exceptions.h"

#include <algorithm>
#include <string_view>

namespace {

TCodeCharSet DefaultWordBreakChars()
{
    TCodeCharSet set;
    for (char16_t c : std::u16string_view(u"!\"'()*+,-./:;=?[\\]^{|}")) {
        set.Include(c);
    }
    return set;
}

} // namespace

TCodeCustomHighlighter::TCodeCustomHighlighter(TComponent* owner)
    : TComponent(owner), wordBreakChars_(DefaultWordBreakChars())
{
}

TCodeCustomHighlighter::~TCodeCustomHighlighter()
{
    while (!attributes_.empty()) {
        attributes_.pop_back();
    }
}

int TCodeCustomHighlighter::FindAttribute(const QString& name, bool& found) const
{
    const auto it = std::lower_bound(attributes_.begin(), attributes_.end(), name, [](const auto& a, const QString& n) {
        return QString::compare(a->Name(), n, Qt::CaseInsensitive) < 0;
    });
    found = it != attributes_.end() && QString::compare((*it)->Name(), name, Qt::CaseInsensitive) == 0;
    return static_cast<int>(it - attributes_.begin());
}

TCodeHighlighterAttributes* TCodeCustomHighlighter::AddAttribute(std::unique_ptr<TCodeHighlighterAttributes> attribute)
{
    bool found = false;
    const int index = FindAttribute(attribute->Name(), found);
    if (found) {
        throw EListError("String list does not allow duplicates");
    }
    TCodeHighlighterAttributes* added = attribute.get();
    attributes_.insert(attributes_.begin() + index, std::move(attribute));
    return added;
}

void TCodeCustomHighlighter::AttachAttributeHandlers(const TNotifyEvent& event)
{
    for (auto it = attributes_.rbegin(); it != attributes_.rend(); ++it) {
        (*it)->OnChange = event;
        (*it)->StoreCurrentAsDefaults();
    }
}

int TCodeCustomHighlighter::GetAttribCount() const { return static_cast<int>(attributes_.size()); }

TCodeHighlighterAttributes* TCodeCustomHighlighter::GetAttribute(int index) const
{
    if (index < 0 || index >= GetAttribCount()) {
        return nullptr;
    }
    return attributes_[static_cast<std::size_t>(index)].get();
}

QString TCodeCustomHighlighter::GetDefaultFilter() const { return defaultFilter_; }

void TCodeCustomHighlighter::SetDefaultFilter(const QString& filter) { defaultFilter_ = filter; }

TCodeCharSet TCodeCustomHighlighter::GetWordChars() const
{
    TCodeCharSet set;
    set.IncludeRange(33, 255);
    set.SetHighCodesIncluded(true);
    return set;
}

void TCodeCustomHighlighter::StoreCharSet(const TCodeCharSet& chars) { wordBreakChars_ = chars; }

QString TCodeCustomHighlighter::GetSampleSource() const { return {}; }

void TCodeCustomHighlighter::SetSampleSource(const QString&) {}

bool TCodeCustomHighlighter::QueryFlag() const { return true; }

TCodeHighlighterCapabilities TCodeCustomHighlighter::GetCapabilities() const { return hcRegistry; }

QString TCodeCustomHighlighter::GetLanguageName() const { return QStringLiteral("<Unknown>"); }

bool TCodeCustomHighlighter::IsKeyword(const QString&) const { return false; }

bool TCodeCustomHighlighter::UseSettingsEntry(const QString&) { return false; }

void TCodeCustomHighlighter::ListSettingsEntries(QStringList& entries) const { entries.clear(); }

int TCodeCustomHighlighter::GetRange() const { return 0; }

void TCodeCustomHighlighter::SetRange(int) {}

void TCodeCustomHighlighter::ResetRange() {}

void TCodeCustomHighlighter::NextToEol()
{
    while (!GetEol()) {
        Next();
    }
}

bool TCodeCustomHighlighter::RangesEndWithLine() const { return false; }

void TCodeCustomHighlighter::SetEnabled(bool value)
{
    if (value != enabled_) {
        enabled_ = value;
        NotifyChange();
    }
}

void TCodeCustomHighlighter::NotifyChange()
{
    if (updateCount_ < 1) {
        changeChain_.Fire();
    } else {
        changePending_ = true;
    }
}

void TCodeCustomHighlighter::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0 && changePending_) {
        changePending_ = false;
        NotifyChange();
    }
}

void TCodeCustomHighlighter::Assign(const TPersistent* source)
{
    const auto* other = ObjectCast<TCodeCustomHighlighter>(source);
    if (!other) {
        TComponent::Assign(source);
        return;
    }
    for (int i = 0; i < other->GetAttribCount(); ++i) {
        const TCodeHighlighterAttributes* from = other->GetAttribute(i);
        for (int j = 0; j < GetAttribCount(); ++j) {
            if (GetAttribute(j)->Name() == from->Name()) {
                GetAttribute(j)->Assign(from);
                break;
            }
        }
    }
    if (other->InheritsFrom(ClassType())) {
        SetSampleSource(other->GetSampleSource());
    }
    wordBreakChars_ = other->wordBreakChars_;
    defaultFilter_ = other->defaultFilter_;
    SetEnabled(other->enabled_);
}

bool TCodeCustomHighlighter::WriteAttributesToRegistry(TRegistryRoot root, const std::string& key)
{
    TRegistry registry;
    registry.SetRootKey(root);
    if (!registry.OpenKey(key, true)) {
        return false;
    }
    for (const auto& attribute : attributes_) {
        if (!attribute->SaveToRegistry(registry)) {
            return false;
        }
    }
    try {
        GetRegistryStore().Flush();
    } catch (const Exception&) {
        return false;
    }
    return true;
}

bool TCodeCustomHighlighter::ReadAttributesFromRegistry(TRegistryRoot root, const std::string& key)
{
    TRegistry registry;
    registry.SetRootKey(root);
    if (!registry.OpenKeyReadOnly(key)) {
        return false;
    }
    for (const auto& attribute : attributes_) {
        if (!attribute->LoadFromRegistry(registry)) {
            return false;
        }
    }
    return true;
}
