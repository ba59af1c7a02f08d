#pragma once
// The chart above, the two lists below, with a handle between them. The lists keep the height the
// user gave them (at first their comfortable height) as long as the chart keeps its share of the
// window; in a small window the lists give way first, down to a few rows, so that the chart stays
// readable.
#include <QSplitter>

class CWorkspaceSplitter : public QSplitter {
    Q_OBJECT
public:
    CWorkspaceSplitter(QWidget* chartPane, QWidget* listPane, QWidget* parent = nullptr);

    // The list pane's height at its comfort (until the user drags the handle).
    void SetListComfort(int height);
    int ListHeight() const;

    // The rule: for a splitter height `total` the list pane gets `wanted`, unless that leaves the
    // chart less than `chartComfort` and less than three fifths of `total`; then the chart gets that
    // much and the lists what is left, but never less than `listMin`.
    static int ListHeightFor(int total, int wanted, int listMin, int chartComfort);
    static constexpr int kChartComfort = 320;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void Apply();

    int m_nWanted = 0;
};
