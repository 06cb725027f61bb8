#pragma once

#include <QString>
#include <QtGlobal>

namespace tolvane {

// The two form-level values of the serial rename. The working form owns them and resets them
// when it loads; every batch sets them afresh before it uses them.
struct BatchState
{
    qint16 StartTextLength = 0;
    QString SerialFormat;
};

} // namespace tolvane
