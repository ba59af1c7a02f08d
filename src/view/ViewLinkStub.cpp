// The device link of a program built without it: every command does nothing.
#include "ViewLink.h"

struct CViewLink::Impl {
    bool bt = false;
};

CViewLink::CViewLink(CTRVView*) : m_p(std::make_unique<Impl>()) {}
CViewLink::~CViewLink() = default;
bool CViewLink::Available() const { return false; }
void CViewLink::ReceiveData() {}
void CViewLink::DeviceSettings() {}
void CViewLink::ResetAnalyser() {}
void CViewLink::ToggleBtMode() { m_p->bt = !m_p->bt; }
bool CViewLink::BtMode() const { return m_p->bt; }
