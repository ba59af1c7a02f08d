#include "view/settings/PreferredChoiceStore.h"

#include "view/settings/Settings.h"

#include <QSettings>

namespace trv {

AnalysisChoice LoadPreferredChoice() {
    QSettings s;
    return ValidChoice(
        s.value(QString::fromLatin1(settings::kPreferredFitKey), static_cast<int>(FitCubic)).toInt(),
        s.value(QString::fromLatin1(settings::kPreferredModelKey), static_cast<int>(ModelMader)).toInt());
}

void SavePreferredChoice(const AnalysisChoice& choice) {
    const AnalysisChoice c = ValidChoice(choice.fit, choice.model);
    QSettings s;
    s.setValue(QString::fromLatin1(settings::kPreferredModelKey), c.model);
    s.setValue(QString::fromLatin1(settings::kPreferredFitKey), c.fit);
}

}  // namespace trv
