#pragma once
// A test row may carry the change that sets its case up, run before the steps all rows share.

#include <QMetaType>

#include <functional>

using Setup = std::function<void()>;
Q_DECLARE_METATYPE(Setup)
