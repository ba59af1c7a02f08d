#include "view/PreferredChoiceStore.h"

#include <QSettings>

namespace trv {

namespace {

const char kModelKey[] = "Analysis/PreferredModel";
const char kFitKey[] = "Analysis/PreferredFit";

}  // namespace

AnalysisChoice LoadPreferredChoice() {
    QSettings s;
    return ValidChoice(s.value(QString::fromLatin1(kFitKey), static_cast<int>(FitCubic)).toInt(),
                       s.value(QString::fromLatin1(kModelKey), static_cast<int>(ModelMader)).toInt());
}

void SavePreferredChoice(const AnalysisChoice& choice) {
    const AnalysisChoice c = ValidChoice(choice.fit, choice.model);
    QSettings s;
    s.setValue(QString::fromLatin1(kModelKey), c.model);
    s.setValue(QString::fromLatin1(kFitKey), c.fit);
}

}  // namespace trv
