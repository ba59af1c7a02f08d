#include "view/dialogs/TRVTestParamDialog.h"

#include "data/InputRules.h"
#include "res/StringIds.h"
#include "view/QtText.h"
#include "view/widgets/InputValidator.h"
#include "view/widgets/UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

using namespace trv;

namespace {

void ShowList(QComboBox* box, const DialogList& list) {
    QSignalBlocker block(box);
    QStringList items;
    for (const std::string& s : list.items) items << QU8(s);
    bool same = box->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i) same = box->itemText(i) == items[i];
    if (!same) {
        box->clear();
        box->addItems(items);
    }
    box->setCurrentIndex(list.selection);
    box->setEnabled(list.enabled);
}

void ShowControl(QWidget* w, const DialogControl& c) { w->setEnabled(c.enabled); }

void ShowCheck(QCheckBox* box, const DialogControl& c) {
    QSignalBlocker block(box);
    box->setEnabled(c.enabled);
    box->setChecked(c.checked);
}

}  // namespace

CTRVTestParamDialog::CTRVTestParamDialog(const TestDataType& test, const TestAnalysis& choice, QWidget* parent)
    : QDialog(parent), m_rules(test, choice) {
    setWindowTitle(QStr(IDS_TP_TITLE));
    m_pTestType = new QComboBox(this);
    m_pUnit = new QComboBox(this);
    m_pStepEdit = new QLineEdit(this);
    m_pSlider = new QSlider(Qt::Horizontal, this);
    m_pSlider->setTickPosition(QSlider::TicksBelow);
    m_pStepGroup = new QGroupBox(this);
    m_pStepUnit = new QLabel(this);
    m_pStartEdit = new QLineEdit(this);
    m_pIncrementEdit = new QLineEdit(this);
    m_pStartSpin = new CUpDown(this);
    m_pIncrementSpin = new CUpDown(this);
    m_pStartUnit = new QLabel(this);
    m_pIncrementUnit = new QLabel(this);
    m_pLoadGroup = new QGroupBox(this);
    m_pIndividual = new QCheckBox(QStr(IDS_TP_INDIVIDUAL), this);
    m_pCompensate = new QCheckBox(QStr(IDS_TP_COMPENSATE), this);
    m_pSource = new QComboBox(this);
    m_pExplanation = new QLabel(this);
    m_pExplanation->setWordWrap(true);
    m_pExplanation->setMinimumHeight(90);
    m_pExplanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pModel = new QComboBox(this);
    m_pFit = new QComboBox(this);
    for (QLineEdit* e : {m_pStepEdit, m_pStartEdit, m_pIncrementEdit}) {
        e->setMaximumWidth(80);
        e->installEventFilter(this);
    }
    // mm:ss, seconds or metres; numbers with a decimal comma.
    m_pStepEdit->setValidator(new CInputValidator(IsPartialDuration, m_pStepEdit));
    m_pStartEdit->setValidator(new CInputValidator(IsPartialDecimal, m_pStartEdit));
    m_pIncrementEdit->setValidator(new CInputValidator(IsPartialDecimal, m_pIncrementEdit));
    m_pError = new QLabel(this);
    m_pError->setObjectName(QStringLiteral("error"));
    m_pError->setStyleSheet(QStringLiteral("color: #a00000"));
    m_pError->setWordWrap(true);
    m_pError->hide();

    // Layout.
    auto* top = new QFormLayout;
    top->addRow(QStr(IDS_TP_TESTTYPE), m_pTestType);
    top->addRow(QStr(IDS_TP_UNIT), m_pUnit);

    auto* step = new QHBoxLayout(m_pStepGroup);
    step->addWidget(m_pStepEdit);
    step->addWidget(m_pStepUnit);
    step->addWidget(m_pSlider, 1);

    auto* load = new QGridLayout(m_pLoadGroup);
    load->addWidget(new QLabel(QStr(IDS_TP_START)), 0, 0);
    load->addWidget(m_pStartEdit, 0, 1);
    load->addWidget(m_pStartSpin, 0, 2);
    load->addWidget(m_pStartUnit, 0, 3);
    load->addWidget(new QLabel(QStr(IDS_TP_INCREMENT)), 1, 0);
    load->addWidget(m_pIncrementEdit, 1, 1);
    load->addWidget(m_pIncrementSpin, 1, 2);
    load->addWidget(m_pIncrementUnit, 1, 3);
    load->addWidget(m_pIndividual, 2, 0, 1, 4);
    load->setColumnStretch(3, 1);

    auto* sourceBox = new QGroupBox(QStr(IDS_TP_SOURCE), this);
    auto* src = new QVBoxLayout(sourceBox);
    src->addWidget(m_pSource);
    src->addWidget(m_pExplanation);
    src->addWidget(m_pCompensate);

    auto* evalBox = new QGroupBox(QStr(IDS_TP_EVALUATION), this);
    auto* ev = new QFormLayout(evalBox);
    ev->addRow(QStr(IDS_TP_MODEL), m_pModel);
    ev->addRow(QStr(IDS_TP_FIT), m_pFit);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CTRVTestParamDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addLayout(top);
    left->addWidget(m_pStepGroup);
    left->addWidget(m_pLoadGroup);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(sourceBox);
    right->addWidget(evalBox);
    auto* cols = new QHBoxLayout;
    cols->addLayout(left, 1);
    cols->addLayout(right, 1);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(cols);
    lay->addWidget(m_pError);
    lay->addWidget(buttons);
    setMinimumWidth(640);

    // User actions go to the rules; the controls then show their state.
    connect(m_pTestType, &QComboBox::activated, this, [this](int i) {
        m_rules.ChooseTestType(i);
        ShowRules();
    });
    connect(m_pUnit, &QComboBox::activated, this, [this](int i) {
        m_rules.ChooseUnit(i);
        ShowRules();
    });
    connect(m_pSource, &QComboBox::activated, this, [this](int i) {
        m_rules.ChooseSource(i);
        ShowRules();
    });
    connect(m_pCompensate, &QCheckBox::clicked, this, [this](bool on) {
        m_rules.ClickCompensate(on);
        ShowRules();
    });
    connect(m_pIndividual, &QCheckBox::clicked, this, [this](bool on) {
        m_rules.ClickIndividualLoads(on);
        ShowRules();
    });
    connect(m_pModel, &QComboBox::activated, this, [this](int i) {
        m_rules.ChooseModel(i);
        ShowRules();
    });
    connect(m_pFit, &QComboBox::activated, this, [this](int i) {
        m_rules.ChooseFit(i);
        ShowRules();
    });
    connect(m_pSlider, &QSlider::valueChanged, this, [this](int p) {
        if (m_bShowing) return;
        m_rules.SliderMoved(p);
        m_pStepEdit->setText(QU8(m_rules.m_strStepEdit));
    });
    auto spin = [this](CUpDown* box, bool start) {
        connect(box, &CUpDown::stepped, this, [this, start](int delta) {
            if (start)
                m_rules.StartSpin(delta);
            else
                m_rules.IncrementSpin(delta);
            (start ? m_pStartEdit : m_pIncrementEdit)
                ->setText(QU8(start ? m_rules.m_strStartEdit : m_rules.m_strIncrementEdit));
        });
    };
    spin(m_pStartSpin, true);
    spin(m_pIncrementSpin, false);
    ShowRules();
}

CTRVTestParamDialog::~CTRVTestParamDialog() = default;

void CTRVTestParamDialog::ShowReason(int reason) {
    m_pError->setText(reason ? QStr(reason) : QString());
    m_pError->setVisible(reason != 0);
}

void CTRVTestParamDialog::ShowRules() {
    m_bShowing = true;
    const CTestParamRules& r = m_rules;
    ShowList(m_pTestType, r.m_TestTypeList);
    ShowList(m_pUnit, r.m_UnitList);
    ShowList(m_pSource, r.m_SourceList);
    ShowList(m_pModel, r.m_ModelList);
    ShowList(m_pFit, r.m_FitList);
    m_pStepEdit->setText(QU8(r.m_strStepEdit));
    ShowControl(m_pStepEdit, r.m_StepEdit);
    {
        QSignalBlocker block(m_pSlider);
        m_pSlider->setRange(r.m_nSliderMin, r.m_nSliderMax);
        m_pSlider->setTickInterval(r.m_nSliderTick);
        m_pSlider->setValue(r.m_nSliderPos);
    }
    ShowControl(m_pSlider, r.m_Slider);
    m_pStepGroup->setTitle(QU8(r.m_strStepGroup));
    m_pStepUnit->setText(QU8(r.m_strStepUnit));
    m_pStartEdit->setText(QU8(r.m_strStartEdit));
    m_pIncrementEdit->setText(QU8(r.m_strIncrementEdit));
    ShowControl(m_pStartEdit, r.m_StartEdit);
    ShowControl(m_pStartSpin, r.m_StartSpin);
    ShowControl(m_pIncrementEdit, r.m_IncrementEdit);
    ShowControl(m_pIncrementSpin, r.m_IncrementSpin);
    m_pStartUnit->setText(QU8(r.m_strUnitText));
    m_pIncrementUnit->setText(QU8(r.m_strUnitText));
    m_pLoadGroup->setTitle(QU8(r.m_strLoadGroup));
    ShowCheck(m_pIndividual, r.m_IndividualBox);
    ShowCheck(m_pCompensate, r.m_CompensateBox);
    m_pExplanation->setText(QU8(r.m_strExplanation));
    m_bShowing = false;
}

bool CTRVTestParamDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && !m_bShowing) {
        std::string text = static_cast<QLineEdit*>(watched)->text().toStdString();
        if (watched == m_pStepEdit)
            m_rules.StepEditLostFocus(text);
        else if (watched == m_pStartEdit)
            m_rules.StartEditLostFocus(text);
        else if (watched == m_pIncrementEdit)
            m_rules.IncrementEditLostFocus(text);
        else
            return QDialog::eventFilter(watched, event);
        // Rewriting the edits while the focus moves on is safe: the rules refreshed already.
        ShowReason(m_rules.Refusal());
        QMetaObject::invokeMethod(
            this, [this] { ShowRules(); }, Qt::QueuedConnection);
    }
    return QDialog::eventFilter(watched, event);
}

bool CTRVTestParamDialog::TakeEdits() {
    // A value typed into the edit that has the focus counts, as if the focus had moved to OK.
    QWidget* f = focusWidget();
    if (f == m_pStepEdit)
        m_rules.StepEditLostFocus(m_pStepEdit->text().toStdString());
    else if (f == m_pStartEdit)
        m_rules.StartEditLostFocus(m_pStartEdit->text().toStdString());
    else if (f == m_pIncrementEdit)
        m_rules.IncrementEditLostFocus(m_pIncrementEdit->text().toStdString());
    else
        return true;
    return m_rules.Refusal() == InputOk;
}

void CTRVTestParamDialog::accept() {
    QWidget* edit = focusWidget();
    const bool taken = TakeEdits();
    ShowRules();
    if (!taken) {
        // The typed value was refused: the dialog stays, the old value is back in the edit.
        ShowReason(m_rules.Refusal());
        if (auto* e = qobject_cast<QLineEdit*>(edit)) e->selectAll();
        return;
    }
    // A start value of 0 is asked about once, in the dialog: a second OK takes it.
    if (m_rules.StartValueMissing() && !m_bStartZeroAsked) {
        m_bStartZeroAsked = true;
        ShowReason(IDS_IN_START_ZERO);
        m_pStartEdit->setFocus();
        m_pStartEdit->selectAll();
        return;
    }
    QDialog::accept();
}

void CTRVTestParamDialog::ApplyTo(TestDataType& test, TestAnalysis& choice) const { m_rules.Apply(test, choice); }
