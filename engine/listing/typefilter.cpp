#include "engine/listing/typefilter.h"

#include "platform/rawname.h"

#include <QStringList>
#include <algorithm>

namespace tolvane {

TypeFilter TypeFilter::preset(Preset kind)
{
    switch (kind) {
    case Preset::All:
        return {};
    case Preset::Pictures:
        return fromPatterns(QStringLiteral("*.jpg;*.jpeg;*.png;*.gif;*.bmp;*.webp;*.tif;*.tiff;"
                                           "*.heic;*.heif;*.avif;*.svg;*.ico;*.raw;*.dng;*.cr2;"
                                           "*.cr3;*.nef;*.arw;*.orf;*.rw2"));
    case Preset::Videos:
        return fromPatterns(QStringLiteral("*.mp4;*.mkv;*.avi;*.mov;*.wmv;*.flv;*.webm;*.m4v;"
                                           "*.mpg;*.mpeg;*.ts;*.m2ts;*.mts;*.3gp;*.rm;*.rmvb;"
                                           "*.vob;*.ogv"));
    case Preset::Music:
        return fromPatterns(QStringLiteral("*.mp3;*.flac;*.wav;*.aac;*.ogg;*.oga;*.opus;*.m4a;"
                                           "*.wma;*.ape;*.aiff;*.aif;*.mid;*.midi"));
    case Preset::Documents:
        return fromPatterns(QStringLiteral("*.txt;*.md;*.pdf;*.doc;*.docx;*.xls;*.xlsx;*.ppt;"
                                           "*.pptx;*.odt;*.ods;*.odp;*.rtf;*.csv;*.wps;*.et;"
                                           "*.dps;*.epub;*.html;*.htm"));
    }
    return {};
}

TypeFilter TypeFilter::fromPatterns(const QString &patterns)
{
    TypeFilter filter;
    QStringList parts = patterns.split(u';', Qt::SkipEmptyParts);
    for (QString &part : parts)
        part = part.trimmed();
    parts.removeAll(QString());
    filter.m_text = parts.join(u';');
    for (const QString &part : std::as_const(parts))
        filter.m_patterns.append(
            QRegularExpression(QRegularExpression::wildcardToRegularExpression(part),
                               QRegularExpression::CaseInsensitiveOption));
    return filter;
}

bool TypeFilter::matches(QByteArrayView rawName) const
{
    if (isAll())
        return true;
    // The name as text, so that a pattern can match the valid part of a name that is not UTF-8.
    const QString name = nameText(rawName.toByteArray());
    return std::any_of(m_patterns.cbegin(), m_patterns.cend(),
                       [&name](const QRegularExpression &re) { return re.match(name).hasMatch(); });
}

} // namespace tolvane
