#include "Dialog.h"

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_nIDTemplate(templateId), m_pParentWnd(parent), m_bEnded(false), m_nResult(-1), m_pCurrentEvent(nullptr)
{
}

CDialog::~CDialog() {}

BOOL CDialog::OnInitDialog()
{
    CDataExchange dx(this);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnEvent(DialogEvent& event)
{
    if (event.kind == EventKind::Command && event.code == BN_CLICKED) {
        if (event.id == IDOK) {
            event.handled = true;
            OnOK();
        } else if (event.id == IDCANCEL) {
            event.handled = true;
            OnCancel();
        }
    }
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (!control.GetSafeHwnd())
        control.Attach(pDX->m_pDlgWnd->GetDlgItem(id));
}
