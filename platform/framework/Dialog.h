// A modal dialog run from a resource template, and the typed events its
// window procedure unpacks from window messages.
#pragma once

#include "Wnd.h"

// What the window procedure makes of a window message before the dialog's
// message map sees it.
enum class EventKind { Paint, QueryDragIcon, CtlColor, Command };

struct DialogEvent {
    EventKind kind;
    UINT id;          // Command: control ID
    UINT code;        // Command: notification code
    CDC* dc;          // CtlColor: the control's device context
    CWnd* control;    // CtlColor: the control
    UINT ctlType;     // CtlColor: the kind of control colour
    UINT message;     // the system's message number, for default handling
    intptr_t result;  // what the handler answers (brush or icon)
    bool handled;     // false: the system's default handling runs
};

class CDialog;

// Binds control members to the template's controls.
class CDataExchange {
public:
    explicit CDataExchange(CDialog* dialog) : m_pDlgWnd(dialog) {}
    CDialog* m_pDlgWnd;
};

void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Creates the dialog, runs its modal loop and returns the value given to
    // EndDialog (-1 when the dialog cannot be created).
    intptr_t DoModal();
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    // Called by the modal loop for every message before it is dispatched;
    // the base hands it to the dialog manager (TRUE: consumed).
    virtual BOOL PreTranslateMessage(WindowMessage* msg);
    virtual void OnOK();
    virtual void OnCancel();

    // Routes one event: derived classes look in their message map first.
    virtual void OnEvent(DialogEvent& event);

    UINT TemplateId() const { return m_nIDTemplate; }
    bool IsEnded() const { return m_bEnded; }
    intptr_t Result() const { return m_nResult; }

protected:
    // Default handling of the event being routed, as the base class does it.
    BrushHandle OnCtlColor(CDC* dc, CWnd* control, UINT ctlType);
    void OnPaint();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    bool m_bEnded;
    intptr_t m_nResult;
    DialogEvent* m_pCurrentEvent;

    friend class DialogRouter;
};

// Entries of a dialog class's static message map: one typed handler each.
template <class T>
struct MessageMapEntry {
    EventKind kind;
    UINT code;
    UINT id;
    void (T::*onVoid)();
    IconHandle (T::*onIcon)();
    BrushHandle (T::*onCtlColor)(CDC*, CWnd*, UINT);
};

template <class T>
constexpr MessageMapEntry<T> OnPaintEntry(void (T::*handler)())
{
    return {EventKind::Paint, 0, 0, handler, nullptr, nullptr};
}

template <class T>
constexpr MessageMapEntry<T> OnQueryDragIconEntry(IconHandle (T::*handler)())
{
    return {EventKind::QueryDragIcon, 0, 0, nullptr, handler, nullptr};
}

template <class T>
constexpr MessageMapEntry<T> OnCtlColorEntry(BrushHandle (T::*handler)(CDC*, CWnd*, UINT))
{
    return {EventKind::CtlColor, 0, 0, nullptr, nullptr, handler};
}

template <class T>
constexpr MessageMapEntry<T> OnCommandEntry(UINT code, UINT id, void (T::*handler)())
{
    return {EventKind::Command, code, id, handler, nullptr, nullptr};
}

// Runs the first entry that matches the event; false when none does, so the
// caller falls back to its base class.
template <class T, size_t N>
bool DispatchMessageMap(T* self, const MessageMapEntry<T> (&map)[N], DialogEvent& event)
{
    for (const MessageMapEntry<T>& entry : map) {
        if (entry.kind != event.kind)
            continue;
        if (entry.kind == EventKind::Command && (entry.id != event.id || entry.code != event.code))
            continue;
        event.handled = true;
        switch (entry.kind) {
        case EventKind::Paint:
        case EventKind::Command:
            (self->*entry.onVoid)();
            break;
        case EventKind::QueryDragIcon:
            event.result = reinterpret_cast<intptr_t>((self->*entry.onIcon)());
            break;
        case EventKind::CtlColor:
            event.result = reinterpret_cast<intptr_t>(
                (self->*entry.onCtlColor)(event.dc, event.control, event.ctlType));
            break;
        }
        return true;
    }
    return false;
}
