#include "controls/host/formhost.h"
#include "controls/host/hostedcontrol.h"
#include "controls/host/propertybag.h"

#include <QTest>

using namespace tolvane;

namespace {

QStringList calls;

// Records each lifecycle call the host makes, in order.
class Probe : public HostedControl
{
public:
    explicit Probe(QWidget *parent) : HostedControl(parent) { calls << u"created"_qs; }
    ~Probe() override { calls << u"destroyed"_qs; }

protected:
    void initProperties() override { calls << u"new:"_qs + displayName(); }
    void readProperties(const PropertyBag &bag) override
    {
        calls << u"load:"_qs + bag.read(u"Caption", QString());
    }
    void writeProperties(PropertyBag &) const override { calls << u"save"_qs; }
    void resized() override { calls << QString::asprintf("resized:%dx%d", width(), height()); }
};

} // namespace

class TestHostedControl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lifecycleRunsInOrder_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QString>("expected");
        QTest::newRow("new instance keeps its own size")
            << false << u"created new:Check1 resized:100x30 save:100x30 destroyed"_qs;
        QTest::newRow("stored") << true << u"created load:Go resized:81x22 save:81x22 destroyed"_qs;
    }
    void lifecycleRunsInOrder()
    {
        QFETCH(bool, stored);
        calls.clear();
        FormHost host;
        QWidget form;
        PropertyBag entry;
        entry.setExtentPixels({81, 22});
        entry.write(u"caption"_qs, QVariant(u"Go"_qs), QVariant(QString()));
        auto *probe = createInstance<Probe>(&form, host, u"Check1"_qs, stored ? &entry : nullptr);
        PropertyBag saved;
        probe->saveProperties(saved);
        calls.last() += QString::asprintf(":%dx%d", saved.extentPixels().width(),
                                          saved.extentPixels().height());
        delete probe;
        QTEST(calls.join(u' '), "expected");
    }
};

QTEST_MAIN(TestHostedControl)
#include "tst_hostedcontrol.moc"
