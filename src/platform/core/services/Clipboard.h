#pragma once
// The system clipboard as the layers below the shell see it: named formats holding
// bytes. A writer opens the clipboard, empties it, sets one or more formats and closes
// it; the formats set between one Open and Close travel together. Every step can fail
// (another program holds the clipboard, memory runs out) and says so with its result.
//
// The shell installs the toolkit's clipboard (platform/gui); without one a process-wide
// in-memory clipboard serves, which tests also use directly to script failures.

#include <map>
#include <string>
#include <string_view>

// Plain text, UTF-8.
inline constexpr std::string_view ClipboardTextFormat = "text/plain";

class IClipboard {
public:
    virtual ~IClipboard() = default;

    // False when the clipboard cannot be had now; nothing else may then be called.
    virtual bool Open() = 0;
    // Publishes what was set since Open.
    virtual void Close() = 0;
    // Removes every format (clipboard open).
    virtual bool Clear() = 0;
    // Works without opening.
    virtual bool HasFormat(std::string_view format) const = 0;
    // Clipboard open. False when the data could not be stored.
    virtual bool SetData(std::string_view format, const std::string& bytes) = 0;
    // Clipboard open. False when the format is missing or its data cannot be read.
    virtual bool GetData(std::string_view format, std::string& bytes) const = 0;
};

// Opens the clipboard for a scope and closes it on every way out.
class TClipboardOpener {
public:
    explicit TClipboardOpener(IClipboard& clipboard) : clipboard_(clipboard), open_(clipboard.Open()) {}
    ~TClipboardOpener()
    {
        if (open_) {
            clipboard_.Close();
        }
    }
    TClipboardOpener(const TClipboardOpener&) = delete;
    TClipboardOpener& operator=(const TClipboardOpener&) = delete;

    bool IsOpen() const { return open_; }

private:
    IClipboard& clipboard_;
    bool open_;
};

// Formats in memory. The failure switches let tests play a clipboard that is busy, full
// or unreadable.
class TMemoryClipboard : public IClipboard {
public:
    bool Open() override;
    void Close() override;
    bool Clear() override;
    bool HasFormat(std::string_view format) const override;
    bool SetData(std::string_view format, const std::string& bytes) override;
    bool GetData(std::string_view format, std::string& bytes) const override;

    bool IsOpen() const { return open_; }
    int OpenCount() const { return opens_; }

    bool failOpen = false;
    // SetData fails for this format ("" = never).
    std::string failSetFormat;
    // GetData fails for this format although HasFormat answers true.
    std::string failGetFormat;

private:
    std::map<std::string, std::string, std::less<>> formats_;
    std::map<std::string, std::string, std::less<>> pending_;
    bool cleared_ = false;
    bool open_ = false;
    int opens_ = 0;
};

// Installs `clipboard` (not owned; nullptr restores the built-in memory clipboard) and
// returns the one it replaces (nullptr for the built-in one).
IClipboard* SetClipboard(IClipboard* clipboard);
// The installed clipboard, else the built-in memory clipboard.
IClipboard& Clipboard();

// Puts `text` (UTF-8) on the installed clipboard as its only content; false when the
// clipboard could not be had or did not take it.
bool CopyTextToClipboard(const std::string& text);

// Installs a clipboard for the lifetime of a scope.
class TClipboardScope {
public:
    explicit TClipboardScope(IClipboard* clipboard) : previous_(SetClipboard(clipboard)) {}
    ~TClipboardScope() { SetClipboard(previous_); }
    TClipboardScope(const TClipboardScope&) = delete;
    TClipboardScope& operator=(const TClipboardScope&) = delete;

private:
    IClipboard* previous_;
};
