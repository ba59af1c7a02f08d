#pragma once
// Tests that did not come from the analyser, as a document window takes them in: typed into "Test
// manuell erfassen", imported from a file or pasted from the clipboard. Each ends in one workspace
// command; the window refreshes what it changed.
#include "data/Records.h"

#include <cstdint>
#include <functional>
#include <string>

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
    void PasteReadings();
    // The import dialog on text read from a file or the clipboard.
    void ImportText(const std::string& bytes);
    // `nameId`: the command's name in the history (typed in or imported).
    void Add(const trv::TestDataType& test, int nameId);

private:
    QWidget* m_pParent;
    trv::CWorkspace& m_Ws;
    std::function<void(uint32_t)> m_Refresh;
};
