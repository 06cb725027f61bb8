#include "controls/host/storedform.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>

using namespace tolvane;

// Fonts need a GUI application; the offscreen platform needs no display.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(*argc, *argv);
    return 0;
}

// Rejected data says why; accepted data is stable after one write and read, and every stored
// value reads as the type a control asks for.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QString error;
    const std::optional<StoredForm> form = StoredForm::fromJson(json, &error);
    if (!form) {
        if (error.isEmpty())
            qFatal("rejected without a reason");
        return 0;
    }
    const QByteArray written = form->toJson();
    const std::optional<StoredForm> reread = StoredForm::fromJson(written);
    if (!reread || reread->instances() != form->instances() || reread->toJson() != written)
        qFatal("not stable through its own JSON:\n%s", written.constData());
    const QVariantList defaults{true,    QVariant::fromValue<qint16>(1), 1, 1.5, QString(), QFont(),
                                QImage()};
    for (const QString &instance : form->instances()) {
        const PropertyBag *bag = form->find(instance);
        for (const QString &name : bag->names())
            for (const QVariant &defaultValue : defaults)
                if (bag->read(name, defaultValue).typeId() != defaultValue.typeId())
                    qFatal("%s.%s read as the wrong type", qPrintable(instance), qPrintable(name));
    }
    return 0;
}
