#pragma once

#include "engine/conversion/conversionprofile.h"

#include <QComboBox>

namespace tolvane {

// The conversion tab's choice of dictionaries (cboProfile), 繁体 → 简体 first. Raises Change
// when another is chosen; the form keeps the choice from one run to the next.
class ProfileChoice : public QComboBox
{
    Q_OBJECT

public:
    explicit ProfileChoice(QWidget *parent = nullptr);

    ConversionProfile profile() const { return ConversionProfile(currentIndex()); }

Q_SIGNALS:
    void Change();
};

} // namespace tolvane
