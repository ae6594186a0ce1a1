#pragma once

// A dialog laid out from a dialog resource of the language library: caption,
// client size and every control placed from dialog units, in the resource's
// tab order. Subclasses add their behaviour in OnInitDialog, OnOK and OnCancel.
//
// Each control's objectName is its id in decimal ("501"), so that code and
// tests can find it with Control<T>(id) or findChild<QWidget*>("501").
//
// Results: DoModal() runs the dialog and returns the program's result code:
// IDOK (1) after OnOK ended it, IDCANCEL (2) after Cancel, Escape or the close
// box, or the code a subclass handed to EndDialog. Result() keeps that code
// for dialogs run with open() or show(). exec() itself keeps Qt's meaning
// (QDialog::Accepted for every code but IDCANCEL, QDialog::Rejected for IDCANCEL),
// so accepted(), rejected() and finished() behave as Qt users expect.

#include "resources/ResourceAbi.h"

#include <QDialog>
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

class CResourceHandle;
class QListWidget;
class QListWidgetItem;

class ResourceDialog : public QDialog {
    Q_OBJECT

public:
    // Creates the widget for one control; null lets the dialog create its
    // usual widget for the control's kind. The widget is given its parent,
    // geometry and name afterwards.
    using ControlFactory = std::function<QWidget*(const MxControlResource& control)>;

    struct ControlEntry {
        int id = 0;
        QWidget* widget = nullptr;
    };

    // A dialog resource that the library does not have gives an empty dialog
    // (written to the debug output).
    ResourceDialog(const CResourceHandle& resources, int dialogId, QWidget* parent = nullptr,
                   ControlFactory factory = {});
    ~ResourceDialog() override;

    int DialogId() const { return m_nDialogId; }

    // Runs the dialog modally and returns Result().
    int DoModal();
    // The code the dialog ended with; 0 while it has not ended.
    int Result() const { return m_nResult; }

    // The first control with this id in tab order that is a T, or null.
    template <typename T = QWidget>
    T* Control(int id) const
    {
        for (const ControlEntry& entry : m_controls) {
            if (entry.id == id) {
                if (T* widget = qobject_cast<T*>(entry.widget))
                    return widget;
            }
        }
        return nullptr;
    }

    // Every control in tab order.
    const std::vector<ControlEntry>& Controls() const { return m_controls; }

    // Adds an entry with a check box to a list (a check list box of the resource).
    static QListWidgetItem* AddCheckItem(QListWidget* list, const QString& text, bool checked);

    // Dialog units to pixels of this dialog's font.
    QRect MapDialogRect(int x, int y, int cx, int cy) const;
    // The average character width and the character height of the dialog's font.
    QSize BaseUnits() const { return m_baseUnits; }

    void accept() final;
    void reject() final;
    void setVisible(bool visible) override;

protected:
    // Runs once, before the dialog is first shown.
    virtual void OnInitDialog() {}
    // OK (the IDOK button, Enter on the default button): ends with IDOK by default.
    virtual void OnOK() { EndDialog(1); }
    // Cancel, Escape, the close box: ends with IDCANCEL by default.
    virtual void OnCancel() { EndDialog(2); }

    void EndDialog(int result);

    // The dialog's font with a fixed pitch, the system's fixed-pitch face and
    // the given height in pixels: for lists whose texts are laid out in columns.
    QFont FixedPitchFont(int pixelHeight) const;

    // Like Control<T>, but never null: a control the resource lacks is stood in
    // for by a hidden widget of type T (written to the debug output), so the
    // dialog's logic runs unchanged.
    template <typename T>
    T* RequireControl(int id)
    {
        if (T* widget = Control<T>(id))
            return widget;
        auto* standIn = new T(this);
        AddStandIn(id, standIn);
        return standIn;
    }

private:
    void Build(const MxDialogResource& dialog, const ControlFactory& factory);
    QWidget* CreateControl(const MxControlResource& control);
    void AddStandIn(int id, QWidget* widget);

    int m_nDialogId = 0;
    int m_nResult = 0;
    bool m_bInitialised = false;
    QSize m_baseUnits;
    std::vector<ControlEntry> m_controls;
};
