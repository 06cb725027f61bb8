#pragma once

#include <QByteArrayView>
#include <QList>
#include <QRegularExpression>
#include <QString>

namespace tolvane {

// Which files of a folder are listed, and so numbered or converted: all of them, those of one
// kind, or those matching wildcard patterns such as "*.mp4;*.mkv". Letter case is ignored, as
// cameras write "IMG_0001.JPG".
class TypeFilter
{
public:
    enum class Preset { All, Pictures, Videos, Music, Documents };

    TypeFilter() = default;
    static TypeFilter preset(Preset kind);
    // Patterns separated by ";" (spaces around them ignored); none at all lists every file.
    static TypeFilter fromPatterns(const QString &patterns);

    bool isAll() const { return m_patterns.isEmpty(); }
    QString patterns() const { return m_text; }
    bool matches(QByteArrayView rawName) const;

private:
    QString m_text;
    QList<QRegularExpression> m_patterns;
};

} // namespace tolvane
