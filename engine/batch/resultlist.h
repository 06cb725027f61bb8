#pragma once

#include <QString>

namespace tolvane {

// Where renames and conversions list the names they made (List1 on the working form).
class ResultList
{
public:
    virtual ~ResultList() = default;
    virtual void clear() = 0;
    virtual void append(const QString &name) = 0;
};

} // namespace tolvane
