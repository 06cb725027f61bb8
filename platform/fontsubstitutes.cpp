#include "platform/fontsubstitutes.h"

#include <QFont>

namespace tolvane {

void installFontSubstitutes()
{
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("WenQuanYi Micro Hei"));
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"));
}

} // namespace tolvane
