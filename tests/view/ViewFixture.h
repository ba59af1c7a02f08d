#pragma once
// A document worked out by hand for the view tests, and helpers that click like a user.
#include "view/lists/MeasurementListModel.h"
#include "view/lists/TestListModel.h"
#include "view/window/DocHandle.h"
#include "view/window/TRVView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QItemSelectionModel>
#include <QTimer>
#include <QTreeView>

#include <functional>
#include <memory>

namespace viewtest {

inline trv::PCMDataType Reading(uint16_t id, int lactateTenths, uint8_t type = trv::MeasSingle, uint8_t status = 1) {
    trv::PCMDataType m;
    m.m_nMeasId = id;
    m.m_nLactate = static_cast<uint16_t>(lactateTenths);
    m.m_nMeasType = type;
    m.m_nStatus = status;
    m.m_nTemperature = 22;
    m.m_Time = trv::COleDateTime::FromParts(2026, 3, 2, 9, 0, id % 60);
    return m;
}

inline trv::TestDataType SingleTest(uint16_t id, int lactateTenths, uint8_t status = 1) {
    trv::TestDataType t;
    t.m_Steps.push_back(Reading(id, lactateTenths, trv::MeasSingle, status));
    return t;
}

// A treadmill step test: IDs first..first+n-1, lactate 1.0, 1.5, 2.2, 3.4, 5.1 ... mmol/l, speeds
// from 2.5 m/s in steps of 0.5 m/s, heart rates 120, 135, ...
inline trv::TestDataType StepTest(uint16_t first, int n) {
    static const int kLactate[] = {10, 15, 22, 34, 51, 73, 95};
    trv::TestDataType t;
    for (int i = 0; i < n; ++i) {
        trv::PCMDataType m = Reading(static_cast<uint16_t>(first + i), kLactate[i % 7], trv::MeasLoad);
        m.m_dSpeed = 2.5 + 0.5 * i;
        m.m_nHeartRate = 120 + 15 * i;
        m.m_bFirstStep = i == 0;
        m.m_bLastStep = i == n - 1;
        t.m_Steps.push_back(m);
    }
    t.m_nLoadUnit = trv::UnitMs;
    t.m_dStartValue = 2.5;
    t.m_dIncrement = 0.5;
    return t;
}

// Tests in document order: 0 step test ID 42 (5 steps), 1 step test ID 100 (5 steps),
// 2 step test ID 200 (4 steps), 3 single 251, 4 single 252 (High), 5 single 500.
inline void FillDocument(trv::CTRVDoc& doc) {
    doc.m_Tests.clear();
    doc.m_Tests.push_back(StepTest(42, 5));
    doc.m_Tests.push_back(StepTest(100, 5));
    doc.m_Tests.push_back(StepTest(200, 4));
    doc.m_Tests.push_back(SingleTest(251, 12));
    doc.m_Tests.push_back(SingleTest(252, 80, trv::StatusHigh));
    doc.m_Tests.push_back(SingleTest(500, 9));
}

// Runs `act` on the next modal dialog once it shows.
inline void OnNextModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        if (QWidget* w = QApplication::activeModalWidget()) act(w);
    });
}

// Runs `act` on the next modal dialog, which must be a `Dialog`.
template <class Dialog>
void OnNextDialog(std::function<void(Dialog*)> act) {
    OnNextModal([act](QWidget* w) {
        auto* dlg = qobject_cast<Dialog*>(w);
        ASSERT_NE(dlg, nullptr);
        act(dlg);
    });
}

struct ViewHolder {
    ViewHolder() : doc(std::make_unique<CDocHandle>()) {
        FillDocument(doc->Doc());
        view = std::make_unique<CTRVView>(doc.get());
        view->resize(1100, 800);
        view->show();
    }
    ~ViewHolder() { view.reset(); }

    // Row of the test list that shows test `index` (newest first).
    int RowOf(int index) const { return view->Ui().testModel->RowOfTestIndex(index); }

    // A click on a row (with Ctrl: added to the selection).
    void SelectTests(std::initializer_list<int> tests) {
        QItemSelectionModel* sel = view->Ui().testList->selectionModel();
        bool first = true;
        for (int t : tests) {
            QModelIndex idx = view->TestListIndex(t);
            sel->setCurrentIndex(idx, (first ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Select) |
                                          QItemSelectionModel::Rows);
            if (tests.size() == 1) emit view->Ui().testList->clicked(idx);
            first = false;
        }
    }

    // A click on the check box of a test's row, as the list's delegate passes it to the model.
    void ClickTestCheck(int test, bool checked) {
        QModelIndex idx = view->Ui().testModel->index(RowOf(test), 0);
        view->Ui().testModel->setData(idx, checked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
    }
    bool TestChecked(int test) const {
        QModelIndex idx = view->Ui().testModel->index(RowOf(test), 0);
        return idx.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    }

    std::unique_ptr<CDocHandle> doc;
    std::unique_ptr<CTRVView> view;
};

}  // namespace viewtest
