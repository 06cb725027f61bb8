#include "engine/conversion/simplifyrename.h"
#include "support/rows.h"
#include "support/testdir.h"
#include "workbench/previewmodel.h"

#include <QRegularExpression>
#include <QTest>

using namespace tolvane;
using namespace Qt::StringLiterals;

class TestPreviewModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Rows in numbering order, each "new name" (* when cut short for showing) and what the
    // folder's check says: R renamed, U unchanged, X refused, with the reason. An empty
    // pattern previews the conversion.
    void rows_data()
    {
        QTest::addColumn<QByteArray>("entries");
        QTest::addColumn<QString>("only");
        QTest::addColumn<QByteArray>("pattern");
        QTest::addColumn<QString>("rows");
        const auto row = [](const char *name, const QByteArray &entries, const QByteArray &pattern,
                            const QString &rows, const QString &only = {}) {
            QTest::newRow(name) << entries << only << pattern << rows;
        };
        row("renamed", "a.jpg|b.png", "P#", u"P01.jpg R|P02.png R"_s);
        row("taken", "a.jpg|b.jpg|P01.jpg/", "P#", u"P01.jpg X已有同名的文件夹|P02.jpg R"_s);
        row("colliding", "a.jpg|b.jpg|c.png", "X",
            u"X.jpg X另一个文件也要改成这个名字|X.jpg X另一个文件也要改成这个名字|X.png R"_s);
        row("slash", "a.jpg", "x/#",
            u"x/01.jpg X新文件名中不能含有“/”：文件只在原来的文件夹中改名"_s);
        row("too long", "a.jpeg", QByteArray(250, 'n') + '#',
            u"* X新文件名太长，超出了文件系统的限制"_s);
        row("unchanged", "P01.jpg|P02.jpg|P03.txt", "P#", u"P01.jpg U|P02.jpg U|P03.txt U"_s);
        row("filtered", "a.jpg|b.txt|c.JPG", "P#", u"P01.jpg R|P02.JPG R"_s, u"*.jpg"_s);
        row("conversion", "図書.txt|舊檔.txt|x.txt", "",
            u"x.txt U|図書.txt U日文名，未转换|旧档.txt R"_s);
    }
    void rows()
    {
        QFETCH(QByteArray, entries);
        QFETCH(QString, only);
        QFETCH(QByteArray, pattern);
        QFETCH(QString, rows);
        if (pattern.isEmpty() && !conversionRefusal().isEmpty())
            QSKIP(qPrintable(conversionRefusal()));
        test::TestDir dir;
        dir.create(test::names(entries));
        const auto before = dir.contents();
        const FolderListing listing = FolderListing::read(
            dir.nativePath(), FolderListing::Kind::Files, {}, TypeFilter::fromPatterns(only));
        PreviewModel model;
        const auto shown = [&model](bool checked) {
            QStringList got;
            for (int i = 0; i < model.rowCount(); ++i) {
                const PreviewModel::Row row = model.row(i);
                got.append((row.to.contains(u'…') ? u"*"_s : row.to) +
                           (checked ? u' ' + u"?RUX"_s.at(int(row.status)) + row.reason : u""_s));
            }
            return got.join(u'|');
        };
        // The names come at once, the folder's verdict later, and only the newest request's.
        model.showSerial(dir.nativePath(), listing, "older#", u"1"_s);
        if (pattern.isEmpty())
            model.showConversion(dir.nativePath(), listing, ConversionProfile::T2s);
        else
            model.showSerial(dir.nativePath(), listing, pattern, u"1"_s);
        QVERIFY(model.checking());
        QCOMPARE(shown(false), QString(rows).remove(QRegularExpression(u" [^|]*"_s)));
        QTRY_VERIFY(!model.checking());
        QCOMPARE(shown(true), rows);
        QCOMPARE(dir.contents(), before);
    }
};

QTEST_GUILESS_MAIN(TestPreviewModel)
#include "tst_previewmodel.moc"
