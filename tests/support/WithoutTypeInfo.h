#pragma once
// Objects as the web engine makes them: classes compiled without run-time type
// information, whose type record a dynamic_cast would read and not find. Every
// process-wide hook meets such objects (the accessibility factory, event filters).
// What the tests do to them happens in WithoutTypeInfo.cpp: the sanitizers check a
// member call against the type record, which these objects lack.

#include <QSize>

#include <memory>

class QObject;
class QWidget;

class TWithoutTypeInfo {
public:
    // The widget a window of its own, or a child of `parent` (as a web page's are).
    explicit TWithoutTypeInfo(QWidget* parent = nullptr);
    ~TWithoutTypeInfo();
    TWithoutTypeInfo(const TWithoutTypeInfo&) = delete;
    TWithoutTypeInfo& operator=(const TWithoutTypeInfo&) = delete;

    // To hand to Qt.
    QObject* Object() const { return FObject.get(); }
    QWidget* Widget() const { return FWidget.get(); }
    // Shows the widget at `size` and gives it the focus.
    void Show(QSize size);
    // Asks for the keyboard for the widget's window, as a click would.
    void Activate();
    void Hide();

private:
    std::unique_ptr<QObject> FObject;
    std::unique_ptr<QWidget> FWidget;
};
