#pragma once
// "Testparameter": the parameters of one test. A thin window over CTestParamRules: every user action
// goes to the rules, and the controls then show the rules' state again. A refused entry is named
// below the controls; OK stays in the dialog until every typed value was taken.
#include "data/Records.h"
#include "workspace/TestParamRules.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSlider;
class CUpDown;

class CTRVTestParamDialog : public QDialog {
    Q_OBJECT
public:
    CTRVTestParamDialog(const trv::TestDataType& test, const trv::TestAnalysis& choice, QWidget* parent = nullptr);
    ~CTRVTestParamDialog() override;

    // Writes the chosen parameters into `test` and the fitting choice into `choice`.
    void ApplyTo(trv::TestDataType& test, trv::TestAnalysis& choice) const;
    const trv::CTestParamRules& Rules() const { return m_rules; }

    QComboBox* m_pTestType;
    QComboBox* m_pUnit;
    QLineEdit* m_pStepEdit;
    QSlider* m_pSlider;
    QGroupBox* m_pStepGroup;
    QLabel* m_pStepUnit;
    QLineEdit* m_pStartEdit;
    CUpDown* m_pStartSpin;
    QLineEdit* m_pIncrementEdit;
    CUpDown* m_pIncrementSpin;
    QLabel* m_pStartUnit;
    QLabel* m_pIncrementUnit;
    QGroupBox* m_pLoadGroup;
    QCheckBox* m_pIndividual;
    QCheckBox* m_pCompensate;
    QComboBox* m_pSource;
    QLabel* m_pExplanation;
    QComboBox* m_pModel;
    QComboBox* m_pFit;
    QLabel* m_pError;  // why a typed value was refused, or the question about a start value of 0

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowRules();
    void ShowReason(int reason);  // string-table id, 0 hides the line
    // Takes the edit that has the focus; false when its text was refused.
    bool TakeEdits();

    trv::CTestParamRules m_rules;
    bool m_bShowing = false;
    bool m_bStartZeroAsked = false;
};
