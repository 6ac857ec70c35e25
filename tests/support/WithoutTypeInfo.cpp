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
    explicit TWidgetWithoutTypeInfo(QWidget* parent) : QWidget(parent) {}
    bool event(QEvent* e) override { return QWidget::event(e); }
};

} // namespace

TWithoutTypeInfo::TWithoutTypeInfo(QWidget* parent)
    : FObject(std::make_unique<TObjectWithoutTypeInfo>()), FWidget(std::make_unique<TWidgetWithoutTypeInfo>(parent))
{
}

TWithoutTypeInfo::~TWithoutTypeInfo() = default;

void TWithoutTypeInfo::Show(QSize size)
{
    FWidget->resize(size);
    FWidget->show();
    FWidget->setFocus();
}

void TWithoutTypeInfo::Activate()
{
    FWidget->activateWindow();
}

void TWithoutTypeInfo::Hide()
{
    FWidget->hide();
}
