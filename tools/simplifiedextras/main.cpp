// Writes engine/simplifiedextras.cpp: the traditional characters of code page 936 that
// OpenCC's t2s tables leave without a right simplified form, with the form to use.
//   tolvane_simplifiedextras engine/simplifiedextras.cpp
#include "tools/unihan/unihanvariants.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <opencc/SimpleConverter.hpp>

namespace {

QString character(char32_t c)
{
    return QString::fromUcs4(&c, 1);
}

QString hex(char32_t c)
{
    return QStringLiteral("0x") + QString::number(uint(c), 16).toUpper();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: tolvane_simplifiedextras <output.cpp>\n";
        return 2;
    }
    tolvane::UnihanVariants unihan;
    if (!unihan.load()) {
        QTextStream(stderr) << unihan.errorText() << '\n';
        return 1;
    }
    const opencc::SimpleConverter opencc(TOLVANE_OPENCC_BUILD_DIR "/t2s.json");

    QStringList rows;
    for (const auto &entry : unihan.traditionalInGbk()) {
        const QList<uint> chosen =
            QString::fromStdString(opencc.Convert(character(entry.character).toStdString()))
                .toUcs4();
        // OpenCC's choice stands where it is right; otherwise Unihan's first form.
        if (chosen.size() == 1 && tolvane::UnihanVariants::accepts(entry, char32_t(chosen[0])))
            continue;
        const char32_t simplified = entry.simplified.first();
        rows.append(QStringLiteral("    {%1, %2}, // %3 → %4")
                        .arg(hex(entry.character), hex(simplified), character(entry.character),
                             character(simplified)));
    }

    QFile out(args[1]);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        QTextStream(stderr) << args[1] << ": " << out.errorString() << '\n';
        return 1;
    }
    QTextStream(&out)
        << "// Made by tools/simplifiedextras from Unihan's kSimplifiedVariant and OpenCC's t2s "
           "tables.\n// Remake it with that tool rather than editing it.\n"
           "#include \"engine/simplifiedextras.h\"\n\n#include <array>\n\n"
           "namespace tolvane {\nnamespace {\n\n"
        << "constexpr std::array<SimplifiedPair, " << rows.size() << "> kExtras = {{\n"
        << rows.join(QLatin1Char('\n')) << "\n}};\n\n} // namespace\n\n"
        << "std::span<const SimplifiedPair> simplifiedExtras()\n{\n    return kExtras;\n}\n\n"
           "} // namespace tolvane\n";
    return 0;
}
