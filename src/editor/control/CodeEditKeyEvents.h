#pragma once
// The editor's key events: a key going down (virtual key and shift state) and a typed
// character. Handlers set the key to 0 (or the character to NUL) to consume it.

#include "platform/core/objects/Delegate.h"
#include "platform/core/objects/Object.h"
#include "platform/core/services/VirtualKeys.h"

#include <QChar>

using TKeyEvent = TDelegate<void(TObject* sender, TVirtualKey& key, TShiftState shift)>;
using TKeyPressEvent = TDelegate<void(TObject* sender, QChar& key)>;
