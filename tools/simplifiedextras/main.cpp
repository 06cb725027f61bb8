// Writes engine/conversion/simplifiedextras.cpp: the traditional characters of code page 936 that
// OpenCC's t2s tables leave without a right simplified form, with the form to use. Give it the
// Unihan_Variants.txt.bz2 of every supported Debian release (unicode-data): releases add and
// drop forms, and the table keeps the union, each character with the form of the first file
// that needs it.
//   tolvane_simplifiedextras engine/conversion/simplifiedextras.cpp UNIHAN_VARIANTS...
#include "tools/unihan/unihanvariants.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <map>
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
    if (args.size() < 3) {
        QTextStream(stderr)
            << "usage: tolvane_simplifiedextras <output.cpp> <Unihan_Variants.txt.bz2>...\n";
        return 2;
    }
    const opencc::SimpleConverter opencc(TOLVANE_OPENCC_BUILD_DIR "/t2s.json");
    std::map<char32_t, char32_t> extras;
    for (const QString &path : args.mid(2)) {
        tolvane::UnihanVariants unihan;
        if (!unihan.load(path)) {
            QTextStream(stderr) << unihan.errorText() << '\n';
            return 1;
        }
        for (const auto &entry : unihan.traditionalInGbk()) {
            const QList<uint> chosen =
                QString::fromStdString(opencc.Convert(character(entry.character).toStdString()))
                    .toUcs4();
            // OpenCC's choice stands where it is right; otherwise Unihan's first form.
            if (chosen.size() != 1 || !tolvane::UnihanVariants::accepts(entry, char32_t(chosen[0])))
                extras.emplace(entry.character, entry.simplified.first());
        }
    }
    QStringList rows;
    for (const auto &[traditional, simplified] : extras)
        rows.append(QStringLiteral("    {%1, %2}, // %3 → %4")
                        .arg(hex(traditional), hex(simplified), character(traditional),
                             character(simplified)));

    QFile out(args[1]);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        QTextStream(stderr) << args[1] << ": " << out.errorString() << '\n';
        return 1;
    }
    QTextStream(&out)
        << "// Made by tools/simplifiedextras from OpenCC's t2s tables and the union of the "
           "Unihan\n// kSimplifiedVariant data of every supported release. Remake it with that "
           "tool rather\n// than editing it.\n"
           "#include \"engine/conversion/simplifiedextras.h\"\n\n#include <array>\n\n"
           "namespace tolvane {\nnamespace {\n\n"
        << "constexpr std::array<SimplifiedPair, " << rows.size() << "> kExtras = {{\n"
        << rows.join(QLatin1Char('\n')) << "\n}};\n\n} // namespace\n\n"
        << "std::span<const SimplifiedPair> simplifiedExtras()\n{\n    return kExtras;\n}\n\n"
           "} // namespace tolvane\n";
    return 0;
}
