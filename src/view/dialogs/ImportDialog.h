#pragma once
// "Messwerte importieren": a preview of spreadsheet text with the column roles the user can change.
#include "data/ImportMapping.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QTableWidget;
class QTableWidgetItem;

namespace trv {

class CImportDialog : public QDialog {
    Q_OBJECT
public:
    explicit CImportDialog(QWidget* parent = nullptr);

    // Reads the text; fails with a German message naming the line when it holds no table of readings.
    trv::Result Load(std::string_view bytes);

    const TestDataType& Test() const { return m_test; }
    QTableWidget* Preview() const { return m_pPreview; }
    QComboBox* RoleBox(int column) const;
    QLabel* Status() const { return m_pStatus; }
    QComboBox* TestTypeBox() const { return m_pTestType; }
    QComboBox* UnitBox() const { return m_pUnit; }

    void accept() override;

private:
    void FillPreview();
    // A cell of the preview corrected by the user: the table takes the text, the test is built again.
    void OnCellEdited(QTableWidgetItem* item);
    // Cells whose column cannot take their text are red and say why.
    void MarkRefusedCells();
    // Builds the test from the current choices; the status line says what would be taken or why not.
    bool Rebuild(std::vector<std::string>* questions = nullptr);

    ImportTable m_table;
    ImportMapping m_mapping;
    TestDataType m_test;
    QComboBox* m_pTestType;
    QComboBox* m_pUnit;
    QDateTimeEdit* m_pDate;
    QCheckBox* m_pDateFromFile;
    QLabel* m_pInfo;
    QTableWidget* m_pPreview;
    QLabel* m_pStatus;
    bool m_bFilling = false;                            // the dialog itself writes the cells
    const QTableWidgetItem* m_pFirstRefused = nullptr;  // the first red cell, if any
};

}  // namespace trv
