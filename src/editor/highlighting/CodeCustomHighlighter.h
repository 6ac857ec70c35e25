#pragma once
// What every syntax highlighter is: a component that scans one line at a time into
// tokens and hands out, for each token, the attribute that colours it. Several editors
// may share one highlighter: each joins its change chain and rescans and repaints when
// it fires; when the highlighter is freed, they are told through the component's free
// notification and drop it.
//
// Scanning contract (the painter, the line-state rescan and the printer rely on it):
//     ResetRange() for the first line, or SetRange(state stored for the line);
//     SetLine(text, line index);
//     while (!GetEol()) { GetToken(), GetTokenPos(), GetTokenAttribute(), GetTokenKind(); Next(); }
//     GetRange() is then the state to store for the next line (the buffer keeps -1 for
//     a line not scanned yet).
// A token's text may be a view of the line: it is valid until the next SetLine.

#include "editor/document/CodeCharSet.h"
#include "editor/highlighting/CodeHighlighterAttributes.h"
#include "editor/control/CodeMethodChain.h"
#include "platform/core/objects/Component.h"
#include "platform/core/files/Registry.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Bit 0: the highlighter offers settings entries; bit 1: it can keep its attributes in
// the registry.
using TCodeHighlighterCapabilities = std::uint8_t;
inline constexpr TCodeHighlighterCapabilities hcUserSettings = 1;
inline constexpr TCodeHighlighterCapabilities hcRegistry = 2;

class TCodeCustomHighlighter : public TComponent {
    KP_CLASS(TCodeCustomHighlighter, TComponent)
public:
    explicit TCodeCustomHighlighter(TComponent* owner = nullptr);
    ~TCodeCustomHighlighter() override;

    // --- attributes ---
    virtual int GetAttribCount() const;
    // In name order; nullptr outside 0..count-1.
    virtual TCodeHighlighterAttributes* GetAttribute(int index) const;
    // The attribute of a token class; nullptr for a class the highlighter does not know.
    virtual TCodeHighlighterAttributes* GetDefaultAttribute(int index) const = 0;
    // Takes the attribute into the list under its name and returns it. A second
    // attribute of the same name (ignoring case) is refused with EListError.
    TCodeHighlighterAttributes* AddAttribute(std::unique_ptr<TCodeHighlighterAttributes> attribute);
    // Last first: OnChange := event, then the current values become the defaults.
    void AttachAttributeHandlers(const TNotifyEvent& event);

    // --- description ---
    virtual QString GetDefaultFilter() const;
    virtual void SetDefaultFilter(const QString& filter);
    // Characters 33 to 255 and every code unit above them.
    virtual TCodeCharSet GetWordChars() const;
    virtual void StoreCharSet(const TCodeCharSet& chars);
    const TCodeCharSet& WordBreakChars() const { return wordBreakChars_; }
    virtual QString GetSampleSource() const;
    virtual void SetSampleSource(const QString& text);
    virtual bool QueryFlag() const;
    virtual TCodeHighlighterCapabilities GetCapabilities() const;
    virtual QString GetLanguageName() const;
    virtual bool IsKeyword(const QString& word) const;
    virtual bool UseSettingsEntry(const QString& entry);
    virtual void ListSettingsEntries(QStringList& entries) const;

    // --- scanning ---
    virtual bool GetEol() const = 0;
    virtual int GetRange() const;
    virtual QStringView GetToken() const = 0;
    virtual TCodeHighlighterAttributes* GetTokenAttribute() const = 0;
    virtual int GetTokenKind() const = 0;
    // 0-based start of the token in the line.
    virtual int GetTokenPos() const = 0;
    virtual void Next() = 0;
    virtual void SetLine(const QString& text, int lineNumber) = 0;
    virtual void SetRange(int range);
    virtual void ResetRange();
    // Next until GetEol.
    virtual void NextToEol();
    // True when no range can go on past a line end, whatever the lines hold: every line
    // then starts in the state ResetRange gives, and the line-state scans store it
    // without scanning. False, the safe answer, unless a highlighter can prove it.
    virtual bool RangesEndWithLine() const;

    // --- change notification ---
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    void AddChangeHandler(const TNotifyEvent& event) { changeChain_.Add(event); }
    void RemoveChangeHandler(const TNotifyEvent& event) { changeChain_.Remove(event); }
    // Fires the change chain, or only marks the change while updates are held back.
    void NotifyChange();
    void BeginUpdate() { ++updateCount_; }
    // Fires a change held back while the count was raised.
    void EndUpdate();
    bool ChangePending() const { return changePending_; }

    // From another highlighter: the attributes of the same names, the sample source when
    // it is of this class or derived from it, the word-break characters, the filter and
    // Enabled.
    void Assign(const TPersistent* source) override;

    // --- the registry (the global registry store) ---
    virtual bool ReadAttributesFromRegistry(TRegistryRoot root, const std::string& key);
    virtual bool WriteAttributesToRegistry(TRegistryRoot root, const std::string& key);

private:
    int FindAttribute(const QString& name, bool& found) const;

    std::vector<std::unique_ptr<TCodeHighlighterAttributes>> attributes_;
    TCodeNotifyEventChain changeChain_{this};
    int updateCount_ = 0;
    bool enabled_ = true;
    TCodeCharSet wordBreakChars_;
    QString defaultFilter_;
    bool changePending_ = false;
};
