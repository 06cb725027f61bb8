#pragma once

class QCoreApplication;

namespace tolvane {

// Qt's own dialogs and standard buttons speak Chinese as the rest of the program does, whatever
// the locale. False, with a warning, where Qt's Chinese translations are not installed.
bool installQtTranslations(QCoreApplication &app);

} // namespace tolvane
