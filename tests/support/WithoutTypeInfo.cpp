// Compiled with -fno-rtti (tests/CMakeLists.txt): the vtables below have no type record.
#include "WithoutTypeInfo.h"

#include <QEvent>
#include <QObject>
#include <QWidget>

namespace {

class TObjectWithoutTypeInfo final : public QObject {
public:
    bool event(QEvent* e) override { return QObject::event(e); }
};

class TWidgetWithoutTypeInfo final : public QWidget {
public:
    bool event(QEvent* e) override { return QWidget::event(e); }
};

} // namespace

std::unique_ptr<QObject> MakeObjectWithoutTypeInfo()
{
    return std::make_unique<TObjectWithoutTypeInfo>();
}

std::unique_ptr<QWidget> MakeWidgetWithoutTypeInfo()
{
    return std::make_unique<TWidgetWithoutTypeInfo>();
}
