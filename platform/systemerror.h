#pragma once

#include <QString>

namespace tolvane {

// A short Chinese text for the errors a rename can meet; the system's own text for the rest.
QString systemErrorText(int error);

} // namespace tolvane
