#pragma once
// Tests that did not come from the analyser, as a document window takes them in: typed into "Test
// manuell erfassen", imported from a file or pasted from the clipboard. Each ends in one workspace
// command; the window refreshes what it changed.
#include "data/Records.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QString>

class QWidget;
namespace trv {
class CWorkspace;
}

class CEnteredTestActions {
public:
    // `parent` carries the dialogs and messages; `refresh` gets the command's change bits.
    CEnteredTestActions(QWidget* parent, trv::CWorkspace& ws, std::function<void(uint32_t)> refresh);

    void ManualTest();
    void ImportReadings();
    // Whole tests copied in a window of this program when the clipboard holds them, else the text.
    void PasteReadings();
    void PasteTests(const std::vector<uint8_t>& bytes);
    // Where the status line of a paste goes.
    void SetStatus(std::function<void(const QString&)> status) { m_Status = std::move(status); }
    // The import dialog on text read from a file or the clipboard.
    void ImportText(const std::string& bytes);
    // `nameId`: the command's name in the history (typed in or imported).
    void Add(const trv::TestDataType& test, int nameId);

private:
    QWidget* m_pParent;
    trv::CWorkspace& m_Ws;
    std::function<void(uint32_t)> m_Refresh;
    std::function<void(const QString&)> m_Status;
};
