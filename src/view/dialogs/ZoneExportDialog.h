#pragma once
// "Zonen weitergeben": the zones of one test for GoldenCheetah (the athlete's config folder,
// remembered), for intervals.icu (the sport settings as JSON, to the clipboard or a file) and as the
// zone card (preview, print, PDF). A test without zones shows the reason and offers nothing.
#include "analysis/ThresholdMethods.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace trv {
class CTRVDoc;
}

class CZoneExportDialog : public QDialog {
    Q_OBJECT
public:
    CZoneExportDialog(const trv::CTRVDoc& doc, int test, const trv::TestThresholds& result, QWidget* parent = nullptr);

    // The actions of the buttons without their file dialogs; each tells its outcome in Status().
    bool WriteGoldenCheetah();
    void CopyIntervals();
    bool SaveIntervals(const QString& path);
    bool SaveCardPdf(const QString& path);

    QLineEdit* Folder() const { return m_pFolder; }
    QLabel* Status() const { return m_pStatus; }
    QPushButton* WriteButton() const { return m_pWrite; }

private:
    void Browse();
    void SaveIntervalsAs();
    void SaveCardAs();
    void PreviewCard();
    void PrintCard();
    void Tell(const QString& text, bool error);

    const trv::CTRVDoc& m_Doc;
    int m_nTest;
    trv::TestThresholds m_Result;
    QLineEdit* m_pFolder = nullptr;
    QPushButton* m_pWrite = nullptr;
    QLabel* m_pStatus = nullptr;
};
