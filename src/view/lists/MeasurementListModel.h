#pragma once
// The "Messdaten" list: the measurements of the selected tests, in stored order.
#include "data/CsvExport.h"
#include "data/TRVDoc.h"
#include "workspace/MeasurementEdit.h"

#include <QAbstractTableModel>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

class CMeasurementListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColTime, ColDate, ColDuration, ColLoad, ColLactate, ColHeartRate, ColTemperature, ColumnCount };

    struct Row {
        int test = -1;
        int meas = -1;
    };

    // Stores a typed cell (test, measurement, column, text). A document window hands in its
    // workspace's command; a list on its own applies the edit rules straight to the document.
    using Editor = std::function<trv::MeasEditResult(int, int, int, const std::string&)>;

    explicit CMeasurementListModel(trv::CTRVDoc* doc, QObject* parent = nullptr);
    void SetEditor(Editor editor) { m_Editor = std::move(editor); }
    // Where a shortened step's compensated load comes from (the window's workspace); none: 0.0.
    void SetCompensatedLoads(trv::CompensatedLoadOf compensated) { m_Compensated = std::move(compensated); }
    // The notice of a reading that does not fit its curve (null when it fits): such rows are marked.
    using FlaggedOf = std::function<const std::string*(int test, int row)>;
    void SetFlagged(FlaggedOf flagged) { m_Flagged = std::move(flagged); }

    // Lists the measurements of `tests` (test indices, in the order given). With `severalSelected`
    // only single readings are listed and no row shows a check box.
    void Fill(const std::vector<int>& tests, bool severalSelected);
    void Clear();
    // Rewrites the texts and check marks without changing the rows.
    void RefreshRows();
    // Repaints the rows' marks of readings that do not fit (colour and tip) after they changed.
    void RefreshMarks();

    const std::vector<Row>& Rows() const { return m_rows; }
    // The listed rows as tab-separated text, the header line first (for the clipboard).
    QString TableText() const;
    bool ShowsChecks() const { return !m_bSeveralSelected; }

    // Image index of a measurement's row (0..7, odd: not an ordinary reading).
    static int IconIndex(const trv::PCMDataType& m);
    // The step-duration cell of a measurement of `test`.
    static QString DurationText(const trv::TestDataType& test, const trv::PCMDataType& m);
    // The load cell, in the test's unit, with the compensated load (`compensated`, from the
    // test's evaluation) in front for a shortened step.
    static QString LoadText(const trv::TestDataType& test, const trv::PCMDataType& m, double compensated);
    static QString CellText(const trv::TestDataType& test, const trv::PCMDataType& m, int column, double compensated);
    // Header of the load column for a load unit: "v [km/h]", "v [m/s]" or "P [W]".
    static QString LoadHeader(int loadUnit);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    // A click on a row's check box; the view applies its rules.
    void checkChangeRequested(int row, bool checked);
    // A cell edit was stored in the measurement of `row`: the document is modified; with `refill`
    // the list is to be filled again from the document.
    void measurementEdited(int row, bool refill);
    // A typed value was not taken (the record keeps its value); `reason` says why, in German.
    void editRefused(int row, int column, const QString& reason);

private:
    trv::CTRVDoc* m_pDoc;
    Editor m_Editor;
    trv::CompensatedLoadOf m_Compensated;
    FlaggedOf m_Flagged;
    // Cells that show the text as typed until the list is filled again (heart rate).
    std::map<std::pair<int, int>, QString> m_Typed;
    std::vector<Row> m_rows;
    bool m_bSeveralSelected = false;
    int m_nHeaderUnit = -1;  // -1: the column keeps "P [W]"
};
