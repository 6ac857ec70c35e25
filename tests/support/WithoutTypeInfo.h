#pragma once
// Objects as the web engine makes them: classes compiled without run-time type
// information, whose type record a dynamic_cast would read and not find. Every
// process-wide hook meets such objects (the accessibility factory, event filters).

#include <memory>

class QObject;
class QWidget;

std::unique_ptr<QObject> MakeObjectWithoutTypeInfo();
std::unique_ptr<QWidget> MakeWidgetWithoutTypeInfo();
