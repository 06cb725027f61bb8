#include "controls/host/formhost.h"
#include "controls/host/hostedcontrol.h"
#include "controls/host/propertybag.h"

#include <QTest>

using namespace tolvane;

namespace {

// Records each lifecycle call the host makes, in order.
class Probe : public HostedControl
{
public:
    explicit Probe(QWidget *parent = nullptr) : HostedControl(parent)
    {
        log().append(QStringLiteral("created"));
    }
    ~Probe() override { log().append(QStringLiteral("destroyed")); }
    static QStringList &log()
    {
        static QStringList entries;
        return entries;
    }

protected:
    void initProperties() override { log().append(QStringLiteral("new:") + displayName()); }
    void readProperties(const PropertyBag &bag) override
    {
        log().append(QStringLiteral("load"));
        m_caption = bag.read(u"Caption", displayName());
    }
    void writeProperties(PropertyBag &bag) const override
    {
        log().append(QStringLiteral("save"));
        bag.write(QStringLiteral("Caption"), m_caption, QString());
    }
    void resized() override
    {
        log().append(QStringLiteral("resized:%1x%2").arg(width()).arg(height()));
    }

private:
    QString m_caption;
};

} // namespace

class TestHostedControl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lifecycleRunsInOrder_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("new instance keeps its own size")
            << false
            << QStringList{u"created"_qs, u"new:Check1"_qs, u"resized:100x30"_qs, u"save"_qs,
                           u"destroyed"_qs};
        QTest::newRow("stored") << true
                                << QStringList{u"created"_qs, u"load"_qs, u"resized:81x22"_qs,
                                               u"save"_qs, u"destroyed"_qs};
    }
    void lifecycleRunsInOrder()
    {
        QFETCH(bool, stored);
        Probe::log().clear();
        FormHost host;
        QWidget form;
        PropertyBag entry;
        entry.setExtentPixels({81, 22});
        entry.write(QStringLiteral("caption"), QVariant(u"Go"_qs), QVariant(QString()));
        auto *probe = createInstance<Probe>(&form, host, u"Check1"_qs, stored ? &entry : nullptr);
        PropertyBag saved;
        probe->saveProperties(saved);
        QCOMPARE(saved.read(u"Caption", QString()), stored ? u"Go"_qs : QString());
        QCOMPARE(saved.extentPixels(), probe->size());
        delete probe;
        QTEST(Probe::log(), "expected");
    }

    void hiddenControlResizesAtOnce_data()
    {
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("whole pixels") << QRect(315, 570, 1215, 330) << QRect(21, 38, 81, 22);
        QTest::newRow("rounded") << QRect(10, 22, 400, 337) << QRect(1, 1, 27, 22);
    }
    void hiddenControlResizesAtOnce()
    {
        QFETCH(QRect, twips);
        QFETCH(QRect, pixels);
        Probe::log().clear();
        Probe probe;
        probe.setGeometryTwips(twips);
        QCOMPARE(probe.geometry(), pixels);
        QCOMPARE(Probe::log().last(),
                 QStringLiteral("resized:%1x%2").arg(pixels.width()).arg(pixels.height()));
    }
};

QTEST_MAIN(TestHostedControl)
#include "tst_hostedcontrol.moc"
