#include "view/dialogs/ZoneModelBox.h"

#include "analysis/ThresholdMethods.h"
#include "analysis/ZoneModels.h"
#include "res/StringIds.h"
#include "view/QtText.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>

using namespace trv;

namespace {

void Select(QComboBox* box, const std::string& id) {
    const int i = box->findData(QString::fromStdString(id));
    if (i >= 0) box->setCurrentIndex(i);
}

}  // namespace

CZoneModelBox::CZoneModelBox(QWidget* parent) : QGroupBox(QStr(IDS_ZSET_GROUP), parent) {
    m_pModel = new QComboBox(this);
    for (const ZoneModelInfo& m : ZoneModelCatalogue()) m_pModel->addItem(QStr(m.name), QString::fromLatin1(m.id));
    m_pLt1 = new QComboBox(this);
    m_pLt2 = new QComboBox(this);
    for (QComboBox* box : {m_pLt1, m_pLt2})
        for (const MethodInfo& m : MethodCatalogue()) box->addItem(QStr(m.label), QString::fromLatin1(m.id));
    auto* form = new QFormLayout(this);
    auto row = [&](int label, QComboBox* box) {
        auto* l = new QLabel(QStr(label), this);
        l->setBuddy(box);
        form->addRow(l, box);
    };
    row(IDS_ZSET_MODEL, m_pModel);
    row(IDS_ZSET_LT1, m_pLt1);
    row(IDS_ZSET_LT2, m_pLt2);
    Set(ZoneSettings{});
}

void CZoneModelBox::Set(const ZoneSettings& s) {
    Select(m_pModel, s.model);
    Select(m_pLt1, s.lt1);
    Select(m_pLt2, s.lt2);
}

void CZoneModelBox::Take(ZoneSettings& s) const {
    s.model = m_pModel->currentData().toString().toStdString();
    s.lt1 = m_pLt1->currentData().toString().toStdString();
    s.lt2 = m_pLt2->currentData().toString().toStdString();
}
