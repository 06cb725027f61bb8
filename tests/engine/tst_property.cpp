#include "engine/conversion/simplifyrename.h"
#include "support/randombatch.h"
#include "support/statehome.h"
#include "support/testmount.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;
using Kind = tolvane::test::TestMount::Kind;
Q_DECLARE_METATYPE(Kind)

// Random folders, each with one random batch and its undo, a seed each. Every run takes fresh
// seeds unless TOLVANE_PROPERTY_SEED names the first: TOLVANE_PROPERTY_SEED=<the failing seed>
// TOLVANE_PROPERTY_FOLDERS=1 replays a failure exactly.
class TestProperty : public QObject
{
    Q_OBJECT
    tolvane::test::StateHome m_state{QFileInfo(u"/dev/shm"_s).isWritable() ? u"/dev/shm"_s
                                                                           : QDir::tempPath()};

private Q_SLOTS:
    void randomFolders() { runFolders(2000, {}, {}); }
    // The same on sticks that are unplugged and put back, into another slot, between each
    // batch and its undo.
    void remountedFolders_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::newRow("ext4") << Kind::Ext4;
        QTest::newRow("exFAT") << Kind::Exfat;
    }
    void remountedFolders()
    {
        QFETCH(Kind, kind);
        tolvane::test::TestMount stick(kind);
        if (!stick.ready())
            QSKIP(qPrintable(stick.skipReason()));
        runFolders(12, stick.path(), [&stick] { QCOMPARE(stick.remount(false), QString()); });
    }

private:
    void runFolders(int count, const QByteArray &parent, const std::function<void()> &beforeUndo)
    {
        if (const QString refusal = tolvane::conversionRefusal(); !refusal.isEmpty())
            QSKIP(qPrintable(refusal));
        const QByteArray given = qgetenv("TOLVANE_PROPERTY_SEED");
        quint32 seed = given.isEmpty() ? QRandomGenerator::system()->generate() : given.toUInt();
        const int folders =
            qEnvironmentVariable("TOLVANE_PROPERTY_FOLDERS", QString::number(count)).toInt();
        for (int i = 0; i < folders; ++i, ++seed) {
            QRandomGenerator random(seed);
            const QString problem = tolvane::test::randomBatch(
                [&random](unsigned count) { return count ? random.bounded(count) : 0; }, parent,
                beforeUndo);
            QVERIFY2(problem.isEmpty(),
                     qPrintable(u"TOLVANE_PROPERTY_SEED=%1: %2"_s.arg(seed).arg(problem)));
        }
    }
};

QTEST_GUILESS_MAIN(TestProperty)
#include "tst_property.moc"
