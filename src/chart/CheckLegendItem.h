#pragma once
// One legend entry: check box, a small picture of the series' line and marker, its title in the
// series colour. Unchecked entries stay in the legend (greyed) so that a click brings them back.
// Without its check box (the printout) an entry is only the picture and the title.
#include <qcustomplot.h>

namespace trv {

struct ChartSeries;

class CCheckLegendItem : public QCPAbstractLegendItem {
public:
    CCheckLegendItem(QCPLegend* parent, int series, const ChartSeries& s, bool checkBox = true);

    int Series() const { return m_nSeries; }
    bool Checked() const { return m_bChecked; }
    QString Name() const { return m_strName; }

protected:
    void draw(QCPPainter* painter) override;
    QSize minimumOuterSizeHint() const override;

private:
    int m_nSeries;
    bool m_bChecked;
    bool m_bCheckBox;
    QString m_strName;
    QColor m_TextColor;
    QPen m_LinePen;
    bool m_bLine;
    QCPScatterStyle m_Marker;
};

}  // namespace trv
