#pragma once
// "Bevorzugte Auswertung": the threshold model and fitting function every test gets when its
// document opens and every new test gets. The lists follow each other as in the test parameters:
// Keul and Simon take the polynomial, the splines take Mader.
#include "workspace/TestAnalyses.h"

#include <QDialog>

class QComboBox;

class CPreferredChoiceDialog : public QDialog {
    Q_OBJECT
public:
    explicit CPreferredChoiceDialog(const trv::AnalysisChoice& choice, QWidget* parent = nullptr);

    trv::AnalysisChoice Choice() const { return m_Choice; }

    QComboBox* m_pModel;
    QComboBox* m_pFit;

private:
    void Show();

    trv::AnalysisChoice m_Choice;
};
